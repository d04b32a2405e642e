#pragma once
#include <windows.h>

// The unhandled-exception filter: writes a minidump named after the
// executable, beside it, then lets the system's crash handling follow. A
// second crash after a dump ends the process at once.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

// Writes the richest minidump DbgHelp agrees to; the library is loaded only
// now, so a program that never crashes never loads it.
void WriteCrashDump(HANDLE hFile, EXCEPTION_POINTERS* pointers);
