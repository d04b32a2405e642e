#pragma once
#include <windows.h>

#include <string>

// Start-up steps whose work is not built yet. Each answers "not done", so the
// launch mode that reaches it ends there.

// The login window of a "/newgm" process; its dialog result.
INT_PTR RunLoginWindow();
// The game frame of "/newgm" and "/gmhall"; false when it cannot be made.
bool CreateGameFrame();
