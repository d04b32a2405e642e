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

// Starts a process of the program: idle priority, shown normally, nothing
// inherited. Returns its handle (the thread's is closed) or null; the
// process id goes to *processId when asked for.
void* StartProgramProcess(std::wstring commandLine, unsigned long* processId = nullptr);

// Starts "path" (the running executable when null) with no arguments, at idle
// priority, shown normally; failures are ignored.
void LaunchExecutable(const wchar_t* path = nullptr);

bool IsVistaOrLater();
