#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class LaunchMode {
    Install = 0,
    PortalShortcut = 1,
    GameShortcut = 2,
    InstalledRun = 3,
    Uninstall = 4,
    Update = 5,
    NewGameWindow = 6,
    GameHall = 7,
};

struct LaunchDecision {
    LaunchMode mode = LaunchMode::Install;
    int32_t parentWnd = 0;   // window handle of the starting primary window, as a number
    int32_t parentPages = 0; // its page count when it started this process
};

// args are the arguments after the executable path. exePath is the running
// executable's full path, commonFolder the installation folder; both are only
// consulted when no switch matches.
LaunchDecision DecideLaunchMode(const std::vector<std::wstring>& args,
                                const std::wstring& exePath,
                                const std::wstring& commonFolder);

// Reads a "/newgm" or "/gmhall" argument: its first character is skipped,
// whatever it is, and the rest is read as a decimal number. An argument longer
// than maxChars cannot come from our own command lines and reads as 0.
int32_t ReadSwitchNumber(const std::wstring* arg, size_t maxChars);

// Switches are ASCII; they compare whole, ignoring case.
bool SwitchEquals(const std::wstring& arg, const wchar_t* sw);

// True when path, upper-cased, contains folder, upper-cased, anywhere.
bool PathContainsFolder(const std::wstring& path, const std::wstring& folder);
