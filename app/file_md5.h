#pragma once
#include <memory>

// Fills buffer (64 characters) with the 32 lower-case hexadecimal digits of
// the file's MD5 digest and returns a copy of them; returns null, leaving the
// buffer untouched, when the file cannot be opened. A read error ends the
// input early.
std::unique_ptr<wchar_t[]> GetFileMd5(wchar_t buffer[64], const wchar_t* path);
