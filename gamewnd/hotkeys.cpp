#include "gamewnd/hotkeys.h"

#include "app/settings_store.h"
#include "gamewnd/velmor3_dlg.h"

Hotkey g_hkBoss;
Hotkey g_hkSwitch;
Hotkey g_hkSound;
HHOOK g_hKeyboardHook = nullptr;

Hotkey ReadHotkey(const wchar_t* key, const wchar_t* defaultText)
{
    wchar_t text[32] = {};
    ::GetPrivateProfileStringW(kIniSection, key, defaultText, text, 32, LocalIni().c_str());
    return ParseHotkey(text);
}

int CurrentModifiers()
{
    int modifiers = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        modifiers |= MODBIT_CTRL;
    if (::GetKeyState(VK_SHIFT) < 0)
        modifiers |= MODBIT_SHIFT;
    if (::GetKeyState(VK_MENU) < 0)
        modifiers |= MODBIT_ALT;
    return modifiers;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    CVelmor3Dlg* dlg = g_pGameWnd;
    if (dlg && !dlg->m_arrPageWnd.empty() && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        const int modifiers = CurrentModifiers();
        const int vk = static_cast<int>(reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode);
        if (HotkeyMatches(g_hkBoss, vk, modifiers))
            dlg->ToggleHideRestore();
        else if (HotkeyMatches(g_hkSound, vk, modifiers))
            dlg->m_bMuted = !dlg->m_bMuted;
    }
    return ::CallNextHookEx(g_hKeyboardHook, code, wParam, lParam);
}
