#include "../../logic/hotkey.h"
#include "../check.h"

TEST(stored_hotkeys_read_as_modifiers_then_key)
{
    struct Row {
        const wchar_t* text;
        int modifiers;
        int vk;
    } rows[] = {
        {L"0,121", 0, 121},
        {L"2,9", 2, 9},
        {L"6,65", 6, 65},
        {L" 1, 120", 1, 120},
        {L"2,0", 2, 0},
        {L"4", 4, 0},        // no comma: modifiers alone, no key
        {L"", 0, 0},
        {L"x,y", 0, 0},      // not numbers
        {L"2,81,5", 2, 81},  // only the first comma splits
        {L"-3,7", -3, 7},
    };
    for (const Row& r : rows) {
        const Hotkey key = ParseHotkey(r.text);
        CHECK_EQ_AT(r.text, key.modifiers, r.modifiers);
        CHECK_EQ_AT(r.text, key.vk, r.vk);
    }
}

TEST(a_key_event_matches_only_with_exactly_the_modifiers)
{
    const Hotkey ctrlTab = ParseHotkey(L"2,9");
    CHECK(HotkeyMatches(ctrlTab, 9, MODBIT_CTRL));
    CHECK(!HotkeyMatches(ctrlTab, 9, MODBIT_CTRL | MODBIT_SHIFT));
    CHECK(!HotkeyMatches(ctrlTab, 9, 0));
    CHECK(!HotkeyMatches(ctrlTab, 10, MODBIT_CTRL));
    const Hotkey f10 = ParseHotkey(L"0,121");
    CHECK(HotkeyMatches(f10, 121, 0));
    CHECK(!HotkeyMatches(f10, 121, MODBIT_SHIFT));
    // Not loaded yet, or stored without a key: nothing matches.
    CHECK(!HotkeyMatches(Hotkey(), -1, -1));
    CHECK(!HotkeyMatches(ParseHotkey(L"2,0"), 0, MODBIT_CTRL));
}

CHECK_MAIN()
