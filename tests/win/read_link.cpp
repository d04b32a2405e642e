// Reads a shortcut back through the shell link object and prints, one per
// line in UTF-8: target path, arguments, icon path, icon index, description.
// usage: read_link LINK_PATH_HEX
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "hex_arg.h"
#include "link_fields.h"

namespace {

void PrintLine(const wchar_t* text)
{
    char utf8[4 * MAX_PATH] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring path = DecodeHexArg(argv[1]);
    if (FAILED(::CoInitialize(nullptr)))
        return 3;
    const LinkFields f = ReadLink(path);
    if (f.loaded) {
        PrintLine(f.target.c_str());
        PrintLine(f.args.c_str());
        PrintLine(f.icon.c_str());
        std::printf("%d\n", f.iconIndex);
        PrintLine(f.description.c_str());
    } else {
        std::printf("cannot load the shortcut\n");
    }
    ::CoUninitialize();
    return f.loaded ? 0 : 1;
}
