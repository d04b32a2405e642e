#pragma once
// Non-ASCII arguments reach the test programs as hexadecimal UTF-16 code
// units, four digits each, so they survive any code page of the command line.
#include <cwchar>
#include <string>

inline std::wstring DecodeHexArg(const wchar_t* hex)
{
    std::wstring text;
    for (const wchar_t* p = hex; p[0] && p[1] && p[2] && p[3]; p += 4) {
        const wchar_t digits[5] = {p[0], p[1], p[2], p[3], 0};
        text += static_cast<wchar_t>(std::wcstol(digits, nullptr, 16));
    }
    return text;
}
