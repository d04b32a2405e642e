#pragma once
#include <windows.h>

#include "logic/hotkey.h"

// The primary process's three keys, loaded by the primary window.
extern Hotkey g_hkBoss;
extern Hotkey g_hkSwitch;
extern Hotkey g_hkSound;
extern HHOOK g_hKeyboardHook;

// One entry of the local "Statistic.ini", or its default.
Hotkey ReadHotkey(const wchar_t* key, const wchar_t* defaultText);

// The modifier set the user-interface thread sees held now.
int CurrentModifiers();

// Boss and sound keys, whichever application has the focus; every key is
// passed on.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
