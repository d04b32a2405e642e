#include "../../logic/launch_mode.h"
#include "../check.h"

namespace {

const std::wstring kCommon = L"C:\\ProgramData\\8266\\RudiDuzuv";
const std::wstring kInstalled = L"C:\\ProgramData\\8266\\RudiDuzuv\\Pelux.exe";
const std::wstring kElsewhere = L"C:\\Users\\me\\Downloads\\Pelux.exe";

} // namespace

TEST(switches_pick_their_mode_ignoring_case_and_whole)
{
    struct Row {
        std::vector<std::wstring> args;
        std::wstring exe;
        LaunchMode mode;
    } rows[] = {
        {{L"/web8266D"}, kElsewhere, LaunchMode::PortalShortcut},
        {{L"/WEB8266d"}, kElsewhere, LaunchMode::PortalShortcut},
        {{L"/PeluxD"}, kElsewhere, LaunchMode::GameShortcut},
        {{L"/pElUxd"}, kInstalled, LaunchMode::GameShortcut},
        {{L"/uninst"}, kInstalled, LaunchMode::Uninstall},
        {{L"/UPDATE"}, kInstalled, LaunchMode::Update},
        {{L"/newgm", L"/1", L"/0"}, kInstalled, LaunchMode::NewGameWindow},
        {{L"/gmhall", L"/1"}, kInstalled, LaunchMode::GameHall},
        // further characters after a switch: no switch, so the location decides
        {{L"/PeluxDX"}, kElsewhere, LaunchMode::Install},
        {{L"/PeluxDX"}, kInstalled, LaunchMode::InstalledRun},
        {{L"/Pelux"}, kInstalled, LaunchMode::InstalledRun},
        {{L"PeluxD"}, kElsewhere, LaunchMode::Install},
        {{L""}, kInstalled, LaunchMode::InstalledRun},
        {{L"/newgmx", L"/5", L"/1"}, kElsewhere, LaunchMode::Install},
        // only the first argument is a switch
        {{L"x", L"/uninst"}, kElsewhere, LaunchMode::Install},
        {{}, kInstalled, LaunchMode::InstalledRun},
        {{}, kElsewhere, LaunchMode::Install},
    };
    for (const Row& r : rows) {
        const LaunchDecision d = DecideLaunchMode(r.args, r.exe, kCommon);
        CHECK_EQ_AT(r.args.empty() ? std::wstring(L"(none)") : r.args[0], static_cast<int>(d.mode),
                    static_cast<int>(r.mode));
    }
}

TEST(location_test_is_an_upper_cased_substring_test)
{
    struct Row {
        std::wstring exe;
        LaunchMode mode;
    } rows[] = {
        {L"c:\\programdata\\8266\\rudiduzuv\\pelux.exe", LaunchMode::InstalledRun},
        {L"C:\\PROGRAMDATA\\8266\\RUDIDUZUV\\Other name.exe", LaunchMode::InstalledRun},
        // the folder further along the path still counts as inside
        {L"D:\\backup\\C:\\ProgramData\\8266\\RudiDuzuv\\x\\Pelux.exe", LaunchMode::InstalledRun},
        // merely resembling folders do not
        {L"C:\\ProgramData\\8266\\RudiDuzu\\Pelux.exe", LaunchMode::Install},
        {L"C:\\ProgramData\\8266 RudiDuzuv\\Pelux.exe", LaunchMode::Install},
        {L"D:\\ProgramData\\8266\\RudiDuzuv\\Pelux.exe", LaunchMode::Install},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.exe, static_cast<int>(DecideLaunchMode({}, r.exe, kCommon).mode),
                    static_cast<int>(r.mode));
    CHECK_EQ(static_cast<int>(DecideLaunchMode({}, kInstalled, L"").mode),
             static_cast<int>(LaunchMode::Install));
}

TEST(newgm_and_gmhall_read_handle_and_page_count)
{
    struct Row {
        std::vector<std::wstring> args;
        int32_t parent;
        int32_t pages;
    } rows[] = {
        {{L"/newgm", L"/1234", L"/2"}, 1234, 2},
        {{L"/newgm", L"X1234", L"#2"}, 1234, 2}, // the first character is skipped whatever it is
        {{L"/newgm", L"1234", L"2"}, 234, 0},    // ... even when it is a digit
        {{L"/newgm", L"/12ab", L"/-3"}, 12, -3},
        {{L"/newgm", L"/abc", L"/"}, 0, 0},
        {{L"/newgm", L"/1234"}, 1234, 0},
        {{L"/newgm"}, 0, 0},
        {{L"/newgm", L"/12345678901234", L"/123456"}, INT32_MAX, 123456}, // 15 and 7 characters
        {{L"/newgm", L"/123456789012345", L"/1234567"}, 0, 0},            // longer: refused
        {{L"/gmhall", L"/4321", L"/9"}, 4321, 0},
        {{L"/NEWGM", L"/66", L"/1"}, 66, 1},
    };
    for (const Row& r : rows) {
        const LaunchDecision d = DecideLaunchMode(r.args, kElsewhere, kCommon);
        const std::wstring label = r.args.size() > 1 ? r.args[1] : L"(missing)";
        CHECK_EQ_AT(label, d.parentWnd, r.parent);
        CHECK_EQ_AT(label, d.parentPages, r.pages);
    }
}

CHECK_MAIN()
