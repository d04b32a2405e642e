#include "http_fetch.h"

#include <commctrl.h>

#include <memory>

#include "logic/http_address.h"

namespace {

const wchar_t kUserAgent[] = L"ZPA";
const wchar_t kExtraHeaders[] =
    L"Accept-Language: zh-cn \r\nContent-Type: application/x-www-form-urlencoded\r\n";

void CloseTransfer(HttpTransfer* t)
{
    for (std::atomic<HINTERNET>* handle : {&t->hRequest, &t->hConnect, &t->hInternet}) {
        if (HINTERNET h = handle->exchange(nullptr))
            ::InternetCloseHandle(h);
    }
}

// Closes the handles of a transfer when the fetch ends, however it ends.
class TransferScope {
public:
    explicit TransferScope(HttpTransfer* t) : m_pTransfer(t) {}
    ~TransferScope() { CloseTransfer(m_pTransfer); }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    HttpTransfer* m_pTransfer;
};

bool SendRequest(const wchar_t* address, bool checkScheme, HttpTransfer* t)
{
    HttpAddress parts;
    if (!address || !SplitHttpAddress(address, checkScheme, &parts))
        return false;
    // Each handle is stored before the cancel flag is looked at, so a cancel
    // either finds it in the record or is seen here.
    HINTERNET hInternet = ::InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    t->hInternet = hInternet;
    if (!hInternet || t->bCancelled)
        return false;
    HINTERNET hConnect = ::InternetConnectW(hInternet, parts.host.c_str(), parts.port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    t->hConnect = hConnect;
    if (!hConnect || t->bCancelled)
        return false;
    HINTERNET hRequest = ::HttpOpenRequestW(hConnect, L"GET", parts.object.c_str(), L"HTTP/1.1", nullptr,
                                            nullptr, INTERNET_FLAG_RELOAD, 0);
    t->hRequest = hRequest;
    if (!hRequest || t->bCancelled)
        return false;
    return ::HttpSendRequestW(hRequest, kExtraHeaders,
                              static_cast<DWORD>(sizeof kExtraHeaders / sizeof(wchar_t) - 1), nullptr,
                              0) != FALSE &&
           !t->bCancelled;
}

// A usable answer is anything but 404 that announces its Content-Length.
bool UsableLength(HINTERNET hRequest, DWORD* length)
{
    wchar_t status[16] = {};
    DWORD size = sizeof status;
    if (::HttpQueryInfoW(hRequest, HTTP_QUERY_STATUS_CODE, status, &size, nullptr) &&
        _wtoi(status) == 404)
        return false;
    DWORD value = 0;
    size = sizeof value;
    if (!::HttpQueryInfoW(hRequest, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                          nullptr) ||
        size != sizeof value)
        return false;
    *length = value;
    return true;
}

} // namespace

bool HttpPing(const wchar_t* address)
{
    HttpTransfer t;
    TransferScope scope(&t);
    return SendRequest(address, true, &t);
}

bool HttpGetToFile(const wchar_t* address, const wchar_t* path, DWORD chunkSize, HWND hProgress,
                   HttpTransfer* transfer)
{
    HttpTransfer local;
    HttpTransfer* t = transfer ? transfer : &local;
    TransferScope scope(t);
    DWORD length = 0;
    if (!SendRequest(address, false, t) || !UsableLength(t->hRequest, &length))
        return false;
    t->fpOut = _wfopen(path, L"wb");
    if (!t->fpOut)
        return false;
    std::unique_ptr<char[]> chunk(new char[chunkSize]);
    DWORD total = 0;
    for (;;) {
        DWORD got = 0;
        if (!::InternetReadFile(t->hRequest, chunk.get(), chunkSize, &got) || t->bCancelled)
            break;
        fwrite(chunk.get(), 1, got, t->fpOut);
        total += got;
        if (hProgress) {
            // 64-bit so that large files do not wrap; an empty body is complete.
            const DWORD percent = length ? static_cast<DWORD>(uint64_t(total) * 100 / length) : 100;
            ::SendMessageW(hProgress, PBM_SETPOS, percent, 0);
        }
        if (::InternetSetFilePointer(t->hRequest, static_cast<LONG>(total), nullptr, FILE_BEGIN, 0) == 0)
            break;
        if (got == 0)
            break;
    }
    fclose(t->fpOut);
    t->fpOut = nullptr;
    return total >= length && !t->bCancelled;
}

void CancelHttpTransfer(HttpTransfer* transfer)
{
    transfer->bCancelled = true;
    CloseTransfer(transfer);
}

bool HttpGetSmallText(const wchar_t* address, wchar_t out[1024])
{
    HttpTransfer t;
    TransferScope scope(&t);
    DWORD length = 0;
    if (!SendRequest(address, false, &t) || !UsableLength(t.hRequest, &length) || length >= 1024)
        return false;
    char body[1024];
    DWORD got = 0;
    if (!::InternetReadFile(t.hRequest, body, length, &got))
        return false;
    if (got > 0)
        ::MultiByteToWideChar(CP_ACP, 0, body, static_cast<int>(got), out, 1024);
    return true;
}
