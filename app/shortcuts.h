#pragma once
#include <string>

// The program's four shortcuts: game and portal on the all-users desktop,
// game and uninstall in the "8266登录器" folder of the all-users start menu.
// COM must be initialised on the calling thread.

bool CreateShellLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* arguments,
                     int iconIndex, const wchar_t* description);
bool CreateDesktopShortcut(const wchar_t* target, const wchar_t* arguments, const wchar_t* name,
                           int iconIndex, const wchar_t* description);
bool CreateStartMenuShortcut(const wchar_t* name, const wchar_t* target, const wchar_t* arguments);
bool DeleteDesktopShortcut(const wchar_t* name);
bool DeleteStartMenuShortcut(const wchar_t* name);

// All four, in order, pointing at target.
void CreateShortcuts(const std::wstring& target);
// Initialises COM itself; removes the start-menu folder once it is empty.
bool RemoveShortcuts();
