#include "app/self_update.h"

#include <windows.h>

#include <cstring>

#include "app/app_paths.h"
#include "app/file_md5.h"
#include "app/http_fetch.h"
#include "app/settings_store.h"
#include "app/velmor3_app.h"
#include "logic/operator_hosts.h"
#include "logic/product.h"
#include "logic/version_key.h"

namespace {

const wchar_t kConfigFile[] = L"ConfigPelux.htm";
const wchar_t kNewFile[] = L"NewPelux.exe";
const wchar_t kOldFile[] = L"OldPelux.exe";

std::string Narrow(const wchar_t* text)
{
    char buf[64] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
    return buf;
}

std::string FileDigest(const wchar_t* path)
{
    wchar_t hex[64] = {};
    return GetFileMd5(hex, path) ? Narrow(hex) : std::string();
}

void DeleteAtReboot(const std::wstring& path)
{
    ::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

} // namespace

std::string ComputeVersionKey()
{
    return ComposeVersionKey(FileDigest(ExePath().c_str()), PRODUCT_VERSION_ANSI);
}

bool CVelmor3App::FetchUpdateConfig(char key[64])
{
    std::wstring file;
    if (!PathBesideExe(kConfigFile, &file) ||
        !HttpGetToFile(STATS_URL(L"/update/ConfigPelux.htm"), file.c_str(), 512, nullptr))
        return false;
    wchar_t wideKey[64] = {};
    ::GetPrivateProfileStringW(L"VerKey", L"Pelux", L"", wideKey, 64, file.c_str());
    ::GetPrivateProfileStringW(L"VerKey", L"UpdAddr", L"", m_szUpdAddr, 512, file.c_str());
    ::DeleteFileW(file.c_str());
    const std::string narrow = Narrow(wideKey);
    std::memcpy(key, narrow.c_str(), narrow.size() + 1);
    std::memcpy(m_szUpdKey, narrow.c_str(), narrow.size() + 1);
    return true;
}

int CVelmor3App::CheckForUpdate(bool forced)
{
    if (!forced) {
        switch (DetectLaunchMode()) {
        case LaunchMode::Install:
        case LaunchMode::PortalShortcut:
        case LaunchMode::Uninstall:
        case LaunchMode::NewGameWindow:
            return 0;
        default:
            break;
        }
        if (!IsUpdateCheckDue())
            return 0;
    }
    char key[64] = {};
    if (!FetchUpdateConfig(key) || !key[0])
        return 0;
    // A build that cannot read its own file cannot tell whether it is current.
    const std::string own = ComputeVersionKey();
    if (own.empty())
        return 0;
    return SameVersionKey(key, own) ? 0 : 1;
}

bool CVelmor3App::RunUpdate()
{
    std::wstring newFile;
    std::wstring oldFile;
    const std::wstring exe = ExePath();
    if (!PathBesideExe(kNewFile, &newFile) || !PathBesideExe(kOldFile, &oldFile))
        return false;
    wcsncpy(m_dlgUpdate.m_szUrl, m_szUpdAddr, 511);
    wcsncpy(m_dlgUpdate.m_szFile, newFile.c_str(), 259);

    // Only the very build the configuration names may replace us: a cut,
    // damaged or substituted download is thrown away.
    const bool complete = m_dlgUpdate.DoModal() == IDOK &&
                          DigestMatchesKey(FileDigest(newFile.c_str()), m_szUpdKey, PRODUCT_VERSION_ANSI);
    if (!complete) {
        DeleteAtReboot(newFile);
        return false;
    }
    if (!::MoveFileExW(exe.c_str(), oldFile.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteAtReboot(newFile);
        return false;
    }
    if (!::MoveFileExW(newFile.c_str(), exe.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        // Put the running build back so that the program is never missing.
        ::MoveFileExW(oldFile.c_str(), exe.c_str(), MOVEFILE_REPLACE_EXISTING);
        DeleteAtReboot(newFile);
        return false;
    }
    DeleteAtReboot(oldFile);
    return true;
}

bool RestartForUpdate()
{
    HANDLE hProcess = StartProgramProcess(L"\"" + ExePath() + L"\" /update");
    if (!hProcess)
        return false;
    ::CloseHandle(hProcess);
    return true;
}
