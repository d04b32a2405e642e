#pragma once
#include <cstdint>
#include <string>

const size_t kMaxHostChars = 259;
const size_t kMaxObjectChars = 511;
const size_t kMaxAddressChars = 511;

struct HttpAddress {
    std::wstring host;
    uint16_t port = 80;
    std::wstring object; // path and query, without the leading "/"
};

// Takes "http://host[:port][/object]" apart. With checkScheme the address must
// begin with "http://" (any case); otherwise the first 7 characters are skipped
// unseen. Fails on an empty host and on a host or object beyond the limits,
// rather than sending a truncated request.
bool SplitHttpAddress(const std::wstring& address, bool checkScheme, HttpAddress* out);

// True only when the address is plain HTTP and its host is one of the
// operator's domains or a name below one (ignoring case). A domain that shows
// up only in the path or query does not count.
bool IsTrustedUrl(const std::wstring& address);
