#include "flash_version.h"

#include "decimal.h"

const wchar_t kRequiredFlashVersion[] = L"10,3,102,64";

namespace {

// Takes the next component: the text before the first comma (the text then
// continues after it), or the whole text, which then stays as it is.
std::wstring NextComponent(std::wstring* text)
{
    const size_t comma = text->find(L',');
    if (comma == std::wstring::npos)
        return *text;
    std::wstring part = text->substr(0, comma);
    text->erase(0, comma + 1);
    return part;
}

} // namespace

bool IsFlashVersionNewer(const std::wstring& installed, const std::wstring& required)
{
    std::wstring a = installed, b = required;
    for (int i = 0; i < 4; ++i) {
        const int32_t x = ReadDecimal(NextComponent(&a).c_str());
        const int32_t y = ReadDecimal(NextComponent(&b).c_str());
        if (x != y)
            return x > y;
    }
    return false;
}
