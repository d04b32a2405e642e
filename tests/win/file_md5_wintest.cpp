// The file digest on real files in the temporary folder.
#include <windows.h>

#include <string>

#include "app/file_md5.h"
#include "tests/check.h"

namespace {

std::wstring WriteTemp(const wchar_t* name, const std::string& bytes)
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + name;
    FILE* fp = _wfopen(path.c_str(), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), fp);
    fclose(fp);
    return path;
}

std::string Pattern(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>(i % 251);
    return s;
}

} // namespace

TEST(digests_of_real_files)
{
    struct Row {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* hex;
    } rows[] = {
        {L"md5-empty.bin", "", L"d41d8cd98f00b204e9800998ecf8427e"},
        {L"md5-abc.bin", "abc", L"900150983cd24fb0d6963f7d28e17f72"},
        {L"md5-1024.bin", Pattern(1024), L"9ee0a0e0c0bc0f1ff29d663d1fdf0743"},
        {L"md5-1025.bin", Pattern(1025), L"3f3789452b88cb32b8cbfbafe715e29a"},
    };
    for (const Row& r : rows) {
        const std::wstring path = WriteTemp(r.name, r.bytes);
        wchar_t buffer[64];
        wmemset(buffer, L'#', 64);
        auto copy = GetFileMd5(buffer, path.c_str());
        CHECK_EQ_AT(r.name, copy != nullptr, true);
        CHECK_EQ_AT(r.name, std::wstring(buffer), std::wstring(r.hex));
        if (copy)
            CHECK_EQ_AT(r.name, std::wstring(copy.get()), std::wstring(r.hex));
        // The rest of the buffer is cleared, not left as it was.
        CHECK_EQ_AT(r.name, buffer[63], L'\0');
        ::DeleteFileW(path.c_str());
    }
}

TEST(missing_file_gives_none_and_leaves_the_buffer)
{
    wchar_t buffer[64];
    wmemset(buffer, L'#', 64);
    CHECK(GetFileMd5(buffer, L"C:\\no\\such\\file.bin") == nullptr);
    CHECK_EQ(buffer[0], L'#');
    CHECK_EQ(buffer[63], L'#');
}

CHECK_MAIN()
