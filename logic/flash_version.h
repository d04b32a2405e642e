#pragma once
#include <string>

// The Flash Player the game needs is newer than this one.
extern const wchar_t kRequiredFlashVersion[]; // "10,3,102,64"

// Compares four comma-separated components in turn. A text with fewer
// components repeats its last one; a component without digits reads 0.
// Only a strictly greater version counts as newer.
bool IsFlashVersionNewer(const std::wstring& installed, const std::wstring& required = kRequiredFlashVersion);
