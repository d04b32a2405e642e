#pragma once
#include <string>

// A key plus the modifier keys that must be held with it, exactly.
const int MODBIT_ALT = 1;
const int MODBIT_CTRL = 2;
const int MODBIT_SHIFT = 4;

struct Hotkey {
    int vk = -1; // no key event has a negative code: matches nothing
    int modifiers = -1;
};

// The stored form "modifiers,key" in decimal; text without a comma is the
// modifier set alone, with key 0 (no key).
Hotkey ParseHotkey(const std::wstring& text);

// The event's key is the hotkey's and the held modifiers are exactly its set.
bool HotkeyMatches(const Hotkey& hotkey, int vk, int heldModifiers);
