#include "../../logic/label_matcher.h"
#include "../check.h"

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Plays a script against the matcher the way the primary window uses it and
// returns "pages | waiting labels". Login processes are one letter each, their
// keys "k" plus that letter:
//   start A   login A started      key A   A's key accepted
//   attach A  A's page attached    end A   A ended without a page
std::string Play(const std::string& script)
{
    LabelMatcher matcher;
    std::vector<std::string> pages;
    std::vector<std::string> waiting;
    std::istringstream in(script);
    std::string verb;
    std::string login;
    while (in >> verb >> login) {
        const uint32_t id = static_cast<uint32_t>(login[0]);
        if (verb == "start") {
            matcher.LoginStarted(id);
        } else if (verb == "key") {
            matcher.LabelAccepted();
            waiting.push_back("k" + login);
        } else if (verb == "attach") {
            const int k = matcher.PageAttached(id);
            pages.push_back(k < 0 ? "-" : waiting[k]);
            if (k >= 0)
                waiting.erase(waiting.begin() + k);
        } else if (verb == "end") {
            for (int k : matcher.LoginEnded(id))
                waiting.erase(waiting.begin() + k);
        }
        CHECK_EQ(matcher.WaitingLabels(), static_cast<int>(waiting.size()));
    }
    std::string out;
    for (const std::string& p : pages)
        out += p + " ";
    out += "|";
    for (const std::string& w : waiting)
        out += " " + w;
    return out;
}

struct Row {
    const char* script;
    const char* result; // "pages | waiting labels"
};

template <std::size_t N> void CheckRows(const Row (&rows)[N])
{
    for (const Row& r : rows)
        CHECK_EQ_AT(r.script, Play(r.script), std::string(r.result));
}

} // namespace

TEST(logins_one_at_a_time_pair_exactly)
{
    const Row rows[] = {
        {"start A key A attach A", "kA |"},
        {"start A key A attach A start B key B attach B start C key C attach C", "kA kB kC |"},
        // A refused key leaves no label; the login cancels and ends.
        {"start A key A attach A start B end B start C key C attach C", "kA kC |"},
        // A login that ends after its key takes its label with it.
        {"start A key A end A start B key B attach B", "kB |"},
        {"start A key A attach A start B key B end B", "kA |"},
        // A page without a key gets an empty label.
        {"start A attach A start B key B attach B", "- kB |"},
    };
    CheckRows(rows);
}

TEST(overlapping_logins_keep_their_labels)
{
    const Row rows[] = {
        // Both succeed, keys and pages in the same order, however interleaved.
        {"start A start B key A attach A key B attach B", "kA kB |"},
        {"start A start B key A key B attach A attach B", "kA kB |"},
        {"start A key A start B key B attach A attach B", "kA kB |"},
        // Pages in the other order than their keys.
        {"start A key A start B key B attach B attach A", "kB kA |"},
        {"start A start B key A key B attach B attach A", "kB kA |"},
        // The later login is cancelled before its key: the earlier one's
        // label stays, although it came while the later one was newest.
        {"start A start B key A end B attach A", "kA |"},
        {"start A start B end B key A attach A", "kA |"},
        // The earlier login is cancelled: nothing is dropped.
        {"start A start B end A key B attach B", "kB |"},
        // A login ends after its key while another one is under way.
        {"start A key A start B end A key B attach B", "kB |"},
        {"start A key A start B key B end A attach B", "kB |"},
        {"start A start B key A key B end B attach A", "kA |"},
    };
    CheckRows(rows);
}

TEST(labels_never_outnumber_the_logins_that_can_still_attach)
{
    // Three logins at once, two end after their keys.
    CHECK_EQ(Play("start A start B start C key A key B key C end A end C attach B"), std::string("kB |"));
    // Ending twice, or a process never started, drops nothing more.
    CHECK_EQ(Play("start A key A start B key B end A end A end Z attach B"), std::string("kB |"));
    // Every login gone: nothing waits.
    CHECK_EQ(Play("start A start B key A key B end B end A"), std::string("|"));
}

TEST(an_unknown_page_takes_the_oldest_waiting_label)
{
    CHECK_EQ(Play("start A key A attach Z attach A"), std::string("kA - |"));
    CHECK_EQ(Play("attach Z"), std::string("- |"));
}

CHECK_MAIN()
