#pragma once
#include <string>

// A build is named by a 32-character key: the leading digits of its file's
// lower-case hexadecimal MD5 digest followed by its version number without
// the dots ("3.0.1.2" gives "3012").
std::string VersionDigits(const std::string& versionText);

// The key of a file with the given 32-digit digest; empty when the digest is
// not 32 characters (the file could not be read).
std::string ComposeVersionKey(const std::string& hexDigest, const std::string& versionText);

// Keys compare ignoring the case of their hexadecimal digits.
bool SameVersionKey(const std::string& a, const std::string& b);

// Whether a downloaded file is the build a key names: the digest part of the
// key must equal the file's digest (ignoring case). A key too short to carry
// a whole digest part names nothing.
bool DigestMatchesKey(const std::string& hexDigest, const std::string& key,
                      const std::string& versionText);
