#pragma once
#include <string>

// Paths are limited to MAX_PATH - 1 characters throughout the program.
const size_t kMaxPathChars = 259;

// The running executable's full path; empty when it cannot be had.
std::wstring ExePath();

// The executable's folder (up to and including its last "\") followed by
// name; with no name, the executable's own path. False, with an empty path,
// when the executable path holds no "\" or the result would be too long.
bool PathBesideExe(const wchar_t* name, std::wstring* path);

// The all-users application data folder followed by "\8266\RudiDuzuv".
std::wstring CommonFolder();

// Starts "path" (the running executable when null) with no arguments, at idle
// priority, shown normally; failures are ignored.
void LaunchExecutable(const wchar_t* path = nullptr);

bool IsVistaOrLater();
