#include "app/self_delete.h"

#include <windows.h>

#include "app/app_paths.h"
#include "logic/self_delete_batch.h"

namespace {

// The executable's path in the ANSI code page, which the batch is written
// in. A path that the code page cannot spell would come out with "?"
// wildcards in it, and "del" would take those to mean other files: none then.
bool AnsiExePath(std::string* out)
{
    const std::wstring wide = ExePath();
    if (wide.empty())
        return false;
    char buf[MAX_PATH * 2] = {};
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buf, sizeof buf, nullptr, &lossy);
    if (n <= 1 || lossy || n > MAX_PATH)
        return false;
    *out = buf;
    return true;
}

} // namespace

int CountFilesInTree(const wchar_t* folder)
{
    if (!folder || !*folder)
        return 0;
    std::wstring pattern = folder;
    if (pattern.back() != L'\\')
        pattern += L'\\';
    const std::wstring base = pattern;
    pattern += L'*';
    WIN32_FIND_DATAW entry;
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return 1;
    int count = 0;
    do {
        if (wcscmp(entry.cFileName, L".") == 0 || wcscmp(entry.cFileName, L"..") == 0)
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += CountFilesInTree((base + entry.cFileName).c_str());
        else
            ++count;
    } while (::FindNextFileW(hFind, &entry));
    ::FindClose(hFind);
    return count;
}

int AppendTextFile(const char* path, const std::string& text)
{
    HANDLE hFile = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return -1;
    int result = -1;
    if (::SetFilePointer(hFile, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER ||
        ::GetLastError() == NO_ERROR) {
        DWORD written = 0;
        if (::WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            result = static_cast<int>(written);
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(hFile);
    ::SetLastError(error);
    return result;
}

void ScheduleSelfDelete()
{
    char temp[MAX_PATH] = {};
    const DWORD tempLength = ::GetTempPathA(MAX_PATH, temp);
    if (tempLength == 0 || tempLength >= MAX_PATH)
        return;
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(temp, "DelSelf", 0, name) || strlen(name) + 4 >= MAX_PATH)
        return;
    const std::string batch = std::string(name) + ".bat";
    std::string exe;
    if (!AnsiExePath(&exe))
        return;
    const std::wstring folder = ExePath().substr(0, ExePath().rfind(L'\\'));
    const std::string text = SelfDeleteBatchText(exe, batch, CountFilesInTree(folder.c_str()));
    if (text.empty() || AppendTextFile(batch.c_str(), text) != static_cast<int>(text.size()))
        return;
    std::string command = "\"" + batch + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return;
    ::SetThreadPriority(pi.hThread, THREAD_PRIORITY_IDLE);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}
