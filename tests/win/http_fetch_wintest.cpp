// Fetches through WinINet and the prefix's proxy setting, answered by the
// stand-in operator server. Arguments: the server's content root and its
// request log, as Windows paths.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/http_fetch.h"
#include "tests/check.h"

namespace {

std::wstring g_root;
std::wstring g_log;
std::wstring g_out;

std::string Pattern(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

void Serve(const std::wstring& relative, const std::string& bytes)
{
    std::wstring path = g_root + L"\\tj.8266tj.test\\" + relative;
    ::SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The request log line of the last request for this absolute URL (written
// without the default port).
std::string LoggedRequest(const std::string& url)
{
    std::ifstream in(g_log.c_str());
    std::string line, found;
    const std::string needle = "\"target\": \"" + url + "\"";
    while (std::getline(in, line)) {
        if (line.find(needle) != std::string::npos)
            found = line;
    }
    return found;
}

HWND MakeProgressBar()
{
    HWND hWnd = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_POPUP, 0, 0, 100, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ::SendMessageW(hWnd, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    return hWnd;
}

} // namespace

TEST(get_to_file_outcomes)
{
    const std::string body = Pattern(3000);
    Serve(L"files\\ok.bin", body);
    Serve(L"files\\err500.bin", "server trouble, but a body");
    Serve(L"files\\nolength.bin", body);
    Serve(L"files\\chunked.bin", body);
    Serve(L"files\\short.bin", body);
    Serve(L"files\\empty.bin", "");
    Serve(L"index.html", "home");
    std::ofstream((g_root + L"\\_rules.json").c_str())
        << "{\"tj.8266tj.test/files/err500.bin\": {\"status\": 500},"
           " \"tj.8266tj.test/files/nolength.bin\": {\"no_length\": true},"
           " \"tj.8266tj.test/files/chunked.bin\": {\"chunked\": true},"
           " \"tj.8266tj.test/files/short.bin\": {\"truncate\": 100}}";

    struct Row {
        const wchar_t* address;
        bool ok;
        bool fileExpected;
        std::string content;
        int progress; // -1: not checked
    } rows[] = {
        {L"http://tj.8266tj.test/files/ok.bin", true, true, body, 100},
        {L"http://tj.8266tj.test:8080/files/ok.bin", true, true, body, 100},
        {L"http://tj.8266tj.test/files/missing.bin", false, false, "", 0},
        {L"http://tj.8266tj.test/files/err500.bin", true, true, "server trouble, but a body", 100},
        {L"http://tj.8266tj.test/files/nolength.bin", false, false, "", 0},
        {L"http://tj.8266tj.test/files/chunked.bin", false, false, "", 0},
        {L"http://tj.8266tj.test/files/short.bin", false, true, body.substr(0, 100), 3},
        {L"http://tj.8266tj.test/files/empty.bin", true, true, "", 100},
        {L"http://tj.8266tj.test", true, true, "home", 100},
    };
    HWND hProgress = MakeProgressBar();
    for (const Row& r : rows) {
        const std::wstring out = g_out + L"\\fetched.bin";
        ::DeleteFileW(out.c_str());
        ::SendMessageW(hProgress, PBM_SETPOS, 0, 0);
        CHECK_EQ_AT(r.address, HttpGetToFile(r.address, out.c_str(), 512, hProgress), r.ok);
        CHECK_EQ_AT(r.address, Exists(out), r.fileExpected);
        if (r.fileExpected)
            CHECK_EQ_AT(r.address, ReadAll(out), r.content);
        CHECK_EQ_AT(r.address, static_cast<int>(::SendMessageW(hProgress, PBM_GETPOS, 0, 0)), r.progress);
    }
    ::DestroyWindow(hProgress);

    const std::string logged = LoggedRequest("http://tj.8266tj.test:8080/files/ok.bin");
    CHECK(!logged.empty());
    CHECK(logged.find("[\"User-Agent\", \"ZPA\"]") != std::string::npos);
    CHECK(logged.find("[\"Accept-Language\", \"zh-cn") != std::string::npos);
    CHECK(logged.find("[\"Content-Type\", \"application/x-www-form-urlencoded\"]") != std::string::npos);
    CHECK(!LoggedRequest("http://tj.8266tj.test/").empty());
}

TEST(ping_sends_only_plain_http)
{
    CHECK(HttpPing(L"HTTP://tj.8266tj.test/ping.htm?x=1"));
    CHECK(!LoggedRequest("http://tj.8266tj.test/ping.htm?x=1").empty());
    CHECK(!HttpPing(L"https://tj.8266tj.test/ping2.htm"));
    CHECK(LoggedRequest("https://tj.8266tj.test/ping2.htm").empty());
    // Over-long parts are refused, not cut short and sent.
    const std::wstring longObject = L"http://tj.8266tj.test/" + std::wstring(512, L'p');
    CHECK(!HttpPing(longObject.c_str()));
    CHECK(LoggedRequest("http://tj.8266tj.test/ppppp").empty());
    const std::wstring longHost = L"http://" + std::wstring(260, L'h') + L"/x";
    CHECK(!HttpPing(longHost.c_str()));
}

TEST(small_text_is_read_in_the_ansi_code_page)
{
    // "公告" in GBK, the code page of a Chinese system.
    Serve(L"notice\\short.txt", std::string("\xB9\xAB\xB8\xE6|ok"));
    Serve(L"notice\\limit.txt", Pattern(1023));
    Serve(L"notice\\big.txt", Pattern(1024));
    wchar_t text[1024] = {};
    CHECK(HttpGetSmallText(L"http://tj.8266tj.test/notice/short.txt", text));
    if (::GetACP() == 936)
        CHECK_EQ(std::wstring(text), std::wstring(L"\u516C\u544A|ok"));
    else
        std::printf("note: ANSI code page %u, not 936; conversion not compared\n", ::GetACP());
    wchar_t limit[1024] = {};
    CHECK(HttpGetSmallText(L"http://tj.8266tj.test/notice/limit.txt", limit));
    const std::string expected = Pattern(1023);
    CHECK_EQ(std::wstring(limit, 1023), std::wstring(expected.begin(), expected.end()));
    wchar_t big[1024] = {};
    CHECK(!HttpGetSmallText(L"http://tj.8266tj.test/notice/big.txt", big));
    CHECK_EQ(big[0], L'\0');
    CHECK(!HttpGetSmallText(L"http://tj.8266tj.test/notice/none.txt", big));
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::printf("usage: http_fetch_wintest ROOT LOG OUTDIR [filter]\n");
        return 2;
    }
    auto widen = [](const char* s) {
        wchar_t buf[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, s, -1, buf, MAX_PATH);
        return std::wstring(buf);
    };
    g_root = widen(argv[1]);
    g_log = widen(argv[2]);
    g_out = widen(argv[3]);
    char* rest[2] = {argv[0], argc > 4 ? argv[4] : nullptr};
    return check::RunAll(argc > 4 ? 2 : 1, rest);
}
