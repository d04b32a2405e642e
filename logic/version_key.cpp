#include "version_key.h"

#include <cctype>

namespace {

const size_t kKeyLength = 32;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

std::string VersionDigits(const std::string& versionText)
{
    std::string digits;
    for (char c : versionText) {
        if (c != '.')
            digits += c;
    }
    return digits;
}

std::string ComposeVersionKey(const std::string& hexDigest, const std::string& versionText)
{
    const std::string digits = VersionDigits(versionText);
    if (hexDigest.size() != kKeyLength || digits.size() >= kKeyLength)
        return std::string();
    return hexDigest.substr(0, kKeyLength - digits.size()) + digits;
}

bool SameVersionKey(const std::string& a, const std::string& b)
{
    return SameIgnoringCase(a, b);
}

bool DigestMatchesKey(const std::string& hexDigest, const std::string& key, const std::string& versionText)
{
    const size_t digits = VersionDigits(versionText).size();
    if (hexDigest.size() != kKeyLength || digits >= kKeyLength)
        return false;
    const size_t digestPart = kKeyLength - digits;
    if (key.size() < digestPart)
        return false;
    return SameIgnoringCase(hexDigest.substr(0, digestPart), key.substr(0, digestPart));
}
