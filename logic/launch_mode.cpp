#include "launch_mode.h"

#include <cwctype>

#include "decimal.h"

namespace {

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring Upper(const std::wstring& s)
{
    std::wstring out(s);
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towupper(c));
    return out;
}

const size_t kHandleChars = 15;
const size_t kCountChars = 7;

} // namespace

bool SwitchEquals(const std::wstring& arg, const wchar_t* sw)
{
    size_t i = 0;
    for (; sw[i]; ++i) {
        if (i >= arg.size() || AsciiUpper(arg[i]) != AsciiUpper(sw[i]))
            return false;
    }
    return i == arg.size();
}

int32_t ReadSwitchNumber(const std::wstring* arg, size_t maxChars)
{
    if (!arg || arg->empty() || arg->size() > maxChars)
        return 0;
    return ReadDecimal(arg->c_str() + 1);
}

bool PathContainsFolder(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty())
        return false;
    return Upper(path).find(Upper(folder)) != std::wstring::npos;
}

LaunchDecision DecideLaunchMode(const std::vector<std::wstring>& args,
                                const std::wstring& exePath,
                                const std::wstring& commonFolder)
{
    LaunchDecision d;
    auto argAt = [&](size_t i) { return i < args.size() ? &args[i] : nullptr; };
    if (!args.empty()) {
        const std::wstring& first = args[0];
        if (SwitchEquals(first, L"/web8266D")) {
            d.mode = LaunchMode::PortalShortcut;
            return d;
        }
        if (SwitchEquals(first, L"/PeluxD")) {
            d.mode = LaunchMode::GameShortcut;
            return d;
        }
        if (SwitchEquals(first, L"/uninst")) {
            d.mode = LaunchMode::Uninstall;
            return d;
        }
        if (SwitchEquals(first, L"/update")) {
            d.mode = LaunchMode::Update;
            return d;
        }
        if (SwitchEquals(first, L"/newgm")) {
            d.mode = LaunchMode::NewGameWindow;
            d.parentWnd = ReadSwitchNumber(argAt(1), kHandleChars);
            d.parentPages = ReadSwitchNumber(argAt(2), kCountChars);
            return d;
        }
        if (SwitchEquals(first, L"/gmhall")) {
            d.mode = LaunchMode::GameHall;
            d.parentWnd = ReadSwitchNumber(argAt(1), kHandleChars);
            return d;
        }
    }
    d.mode = PathContainsFolder(exePath, commonFolder) ? LaunchMode::InstalledRun
                                                       : LaunchMode::Install;
    return d;
}
