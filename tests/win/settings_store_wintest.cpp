// The settings store against the real registry and INI files of the prefix.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

#include "app/app_paths.h"
#include "app/flash_check.h"
#include "app/settings_store.h"
#include "logic/update_throttle.h"
#include "tests/check.h"

namespace {

const wchar_t kProgramKey[] = L"Software\\8266\\RudiDuzuv\\Pelux";
const wchar_t kIeCacheKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";

std::wstring ReadIni(const wchar_t* key)
{
    wchar_t buf[64] = {};
    ::GetPrivateProfileStringW(L"Pelux", key, L"(absent)", buf, 64, CommonIni().c_str());
    return buf;
}

void WriteIni(const wchar_t* key, const wchar_t* value)
{
    ::WritePrivateProfileStringW(L"Pelux", key, value, CommonIni().c_str());
}

void FreshCommonFolder()
{
    ::DeleteFileW(CommonIni().c_str());
    ::SHCreateDirectoryExW(nullptr, CommonFolder().c_str(), nullptr);
}

void SetBinary(const wchar_t* name, const void* data, DWORD size)
{
    HKEY hKey;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr);
    ::RegSetValueExW(hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(hKey);
}

bool GetBinary(const wchar_t* name, void* data, DWORD* size, DWORD* type)
{
    HKEY hKey;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    const bool ok = ::RegQueryValueExW(hKey, name, nullptr, type, static_cast<BYTE*>(data), size) == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
    return ok;
}

void DeleteCompanyKey()
{
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\8266");
}

SYSTEMTIME UtcNow()
{
    SYSTEMTIME st;
    ::GetSystemTime(&st);
    return st;
}

} // namespace

TEST(common_ini_lives_in_the_common_folder)
{
    wchar_t data[MAX_PATH];
    ::SHGetFolderPathW(nullptr, 0x23 /* CSIDL_COMMON_APPDATA */, nullptr, 0, data);
    CHECK_EQ(CommonIni(), std::wstring(data) + L"\\8266\\RudiDuzuv\\Statistic.ini");
    std::wstring exe = ExePath();
    CHECK_EQ(LocalIni(), exe.substr(0, exe.rfind(L'\\') + 1) + L"Statistic.ini");
    std::wstring self;
    CHECK(PathBesideExe(nullptr, &self));
    CHECK_EQ(self, exe);
    std::wstring tooLong;
    CHECK(!PathBesideExe(std::wstring(300, L'x').c_str(), &tooLong));
    CHECK(tooLong.empty());
}

TEST(counters_count_up_from_what_is_stored)
{
    FreshCommonFolder();
    CHECK_EQ(IncrementUsageCounter(L"Game"), 1u);
    CHECK_EQ(ReadIni(L"Game"), std::wstring(L"1"));
    CHECK_EQ(IncrementUsageCounter(L"Game"), 2u);
    CHECK_EQ(ReadIni(L"Game"), std::wstring(L"2"));
    // Each counter is its own key.
    CHECK_EQ(IncrementUsageCounter(L"8266"), 1u);
    CHECK_EQ(ReadIni(L"Game"), std::wstring(L"2"));

    struct Row {
        const wchar_t* stored;
        uint32_t next;
        const wchar_t* written;
    } rows[] = {
        {L"abc", 1, L"1"},
        {L"41", 42, L"42"},
        {L" 7x", 8, L"8"},
        {L"2147483647", 2147483648u, L"2147483648"},
        {L"4294967295", 2147483648u, L"2147483648"}, // read clamped, then one more
        {L"-5", 4294967292u, L"4294967292"},
    };
    for (const Row& r : rows) {
        WriteIni(L"Inst", r.stored);
        CHECK_EQ_AT(r.stored, IncrementUsageCounter(L"Inst"), r.next);
        CHECK_EQ_AT(r.stored, ReadIni(L"Inst"), std::wstring(r.written));
    }
}

TEST(counter_without_its_folder_stays_at_one)
{
    ::DeleteFileW(CommonIni().c_str());
    ::RemoveDirectoryW(CommonFolder().c_str());
    CHECK_EQ(IncrementUsageCounter(L"UnInst"), 1u);
    CHECK_EQ(IncrementUsageCounter(L"UnInst"), 1u);
    CHECK(::GetFileAttributesW(CommonIni().c_str()) == INVALID_FILE_ATTRIBUTES);
}

