#include "../../logic/md5.h"
#include "../check.h"

namespace {

std::wstring Hex(const std::string& data, size_t pieces)
{
    Md5 md5;
    const size_t step = pieces ? (data.size() + pieces - 1) / pieces : data.size();
    for (size_t at = 0; at < data.size(); at += step)
        md5.Update(data.data() + at, std::min(step, data.size() - at));
    uint8_t digest[16];
    md5.Final(digest);
    return DigestToHex(digest);
}

} // namespace

TEST(rfc1321_vectors)
{
    struct Row {
        std::string data;
        const wchar_t* hex;
    } rows[] = {
        {"", L"d41d8cd98f00b204e9800998ecf8427e"},
        {"a", L"0cc175b9c0f1b6a831c399e269772661"},
        {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         L"57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Row& r : rows) {
        CHECK_EQ_AT(r.data, Hex(r.data, 1), std::wstring(r.hex));
        CHECK_EQ_AT(r.data, Hex(r.data, 7), std::wstring(r.hex)); // fed in pieces
    }
}

TEST(padding_boundaries)
{
    // 55, 56 and 64 bytes sit on the edges of the length padding.
    CHECK_EQ(Hex(std::string(55, 'a'), 1), std::wstring(L"ef1772b6dff9a122358552954ad0df65"));
    CHECK_EQ(Hex(std::string(56, 'a'), 1), std::wstring(L"3b0c8ac703f828b04c6c197006d17218"));
    CHECK_EQ(Hex(std::string(64, 'a'), 3), std::wstring(L"014842d480b571495a4a0363793f7367"));
}

CHECK_MAIN()
