// Shows the client's own message box with the given title, text and style,
// as the client shows it, and exits with the answer. A test lays a picture of
// this box over one the client showed, to see that the client's box says the
// same.
// usage: show_message TITLE_HEX TEXT_HEX STYLE
#include <windows.h>

#include <cwchar>

#include "framework/win_app.h"
#include "hex_arg.h"
#include "skin/message_box.h"

namespace {

CWinApp g_app;

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    const std::wstring title = DecodeHexArg(argv[1]);
    const std::wstring text = DecodeHexArg(argv[2]);
    const UINT style = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
    return ShowAppMessage(style, title.c_str(), text.c_str(), nullptr);
}
