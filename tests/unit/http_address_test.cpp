#include "../../logic/http_address.h"
#include "../check.h"

TEST(addresses_split_into_host_port_and_object)
{
    struct Row {
        std::wstring address;
        bool checkScheme;
        bool ok;
        std::wstring host;
        uint16_t port;
        std::wstring object;
    } rows[] = {
        {L"http://tj.8266tj.test/active.htm?tag=pelux&ver=3.0.1.2&count=1", true, true,
         L"tj.8266tj.test", 80, L"active.htm?tag=pelux&ver=3.0.1.2&count=1"},
        {L"http://host:8080/a/b", false, true, L"host", 8080, L"a/b"},
        {L"http://host:8080", false, true, L"host", 8080, L""},
        {L"http://host", false, true, L"host", 80, L""},
        {L"http://host/", false, true, L"host", 80, L""},
        {L"http://host:70000/x", false, true, L"host", 4464, L"x"}, // truncated to 16 bits
        {L"HTTP://Host/x", true, true, L"Host", 80, L"x"},
        {L"https://host/x", true, false, L"", 0, L""},
        {L"ftp://host/x", true, false, L"", 0, L""},
        // without the scheme test the first 7 characters are skipped unseen
        {L"xxxxxxxhost/x", false, true, L"host", 80, L"x"},
        {L"http://", false, false, L"", 0, L""},
        {L"http:///x", false, false, L"", 0, L""},
        {L"", true, false, L"", 0, L""},
    };
    for (const Row& r : rows) {
        HttpAddress a;
        const bool ok = SplitHttpAddress(r.address, r.checkScheme, &a);
        CHECK_EQ_AT(r.address, ok, r.ok);
        if (ok && r.ok) {
            CHECK_EQ_AT(r.address, a.host, r.host);
            CHECK_EQ_AT(r.address, a.port, r.port);
            CHECK_EQ_AT(r.address, a.object, r.object);
        }
    }
}

TEST(limits_refuse_rather_than_truncate)
{
    HttpAddress a;
    CHECK(SplitHttpAddress(L"http://" + std::wstring(259, L'h') + L"/x", false, &a));
    CHECK(!SplitHttpAddress(L"http://" + std::wstring(260, L'h') + L"/x", false, &a));
    CHECK(SplitHttpAddress(L"http://h/" + std::wstring(511, L'o'), false, &a));
    CHECK_EQ(a.object.size(), 511u);
    CHECK(!SplitHttpAddress(L"http://h/" + std::wstring(512, L'o'), false, &a));
}

TEST(trusted_only_on_operator_hosts)
{
    struct Row {
        const wchar_t* address;
        bool trusted;
    } rows[] = {
        {L"http://tj.8266tj.test/update/Pelux.exe", true},
        {L"http://8266.test/x", true},
        {L"http://cdn.8266cdn.test:8080/x", true},
        {L"http://DL.8266CDN.TEST/x", true},
        {L"HTTP://a.b.8266.test", true},
        {L"http://evil.test/x?u=tj.8266tj.test", false},  // domain only in the query
        {L"http://evil.test/8266.test/x", false},         // ... or in the path
        {L"http://evil8266.test/x", false},               // not a dot boundary
        {L"http://8266.test.evil.test/x", false},
        {L"http://x.8266.test@evil.test/x", false},
        {L"http://evil.test#.8266.test/x", false},
        {L"http://evil.test?.8266.test", false},
        {L"http://evil.test\\.8266.test/x", false},
        {L"http://.8266.test/x", false},
        {L"https://www.8266.test/x", false},
        {L"ftp://www.8266.test/x", false},
        {L"http://8266.testx/x", false},
        {L"", false},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.address, IsTrustedUrl(r.address), r.trusted);
}

CHECK_MAIN()
