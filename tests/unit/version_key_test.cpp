#include "../../logic/version_key.h"
#include "../check.h"

namespace {
const char kDigest[] = "900150983cd24fb0d6963f7d28e17f72"; // MD5 of "abc"
}

TEST(key_is_the_digest_cut_to_make_room_for_the_version_digits)
{
    CHECK_EQ(VersionDigits("3.0.1.2"), std::string("3012"));
    CHECK_EQ(ComposeVersionKey(kDigest, "3.0.1.2"), std::string("900150983cd24fb0d6963f7d28e13012"));
    CHECK_EQ(ComposeVersionKey(kDigest, "10.20.3.4"), std::string("900150983cd24fb0d6963f7d28102034"));
    CHECK_EQ(ComposeVersionKey(kDigest, "3.0.1.2").size(), size_t(32));
    // An unreadable file has no digest and so no key.
    CHECK_EQ(ComposeVersionKey("", "3.0.1.2"), std::string());
    CHECK_EQ(ComposeVersionKey("900150983cd24fb0", "3.0.1.2"), std::string());
}

TEST(keys_compare_ignoring_case_only)
{
    struct Row {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"900150983cd24fb0d6963f7d28e13012", "900150983CD24FB0D6963F7D28E13012", true},
        {"900150983cd24fb0d6963f7d28e13012", "900150983cd24fb0d6963f7d28e13013", false},
        {"900150983cd24fb0d6963f7d28e13012", "900150983cd24fb0d6963f7d28e1301", false},
        {"", "", true},
        {"", "900150983cd24fb0d6963f7d28e13012", false},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.b, SameVersionKey(r.a, r.b), r.same);
}

TEST(a_download_must_carry_the_digest_its_key_names)
{
    struct Row {
        const char* digest;
        const char* key;
        bool match;
    } rows[] = {
        {kDigest, "900150983cd24fb0d6963f7d28e13012", true},
        {kDigest, "900150983CD24FB0D6963F7D28E13012", true},
        // Only the digest part counts: a key of another version number still
        // names this file.
        {kDigest, "900150983cd24fb0d6963f7d28e19999", true},
        {kDigest, "900150983cd24fb0d6963f7d28e1", true},
        {kDigest, "000150983cd24fb0d6963f7d28e13012", false},
        {kDigest, "900150983cd24fb0d6963f7d28e03012", false},
        {kDigest, "900150983cd24fb0d6963f7d28e", false},
        {kDigest, "", false},
        {"", "900150983cd24fb0d6963f7d28e13012", false},
        {"d41d8cd98f00b204e9800998ecf8427e", "900150983cd24fb0d6963f7d28e13012", false},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.key, DigestMatchesKey(r.digest, r.key, "3.0.1.2"), r.match);
}

CHECK_MAIN()
