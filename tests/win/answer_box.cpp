// Plays the user in front of a dialog of another process: waits for a visible
// dialog with the given title, then clicks the given button id, closes it
// ("close"), or, for the game window itself, posts the caption close button's
// request ("sysclose"). Message boxes and the game window share their title:
// the game window is the one with the "登录其他账号" link (control 1005).
// usage: answer_box TITLE_HEX ID|close|sysclose
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "hex_arg.h"

namespace {

const int kGameWindowLink = 1005;

struct Search {
    std::wstring title;
    int childId; // the dialog must have this child; 0: must not be the game window
    HWND found;
};

BOOL CALLBACK Match(HWND hWnd, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    wchar_t className[16] = {};
    wchar_t title[128] = {};
    ::GetClassNameW(hWnd, className, 16);
    ::GetWindowTextW(hWnd, title, 128);
    if (std::wcscmp(className, L"#32770") != 0 || search->title != title || !::IsWindowVisible(hWnd))
        return TRUE;
    const bool fits = search->childId ? ::GetDlgItem(hWnd, search->childId) != nullptr
                                      : ::GetDlgItem(hWnd, kGameWindowLink) == nullptr;
    if (!fits)
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring action = argv[2];
    Search search = {DecodeHexArg(argv[1]), 0, nullptr};
    if (action == L"sysclose")
        search.childId = kGameWindowLink;
    else if (action != L"close")
        search.childId = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    for (int i = 0; i < 6000 && !search.found; ++i) {
        ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            ::Sleep(10);
    }
    if (!search.found) {
        std::printf("no dialog with that title and control\n");
        return 1;
    }
    if (action == L"close") {
        ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    } else if (action == L"sysclose") {
        ::PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        HWND hButton = ::GetDlgItem(search.found, search.childId);
        ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(search.childId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hButton));
    }
    return 0;
}
