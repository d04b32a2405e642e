// Stands in for the web browser the shell starts for an "http" address:
// appends its command line to record_open.log beside itself and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int showCmd)
{
    wchar_t exe[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring log(exe, n);
    log = log.substr(0, log.rfind(L'\\') + 1) + L"record_open.log";
    HANDLE hFile = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    // One UTF-8 line: the show state, a tab, the command line.
    const std::wstring line = std::to_wstring(showCmd) + L"\t" + cmdLine + L"\n";
    char buf[4096];
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), buf,
                                            sizeof buf, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, buf, static_cast<DWORD>(bytes), &written, nullptr);
    ::CloseHandle(hFile);
    return 0;
}
