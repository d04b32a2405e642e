// Plays the user in front of a message box of another process: waits for a
// dialog with the given title, then clicks the given button id (or closes it).
// usage: answer_box TITLE_HEX ID|close
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "hex_arg.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring title = DecodeHexArg(argv[1]);
    HWND hBox = nullptr;
    for (int i = 0; i < 6000 && !hBox; ++i) {
        hBox = ::FindWindowW(L"#32770", title.c_str());
        if (!hBox || !::IsWindowVisible(hBox)) {
            hBox = nullptr;
            ::Sleep(10);
        }
    }
    if (!hBox) {
        std::printf("no dialog with that title\n");
        return 1;
    }
    if (std::wcscmp(argv[2], L"close") == 0) {
        ::PostMessageW(hBox, WM_CLOSE, 0, 0);
        return 0;
    }
    const int id = std::wcstol(argv[2], nullptr, 10);
    HWND hButton = ::GetDlgItem(hBox, id);
    if (!hButton) {
        std::printf("the dialog has no button %d\n", id);
        return 1;
    }
    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    return 0;
}
