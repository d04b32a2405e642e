#include "app/flash_check.h"

#include <windows.h>

#include <string>

#include "logic/flash_version.h"

bool IsFlashPlayerRecent()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Macromedia\\FlashPlayer", 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS)
        return false;
    wchar_t text[260 + 1] = {}; // 520 bytes, plus a terminator of our own
    DWORD size = 520;
    const LONG read = ::RegQueryValueExW(hKey, L"CurrentVersion", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(hKey);
    if (read != ERROR_SUCCESS || size > 520)
        return false;
    return IsFlashVersionNewer(std::wstring(text, size / sizeof(wchar_t)).c_str());
}
