#include "app/install.h"

#include <windows.h>
#include <objbase.h>

#include <string>

#include "app/app_paths.h"
#include "app/self_delete.h"
#include "app/settings_store.h"
#include "app/shortcuts.h"
#include "app/usage_ping.h"
#include "logic/product.h"
#include "skin/message_box.h"

namespace {

// Creates the common folder one level at a time; existing levels are fine.
void CreateCommonFolder(const std::wstring& folder)
{
    const size_t rudi = folder.rfind(L'\\');
    if (rudi == std::wstring::npos)
        return;
    ::CreateDirectoryW(folder.substr(0, rudi).c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
}

} // namespace

bool InstallSelf()
{
    const HRESULT com = ::CoInitialize(nullptr);
    const std::wstring folder = CommonFolder();
    const std::wstring exe = ExePath();
    const size_t slash = exe.rfind(L'\\');
    if (!folder.empty() && slash != std::wstring::npos) {
        CreateCommonFolder(folder);
        const std::wstring target = folder + exe.substr(slash);
        if (target.size() <= kMaxPathChars) {
            if (_wcsicmp(target.c_str(), exe.c_str()) != 0)
                ::CopyFileW(exe.c_str(), target.c_str(), FALSE);
            CreateShortcuts(target);
            LaunchExecutable(target.c_str());
        }
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return true;
}

void UninstallSelf()
{
    DeleteProgramKey();
    RemoveShortcuts();
    ScheduleSelfDelete();
    SendUsagePing(UsagePingAddress(kUninstallPing, IncrementUsageCounter(L"UnInst")).c_str());
    ShowAppMessage(MB_OK, PRODUCT_TITLE,
                   L"8266青砚行记已成功移除，部分文件将在程序退出\r\n或计算机重启后自行删除", nullptr);
}
