#pragma once
// Finds visible dialogs of any process by their title and a control they
// have. Message boxes and the game window share their title: the game window
// is the one with the "登录其他账号" link (control 1005).
#include <windows.h>

#include <cwchar>
#include <string>

const int kGameWindowLink = 1005;

// A visible dialog of that title.
inline bool IsVisibleDialog(HWND hWnd, const std::wstring& title)
{
    wchar_t className[16] = {};
    wchar_t text[128] = {};
    ::GetClassNameW(hWnd, className, 16);
    ::GetWindowTextW(hWnd, text, 128);
    return std::wcscmp(className, L"#32770") == 0 && title == text && ::IsWindowVisible(hWnd);
}

struct DialogSearch {
    std::wstring title;
    int childId; // the dialog must have this child; 0: any but the game window
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM param)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    if (!IsVisibleDialog(hWnd, search->title))
        return TRUE;
    const bool fits = search->childId ? ::GetDlgItem(hWnd, search->childId) != nullptr
                                      : ::GetDlgItem(hWnd, kGameWindowLink) == nullptr;
    if (!fits)
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

// Polls until such a dialog shows up or waitMs has passed; null then.
inline HWND FindDialog(const std::wstring& title, int childId, DWORD waitMs)
{
    DialogSearch search = {title, childId, nullptr};
    const DWORD start = ::GetTickCount();
    for (;;) {
        ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start >= waitMs)
            return search.found;
        ::Sleep(20);
    }
}
