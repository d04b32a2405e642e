// Shortcuts, file counting and appending on the real shell and file system.
// usage: install_wintest OUT_DIR
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "app/self_delete.h"
#include "app/shortcuts.h"
#include "link_fields.h"
#include "tests/check.h"

namespace {

std::wstring g_out;

std::wstring TargetPath()
{
    return g_out + L"\\目标.exe";
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring StartMenuFolder()
{
    return SpecialFolder(CSIDL_COMMON_PROGRAMS) + L"\\8266登录器";
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PutFile(const std::wstring& path, const std::string& bytes)
{
    FILE* fp = _wfopen(path.c_str(), L"wb");
    if (!fp)
        return;
    fwrite(bytes.data(), 1, bytes.size(), fp);
    fclose(fp);
}

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    FILE* fp = fopen(path.c_str(), "rb");
    if (!fp)
        return bytes;
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, fp)) > 0)
        bytes.append(buf, n);
    fclose(fp);
    return bytes;
}

} // namespace

TEST(shell_link_holds_what_it_was_given)
{
    const std::wstring target = TargetPath();
    PutFile(target, "MZ");
    const std::wstring link = g_out + L"\\链接.lnk";
    CHECK(CreateShellLink(link.c_str(), target.c_str(), L"/PeluxD", 1, L"描述"));
    const LinkFields f = ReadLink(link);
    CHECK(f.loaded);
    CHECK_EQ(f.target, target);
    CHECK_EQ(f.args, std::wstring(L"/PeluxD"));
    CHECK_EQ(f.icon, target);
    CHECK_EQ(f.iconIndex, 1);
    CHECK_EQ(f.description, std::wstring(L"描述"));
    CHECK(!CreateShellLink(nullptr, target.c_str(), L"", 0, nullptr));
    CHECK(!CreateShellLink(L"", target.c_str(), L"", 0, nullptr));
}

TEST(desktop_shortcut_needs_its_target_and_replaces_the_users_own)
{
    const std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    const std::wstring missing = TargetPath() + L".missing";
    CHECK(!CreateDesktopShortcut(missing.c_str(), L"/PeluxD", L"测试快捷方式", 0, L"x"));
    CHECK(!Exists(desktop + L"\\测试快捷方式.lnk"));

    // The user's own desktop: the documents folder's parent, then the
    // all-users desktop's last component.
    const std::wstring documents = SpecialFolder(CSIDL_PERSONAL);
    const std::wstring userDesktop = documents.substr(0, documents.rfind(L'\\')) +
                                     desktop.substr(desktop.rfind(L'\\'));
    ::CreateDirectoryW(userDesktop.c_str(), nullptr);
    const std::wstring twin = userDesktop + L"\\测试快捷方式.lnk";
    PutFile(twin, "old");
    CHECK(Exists(twin));
    const std::wstring target = TargetPath();
    PutFile(target, "MZ");
    CHECK(CreateDesktopShortcut(target.c_str(), L"/web8266D", L"测试快捷方式", 1, L"门户"));
    CHECK(!Exists(twin));
    const LinkFields f = ReadLink(desktop + L"\\测试快捷方式.lnk");
    CHECK_EQ(f.args, std::wstring(L"/web8266D"));
    CHECK_EQ(f.iconIndex, 1);
    CHECK(DeleteDesktopShortcut(L"测试快捷方式"));
    CHECK(!DeleteDesktopShortcut(L"测试快捷方式"));
    CHECK(!DeleteDesktopShortcut(L""));
}

TEST(removing_shortcuts_keeps_a_start_menu_folder_that_is_not_empty)
{
    const std::wstring target = TargetPath();
    PutFile(target, "MZ");
    CreateShortcuts(target);
    const std::wstring folder = StartMenuFolder();
    const std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    const wchar_t* const links[] = {L"\\8266青砚行记极速登录器.lnk", L"\\8266网页游戏.lnk"};
    for (const wchar_t* name : links)
        CHECK_EQ_AT(name, Exists(desktop + name), true);
    CHECK(Exists(folder + L"\\8266青砚行记极速登录器.lnk"));
    CHECK(Exists(folder + L"\\卸载 8266青砚行记极速登录器.lnk"));
    const LinkFields uninstall = ReadLink(folder + L"\\卸载 8266青砚行记极速登录器.lnk");
    CHECK_EQ(uninstall.args, std::wstring(L"/uninst"));
    CHECK_EQ(uninstall.iconIndex, 0);
    CHECK_EQ(uninstall.description, std::wstring());

    PutFile(folder + L"\\readme.txt", "kept");
    CHECK(RemoveShortcuts());
    for (const wchar_t* name : links)
        CHECK_EQ_AT(name, Exists(desktop + name), false);
    CHECK(!Exists(folder + L"\\8266青砚行记极速登录器.lnk"));
    CHECK(Exists(folder + L"\\readme.txt"));

    ::DeleteFileW((folder + L"\\readme.txt").c_str());
    CHECK(RemoveShortcuts());
    CHECK(!Exists(folder));
}

TEST(files_are_counted_through_the_whole_tree)
{
    const std::wstring root = g_out + L"\\tree";
    ::CreateDirectoryW(root.c_str(), nullptr);
    CHECK_EQ(CountFilesInTree(root.c_str()), 0);
    CHECK_EQ(CountFilesInTree((root + L"\\").c_str()), 0);
    PutFile(root + L"\\a.txt", "a");
    ::CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\sub\\empty").c_str(), nullptr);
    PutFile(root + L"\\sub\\b.txt", "b");
    PutFile(root + L"\\sub\\c.txt", "c");
    CHECK_EQ(CountFilesInTree(root.c_str()), 3);
    CHECK_EQ(CountFilesInTree((root + L"\\sub\\empty").c_str()), 0);
    // A folder that cannot be listed is never taken for empty.
    CHECK_EQ(CountFilesInTree((root + L"\\nothing-here").c_str()), 1);
    CHECK_EQ(CountFilesInTree(L""), 0);
    CHECK_EQ(CountFilesInTree(nullptr), 0);
}

TEST(append_adds_at_the_end_and_reports_the_bytes)
{
    char path[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, (g_out + L"\\append.bat").c_str(), -1, path, MAX_PATH, nullptr, nullptr);
    CHECK_EQ(AppendTextFile(path, "cd\\\r\n"), 5);
    CHECK_EQ(AppendTextFile(path, ""), 0);
    CHECK_EQ(AppendTextFile(path, "del x\r\n"), 7);
    CHECK_EQ(FileBytes(path), std::string("cd\\\r\ndel x\r\n"));
    const std::string missing = std::string(path) + "\\no\\such\\folder.bat";
    CHECK_EQ(AppendTextFile(missing.c_str(), "x"), -1);
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    wchar_t out[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, out, MAX_PATH);
    g_out = out;
    ::CoInitialize(nullptr);
    const int result = check::RunAll(1, argv);
    ::CoUninitialize();
    return result;
}
