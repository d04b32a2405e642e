#include "settings_store.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>

#include "app/app_paths.h"
#include "logic/decimal.h"
#include "logic/update_throttle.h"

const wchar_t kIniSection[] = L"Pelux";

namespace {

const wchar_t kProgramKey[] = L"Software\\8266\\RudiDuzuv\\Pelux";
const wchar_t kIeCacheKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";

class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey()
    {
        if (m_hKey)
            ::RegCloseKey(m_hKey);
    }
    bool Create(REGSAM access)
    {
        return ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, access, nullptr,
                                 &m_hKey, nullptr) == ERROR_SUCCESS;
    }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

uint32_t ReadDisableDays(HKEY hKey)
{
    uint8_t bytes[4] = {};
    DWORD size = sizeof bytes;
    if (::RegQueryValueExW(hKey, L"DisableDays", nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        std::memset(bytes, 0, sizeof bytes);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

UtcDay Today()
{
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    UtcDay d;
    d.year = now.wYear;
    d.month = now.wMonth;
    d.dayOfWeek = now.wDayOfWeek;
    d.day = now.wDay;
    return d;
}

} // namespace

std::wstring CommonIni()
{
    const std::wstring folder = CommonFolder();
    return folder.empty() ? folder : folder + L"\\Statistic.ini";
}

std::wstring LocalIni()
{
    std::wstring path;
    PathBesideExe(L"Statistic.ini", &path);
    return path;
}

uint32_t IncrementUsageCounter(const wchar_t* key)
{
    const std::wstring ini = CommonIni();
    wchar_t text[32] = L"0";
    if (!ini.empty())
        ::GetPrivateProfileStringW(kIniSection, key, L"0", text, 32, ini.c_str());
    const uint32_t value = static_cast<uint32_t>(ReadDecimal(text)) + 1u;
    // Without a folder there is no file to write; an empty name would mean
    // the system's own profile file.
    if (!ini.empty()) {
        wchar_t out[32];
        std::swprintf(out, 32, L"%u", value);
        ::WritePrivateProfileStringW(kIniSection, key, out, ini.c_str());
    }
    return value;
}

bool IsDisabledWeekday(int weekday)
{
    RegKey key;
    if (!key.Create(KEY_READ))
        return false;
    return IsWeekdayDisabled(ReadDisableDays(key.Get()), weekday);
}

bool IsUpdateCheckDue()
{
    RegKey key;
    if (!key.Create(KEY_READ))
        return false;
    uint8_t stamp[16] = {};
    DWORD size = sizeof stamp;
    if (::RegQueryValueExW(key.Get(), L"UpdTime", nullptr, nullptr, stamp, &size) != ERROR_SUCCESS)
        std::memset(stamp, 0, sizeof stamp);
    return IsUpdateCheckDueOn(UtcDayFromSystemTimeBytes(stamp), ReadDisableDays(key.Get()), Today());
}

bool StampUpdTime()
{
    RegKey key;
    if (!key.Create(KEY_WRITE))
        return false;
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    ::RegSetValueExW(key.Get(), L"UpdTime", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&now),
                     sizeof now);
    return true;
}

bool WriteDisableDays()
{
    RegKey key;
    if (!key.Create(KEY_WRITE))
        return false;
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    const uint32_t days = ComputeDisableDays(now.wMilliseconds);
    const BYTE bytes[4] = {static_cast<BYTE>(days), static_cast<BYTE>(days >> 8),
                           static_cast<BYTE>(days >> 16), static_cast<BYTE>(days >> 24)};
    ::RegSetValueExW(key.Get(), L"DisableDays", 0, REG_BINARY, bytes, sizeof bytes);
    return true;
}

bool SetIeCacheLimit()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kIeCacheKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return false;
    const DWORD limit = 0x100000;
    const bool written = ::RegSetValueExW(hKey, L"CacheLimit", 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&limit),
                                          sizeof limit) == ERROR_SUCCESS;
    const bool closed = ::RegCloseKey(hKey) == ERROR_SUCCESS;
    return written && closed;
}

bool DeleteProgramKey()
{
    return ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kProgramKey) == ERROR_SUCCESS;
}
