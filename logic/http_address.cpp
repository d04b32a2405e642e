#include "http_address.h"

#include "decimal.h"
#include "operator_hosts.h"

const wchar_t* const kOperatorDomains[3] = {L"8266.test", L"8266tj.test", L"8266cdn.test"};

namespace {

const wchar_t kScheme[] = L"http://";
const size_t kSchemeChars = 7;

wchar_t Lower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool HasHttpScheme(const std::wstring& address)
{
    if (address.size() < kSchemeChars)
        return false;
    for (size_t i = 0; i < kSchemeChars; ++i) {
        if (Lower(address[i]) != kScheme[i])
            return false;
    }
    return true;
}

bool EqualsIgnoringCase(const std::wstring& a, size_t offset, const wchar_t* b)
{
    size_t i = 0;
    for (; b[i]; ++i) {
        if (offset + i >= a.size() || Lower(a[offset + i]) != Lower(b[i]))
            return false;
    }
    return offset + i == a.size();
}

// Only a clean DNS name may be trusted: anything else ('@', '#', '?', '\\')
// can make a proxy or the network stack reach a different host.
bool IsDnsName(const std::wstring& host)
{
    if (host.empty())
        return false;
    for (wchar_t c : host) {
        const bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                        (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool SplitHttpAddress(const std::wstring& address, bool checkScheme, HttpAddress* out)
{
    if (checkScheme && !HasHttpScheme(address))
        return false;
    if (address.size() <= kSchemeChars)
        return false;
    const std::wstring rest = address.substr(kSchemeChars);
    const size_t slash = rest.find(L'/');
    std::wstring host = slash == std::wstring::npos ? rest : rest.substr(0, slash);
    std::wstring object = slash == std::wstring::npos ? std::wstring() : rest.substr(slash + 1);
    uint16_t port = 80;
    const size_t colon = host.find(L':');
    if (colon != std::wstring::npos) {
        port = static_cast<uint16_t>(ReadDecimal(host.c_str() + colon + 1));
        host.resize(colon);
    }
    if (host.empty() || host.size() > kMaxHostChars || object.size() > kMaxObjectChars)
        return false;
    out->host = host;
    out->port = port;
    out->object = object;
    return true;
}

bool IsTrustedUrl(const std::wstring& address)
{
    HttpAddress parts;
    if (!SplitHttpAddress(address, true, &parts) || !IsDnsName(parts.host))
        return false;
    for (const wchar_t* domain : kOperatorDomains) {
        if (EqualsIgnoringCase(parts.host, 0, domain))
            return true;
        const size_t n = std::wstring(domain).size();
        if (parts.host.size() > n + 1 && parts.host[parts.host.size() - n - 1] == L'.' &&
            EqualsIgnoringCase(parts.host, parts.host.size() - n, domain))
            return true;
    }
    return false;
}
