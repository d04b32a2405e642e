#include "app_paths.h"

#include <windows.h>
#include <shlobj.h>

std::wstring ExePath()
{
    wchar_t buf[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::wstring();
    return std::wstring(buf, n);
}

bool PathBesideExe(const wchar_t* name, std::wstring* path)
{
    path->clear();
    std::wstring exe = ExePath();
    const size_t slash = exe.rfind(L'\\');
    if (slash == std::wstring::npos)
        return false;
    std::wstring result = (name && *name) ? exe.substr(0, slash + 1) + name : exe;
    if (result.size() > kMaxPathChars)
        return false;
    *path = result;
    return true;
}

std::wstring CommonFolder()
{
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)))
        return std::wstring();
    return std::wstring(buf) + L"\\8266\\RudiDuzuv";
}

void* StartProgramProcess(std::wstring commandLine, unsigned long* processId)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    if (commandLine.empty() || !::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                                                 IDLE_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
        return nullptr;
    ::CloseHandle(pi.hThread);
    if (processId)
        *processId = pi.dwProcessId;
    return pi.hProcess;
}

void LaunchExecutable(const wchar_t* path)
{
    const std::wstring target = path ? std::wstring(path) : ExePath();
    if (HANDLE hProcess = StartProgramProcess(L"\"" + target + L"\""))
        ::CloseHandle(hProcess);
}

bool IsVistaOrLater()
{
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    return ::GetVersionExW(&vi) && vi.dwMajorVersion > 5;
}
