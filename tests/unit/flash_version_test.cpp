#include "../../logic/flash_version.h"
#include "../check.h"

TEST(only_a_strictly_newer_player_is_recent)
{
    struct Row {
        const wchar_t* installed;
        bool recent;
    } rows[] = {
        {L"10,3,102,64", false},
        {L"10,3,102,65", true},
        {L"11,0,1,152", true},
        {L"10,2,999,999", false},
        {L"10,3,103,0", true},
        {L"9,9,999,999", false},
        {L"11", true},          // repeats: 11 > 10 at once
        {L"10", true},          // 10 = 10, then 10 > 3
        {L"10,3", false},       // 10, 3, then the 3 repeats: 3 < 102
        {L"", false},
        {L"abc", false},
        {L"10,3,102,64,1", false}, // a fifth component is never read
        {L" 12,0,0,0", true},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.installed, IsFlashVersionNewer(r.installed), r.recent);
}

CHECK_MAIN()
