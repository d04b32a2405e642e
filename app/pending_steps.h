#pragma once
#include <windows.h>

#include <string>

// Start-up steps whose work is not built yet. Each answers "not done", so the
// launch mode that reaches it ends there.

// Writes nothing yet; the system's own crash handling follows.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

bool InstallSelf();
void UninstallSelf();
// The four shortcuts, pointing at target; false when they were not written.
bool CreateShortcuts(const std::wstring& target);

// The primary game window, run modally.
void RunPrimaryGameWindow();
// The login window of a "/newgm" process; its dialog result.
INT_PTR RunLoginWindow();
// The game frame of "/newgm" and "/gmhall"; false when it cannot be made.
bool CreateGameFrame();
