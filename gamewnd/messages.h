#pragma once
// The messages the program's processes exchange; both sides include this.
#include <windows.h>

const UINT UM_TRAY_NOTIFY = WM_USER + 1;
const UINT UM_ATTACH_GAME_WND = WM_USER + 2; // wParam game window, lParam 1 for the game hall
const UINT UM_SHOW_TRAY_MENU = WM_USER + 3;
const UINT UM_HOTKEYS_CHANGED = WM_USER + 4;
const UINT UM_SET_MUTE = WM_USER + 5;   // wParam 1 sound off, 0 sound on
const UINT UM_ADD_ACCOUNT = WM_USER + 6; // wParam 1 new tab here, 0 new window
const UINT UM_RELOAD_HOTKEYS = WM_USER + 7;

// Marks a key or close message the program posted itself.
const LPARAM LPARAM_MARKER = 8266;

// The primary window is found by this text with the dialog class "#32770".
#define GAME_WINDOW_TITLE L"8266青砚行记"
