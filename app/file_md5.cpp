#include "file_md5.h"

#include <cstdio>
#include <cwchar>

#include "logic/md5.h"

std::unique_ptr<wchar_t[]> GetFileMd5(wchar_t buffer[64], const wchar_t* path)
{
    FILE* fp = _wfopen(path, L"rb");
    if (!fp)
        return nullptr;
    Md5 md5;
    unsigned char block[1024];
    size_t got;
    while ((got = fread(block, 1, sizeof block, fp)) > 0)
        md5.Update(block, got);
    fclose(fp);
    uint8_t digest[16];
    md5.Final(digest);
    const std::wstring hex = DigestToHex(digest);
    wmemset(buffer, 0, 64);
    wmemcpy(buffer, hex.c_str(), hex.size());
    std::unique_ptr<wchar_t[]> copy(new wchar_t[64]);
    wmemcpy(copy.get(), buffer, 64);
    return copy;
}
