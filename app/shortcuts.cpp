#include "app/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "app/self_delete.h"
#include "logic/operator_hosts.h"

namespace {

const wchar_t kGameName[] = L"8266青砚行记极速登录器";
const wchar_t kPortalName[] = L"8266网页游戏";
const wchar_t kUninstallName[] = L"卸载 8266青砚行记极速登录器";
const wchar_t kStartMenuFolder[] = L"8266登录器";
const wchar_t kPortalDescription[] = PORTAL_HOST L" 精品网页游戏，即点即玩";

bool SpecialFolder(int csidl, std::wstring* path)
{
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf)))
        return false;
    *path = buf;
    return true;
}

// Joins the parts into *out; false when the path would not fit MAX_PATH.
bool JoinPath(std::wstring* out, std::initializer_list<const wchar_t*> parts)
{
    std::wstring path;
    for (const wchar_t* part : parts)
        path += part;
    if (path.size() >= MAX_PATH)
        return false;
    *out = path;
    return true;
}

bool StartMenuFolder(std::wstring* folder)
{
    std::wstring programs;
    return SpecialFolder(CSIDL_COMMON_PROGRAMS, &programs) &&
           JoinPath(folder, {programs.c_str(), L"\\", kStartMenuFolder});
}

bool LinkPath(const std::wstring& folder, const wchar_t* name, std::wstring* link)
{
    return JoinPath(link, {folder.c_str(), L"\\", name, L".lnk"});
}

bool TargetExists(const wchar_t* target)
{
    return target && *target && ::GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES;
}

// A same-named shortcut on the user's own desktop would show twice.
void DeleteUserDesktopTwin(const std::wstring& commonDesktop, const wchar_t* name)
{
    std::wstring documents;
    if (!SpecialFolder(CSIDL_PERSONAL, &documents))
        return;
    const size_t profileEnd = documents.rfind(L'\\');
    const size_t desktopName = commonDesktop.rfind(L'\\');
    if (profileEnd == std::wstring::npos || desktopName == std::wstring::npos)
        return;
    const std::wstring userDesktop = documents.substr(0, profileEnd) + commonDesktop.substr(desktopName);
    std::wstring link;
    if (LinkPath(userDesktop, name, &link))
        ::DeleteFileW(link.c_str());
}

} // namespace

bool CreateShellLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* arguments,
                     int iconIndex, const wchar_t* description)
{
    if (!linkPath || !*linkPath)
        return false;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(target);
    link->SetIconLocation(target, iconIndex);
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        link->Release();
        return false;
    }
    link->SetArguments(arguments ? arguments : L"");
    if (description && *description)
        link->SetDescription(description);
    const bool saved = SUCCEEDED(file->Save(linkPath, TRUE));
    file->Release();
    link->Release();
    return saved;
}

bool CreateDesktopShortcut(const wchar_t* target, const wchar_t* arguments, const wchar_t* name,
                           int iconIndex, const wchar_t* description)
{
    if (!name || !*name || !TargetExists(target))
        return false;
    std::wstring desktop;
    if (!SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY, &desktop))
        return false;
    DeleteUserDesktopTwin(desktop, name);
    std::wstring link;
    return LinkPath(desktop, name, &link) &&
           CreateShellLink(link.c_str(), target, arguments, iconIndex, description);
}

bool CreateStartMenuShortcut(const wchar_t* name, const wchar_t* target, const wchar_t* arguments)
{
    if (!name || !*name || !TargetExists(target))
        return false;
    std::wstring folder;
    if (!StartMenuFolder(&folder))
        return false;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring link;
    return LinkPath(folder, name, &link) && CreateShellLink(link.c_str(), target, arguments, 0, nullptr);
}

bool DeleteDesktopShortcut(const wchar_t* name)
{
    std::wstring desktop;
    std::wstring link;
    return name && *name && SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY, &desktop) &&
           LinkPath(desktop, name, &link) && ::DeleteFileW(link.c_str());
}

bool DeleteStartMenuShortcut(const wchar_t* name)
{
    std::wstring folder;
    std::wstring link;
    return name && *name && StartMenuFolder(&folder) && LinkPath(folder, name, &link) &&
           ::DeleteFileW(link.c_str());
}

void CreateShortcuts(const std::wstring& target)
{
    CreateDesktopShortcut(target.c_str(), L"/PeluxD", kGameName, 0, kGameName);
    CreateDesktopShortcut(target.c_str(), L"/web8266D", kPortalName, 1, kPortalDescription);
    CreateStartMenuShortcut(kGameName, target.c_str(), L"/PeluxD");
    CreateStartMenuShortcut(kUninstallName, target.c_str(), L"/uninst");
}

bool RemoveShortcuts()
{
    const HRESULT com = ::CoInitialize(nullptr);
    DeleteDesktopShortcut(kPortalName);
    DeleteDesktopShortcut(kGameName);
    DeleteStartMenuShortcut(kGameName);
    DeleteStartMenuShortcut(kUninstallName);
    std::wstring folder;
    if (StartMenuFolder(&folder) && CountFilesInTree(folder.c_str()) == 0)
        ::RemoveDirectoryW(folder.c_str());
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return true;
}
