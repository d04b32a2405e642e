#include "usage_ping.h"

#include <cwchar>

#include "app/http_fetch.h"
#include "app/velmor3_app.h"
#include "logic/http_address.h"

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
