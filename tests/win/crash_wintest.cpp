// The crash filter in a program of its own, since it writes beside the
// executable and acts once per process.
// usage: crash_wintest filter   - calls the filter twice on a captured context
//        crash_wintest crash    - installs the filter and dies of an access violation
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_paths.h"
#include "app/crash_dump.h"
#include "tests/check.h"

namespace {

std::wstring DumpPath()
{
    const std::wstring exe = ExePath();
    return exe.substr(0, exe.rfind(L'.')) + L".dmp";
}

std::string FileStart(const std::wstring& path, size_t n)
{
    std::string bytes;
    FILE* fp = _wfopen(path.c_str(), L"rb");
    if (!fp)
        return bytes;
    bytes.resize(n);
    bytes.resize(fread(&bytes[0], 1, n, fp));
    fclose(fp);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(first_crash_writes_a_minidump_and_a_second_writes_none)
{
    // An older dump of the same name is replaced, not appended to.
    FILE* fp = _wfopen(DumpPath().c_str(), L"wb");
    CHECK(fp != nullptr);
    if (fp) {
        fputs("stale stale stale", fp);
        fclose(fp);
    }
    CONTEXT context = {};
    ::RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    EXCEPTION_POINTERS pointers = {&record, &context};

    CHECK_EQ(CrashFilter(&pointers), static_cast<LONG>(EXCEPTION_CONTINUE_SEARCH));
    CHECK_EQ(FileStart(DumpPath(), 4), std::string("MDMP"));
    ::DeleteFileW(DumpPath().c_str());

    CHECK_EQ(CrashFilter(&pointers), static_cast<LONG>(EXCEPTION_EXECUTE_HANDLER));
    CHECK(!Exists(DumpPath()));
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "crash") == 0) {
        ::SetUnhandledExceptionFilter(&CrashFilter);
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 0;
    }
    return check::RunAll(1, argv);
}
