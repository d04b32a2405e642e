#include "app/crash_dump.h"

#include <dbghelp.h>

#include "app/app_paths.h"

namespace {

bool g_bDumpWritten = false;

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

const MINIDUMP_TYPE kDumpTypes[] = {
    static_cast<MINIDUMP_TYPE>(MiniDumpWithDataSegs | MiniDumpWithHandleData | MiniDumpWithUnloadedModules |
                               MiniDumpWithPrivateReadWriteMemory | MiniDumpWithFullMemoryInfo |
                               MiniDumpWithThreadInfo),
    static_cast<MINIDUMP_TYPE>(MiniDumpWithDataSegs | MiniDumpWithHandleData | MiniDumpWithUnloadedModules |
                               MiniDumpWithPrivateReadWriteMemory),
    MiniDumpNormal,
};

} // namespace

void WriteCrashDump(HANDLE hFile, EXCEPTION_POINTERS* pointers)
{
    MINIDUMP_EXCEPTION_INFORMATION info = {};
    info.ThreadId = ::GetCurrentThreadId();
    info.ExceptionPointers = pointers;
    info.ClientPointers = TRUE;
    HMODULE hDbgHelp = ::LoadLibraryW(L"DbgHelp.dll");
    if (!hDbgHelp)
        return;
    auto writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
        reinterpret_cast<void*>(::GetProcAddress(hDbgHelp, "MiniDumpWriteDump")));
    if (writeDump) {
        for (MINIDUMP_TYPE type : kDumpTypes) {
            if (writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), hFile, type, &info, nullptr, nullptr))
                break;
        }
    }
    ::FreeLibrary(hDbgHelp);
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers)
{
    if (g_bDumpWritten)
        return EXCEPTION_EXECUTE_HANDLER;
    std::wstring path = ExePath();
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return EXCEPTION_CONTINUE_SEARCH;
    path.replace(dot, std::wstring::npos, L".dmp");
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        WriteCrashDump(hFile, pointers);
        ::CloseHandle(hFile);
    }
    g_bDumpWritten = true;
    return EXCEPTION_CONTINUE_SEARCH;
}