TEST(update_check_throttle_on_the_registry)
{
    DeleteCompanyKey();
    const SYSTEMTIME now = UtcNow();
    CHECK(IsUpdateCheckDue()); // nothing stored: due
    // The key is created by reading it.
    HKEY hKey;
    CHECK(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS);
    ::RegCloseKey(hKey);

    SYSTEMTIME today = now;
    today.wHour = static_cast<WORD>((now.wHour + 5) % 24); // only the date counts
    SetBinary(L"UpdTime", &today, sizeof today);
    CHECK(!IsUpdateCheckDue());

    SYSTEMTIME otherDay = now;
    otherDay.wDay = static_cast<WORD>(now.wDay == 1 ? 2 : now.wDay - 1);
    SetBinary(L"UpdTime", &otherDay, sizeof otherDay);
    CHECK(IsUpdateCheckDue());

    const BYTE disableToday[4] = {static_cast<BYTE>((now.wDayOfWeek + 1) % 7), static_cast<BYTE>(now.wDayOfWeek),
                                  static_cast<BYTE>((now.wDayOfWeek + 2) % 7), 0};
    SetBinary(L"DisableDays", disableToday, 4);
    CHECK(!IsUpdateCheckDue());
    CHECK(IsDisabledWeekday(now.wDayOfWeek));

    const BYTE disableOthers[4] = {static_cast<BYTE>((now.wDayOfWeek + 1) % 7),
                                   static_cast<BYTE>((now.wDayOfWeek + 2) % 7),
                                   static_cast<BYTE>((now.wDayOfWeek + 3) % 7), 0};
    SetBinary(L"DisableDays", disableOthers, 4);
    CHECK(IsUpdateCheckDue());
    CHECK(!IsDisabledWeekday(now.wDayOfWeek));

    const BYTE none[4] = {0, 0, 0, 0};
    SetBinary(L"DisableDays", none, 4);
    CHECK(!IsDisabledWeekday(0)); // all zero means nothing is disabled

    CHECK(StampUpdTime());
    BYTE stamp[32] = {};
    DWORD size = sizeof stamp, type = 0;
    CHECK(GetBinary(L"UpdTime", stamp, &size, &type));
    CHECK_EQ(size, 16ul);
    CHECK_EQ(type, static_cast<DWORD>(REG_BINARY));
    const UtcDay stamped = UtcDayFromSystemTimeBytes(stamp);
    const SYSTEMTIME after = UtcNow();
    CHECK_EQ(stamped.year, after.wYear);
    CHECK_EQ(stamped.day, after.wDay);
    CHECK(!IsUpdateCheckDue());
    DeleteCompanyKey();
}

TEST(disable_days_are_written_once_as_three_weekdays)
{
    DeleteCompanyKey();
    CHECK(WriteDisableDays());
    BYTE bytes[8] = {};
    DWORD size = sizeof bytes, type = 0;
    CHECK(GetBinary(L"DisableDays", bytes, &size, &type));
    CHECK_EQ(size, 4ul);
    CHECK_EQ(type, static_cast<DWORD>(REG_BINARY));
    const uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    bool producible = false;
    for (uint32_t ms = 0; ms < 1000 && !producible; ++ms)
        producible = ComputeDisableDays(ms) == value;
    CHECK(producible);
    CHECK_EQ(bytes[3], 0);
    DeleteCompanyKey();
}

TEST(ie_cache_limit_only_into_an_existing_key)
{
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kIeCacheKey);
    CHECK(!SetIeCacheLimit());
    HKEY hKey;
    CHECK(::RegOpenKeyExW(HKEY_CURRENT_USER, kIeCacheKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS);

    ::RegCreateKeyExW(HKEY_CURRENT_USER, kIeCacheKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr);
    ::RegCloseKey(hKey);
    CHECK(SetIeCacheLimit());
    DWORD value = 0xdeadbeef, size = sizeof value, type = 0;
    CHECK(::RegOpenKeyExW(HKEY_CURRENT_USER, kIeCacheKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS);
    CHECK(::RegQueryValueExW(hKey, L"CacheLimit", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    CHECK_EQ(type, static_cast<DWORD>(REG_DWORD));
    CHECK_EQ(value, 0x100000ul);
}

TEST(flash_player_version_from_the_registry)
{
    const wchar_t kFlashKey[] = L"SOFTWARE\\Macromedia\\FlashPlayer";
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kFlashKey);
    CHECK(!IsFlashPlayerRecent()); // no player at all: too old
    struct Row {
        std::wstring value;
        bool recent;
    } rows[] = {
        {L"10,3,102,64", false},
        {L"11,2,202,228", true},
        {L"11", true},
        {L"11," + std::wstring(300, L'0'), false}, // longer than 520 bytes: unread
    };
    for (const Row& r : rows) {
        HKEY hKey;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kFlashKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr);
        ::RegSetValueExW(hKey, L"CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(r.value.c_str()),
                         static_cast<DWORD>((r.value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(hKey);
        CHECK_EQ_AT(r.value.substr(0, 16), IsFlashPlayerRecent(), r.recent);
    }
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kFlashKey);
}

CHECK_MAIN()
