#pragma once
#include <cstdint>

// Reads text the way every number of the settings store is read: leading
// blanks skipped, an optional sign, then digits up to the first non-digit.
// No digits gives 0; values beyond the signed 32-bit range are clamped.
int32_t ReadDecimal(const wchar_t* text);
