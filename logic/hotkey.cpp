#include "hotkey.h"

#include "decimal.h"

Hotkey ParseHotkey(const std::wstring& text)
{
    Hotkey key;
    const size_t comma = text.find(L',');
    if (comma == std::wstring::npos) {
        key.modifiers = ReadDecimal(text.c_str());
        key.vk = 0;
    } else {
        key.modifiers = ReadDecimal(text.substr(0, comma).c_str());
        key.vk = ReadDecimal(text.substr(comma + 1).c_str());
    }
    return key;
}

bool HotkeyMatches(const Hotkey& hotkey, int vk, int heldModifiers)
{
    return hotkey.vk > 0 && vk == hotkey.vk && heldModifiers == hotkey.modifiers;
}
