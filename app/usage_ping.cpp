#include "usage_ping.h"

#include <cstdio>
#include <cwchar>

#include "app/http_fetch.h"
#include "app/velmor3_app.h"
#include "logic/http_address.h"
#include "logic/operator_hosts.h"
#include "logic/product.h"

const wchar_t kInstallPing[] = L"/install.htm?tag=pelux&ver=" PRODUCT_VERSION_TEXT;
const wchar_t kPortalPing[] = L"/active.htm?tag=web8266&ver=" PRODUCT_VERSION_TEXT;
const wchar_t kGamePing[] = L"/active.htm?tag=pelux&ver=" PRODUCT_VERSION_TEXT;
const wchar_t kUninstallPing[] = L"/uninstall.htm?tag=pelux&ver=" PRODUCT_VERSION_TEXT;

std::wstring UsagePingAddress(const wchar_t* pathAndQuery, uint32_t count)
{
    wchar_t buf[kMaxAddressChars + 1];
    const std::wstring base = STATS_URL(L"") + std::wstring(pathAndQuery);
    const int n = std::swprintf(buf, kMaxAddressChars + 1, L"%ls&count=%u", base.c_str(), count);
    return n > 0 ? std::wstring(buf, n) : std::wstring();
}

namespace {

struct PingRecord {
    const wchar_t* address;
    CVelmor3App* app;
};

} // namespace

DWORD WINAPI PingThreadProc(LPVOID param)
{
    const PingRecord* record = static_cast<const PingRecord*>(param);
    CVelmor3App* app = record->app;
    // An address that does not fit is not sent at all rather than cut short.
    wchar_t address[kMaxAddressChars + 1] = {};
    const size_t length = record->address ? wcslen(record->address) : 0;
    const bool fits = length > 0 && length <= kMaxAddressChars;
    if (fits)
        wmemcpy(address, record->address, length);
    ::SetEvent(app->m_hPingStarted);
    if (fits)
        HttpPing(address);
    ::SetEvent(app->m_hPingDone);
    return 0;
}

bool SendUsagePing(const wchar_t* address)
{
    CVelmor3App* app = &theApp;
    PingRecord record = {address, app};
    HANDLE hThread = ::CreateThread(nullptr, 0, &PingThreadProc, &record, 0, nullptr);
    if (!hThread) {
        // Nobody is left to signal: do it here so the waits still end.
        ::SetEvent(app->m_hPingDone);
        return true;
    }
    ::CloseHandle(hThread);
    ::WaitForSingleObject(app->m_hPingStarted, INFINITE);
    ::ResetEvent(app->m_hPingStarted);
    return true;
}
