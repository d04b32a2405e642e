// Plays the user in front of a dialog of another process: waits for a visible
// dialog with the given title, then clicks the given button id, closes it
// ("close"), or, for the game window itself, posts the caption close button's
// request ("sysclose"). Message boxes and the game window share their title:
// the game window is the one with the "登录其他账号" link (control 1005).
// usage: answer_box TITLE_HEX ID|close|sysclose
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "dialog_search.h"
#include "hex_arg.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring action = argv[2];
    int childId = 0;
    if (action == L"sysclose")
        childId = kGameWindowLink;
    else if (action != L"close")
        childId = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    // A first start in a fresh prefix on a busy machine can take a while.
    HWND hDialog = FindDialog(DecodeHexArg(argv[1]), childId, 120000);
    if (!hDialog) {
        std::printf("no dialog with that title and control\n");
        return 1;
    }
    if (action == L"close") {
        ::PostMessageW(hDialog, WM_CLOSE, 0, 0);
    } else if (action == L"sysclose") {
        ::PostMessageW(hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        HWND hButton = ::GetDlgItem(hDialog, childId);
        ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(childId, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    }
    return 0;
}
