#include "../../logic/tab_geometry.h"
#include "../check.h"
#include "skin_show.h"

#include <string>

namespace check {
inline std::string Show(const std::optional<SkinSize>& s) { return s ? Show(*s) : "none"; }
} // namespace check

namespace {

std::string At(int x, int y, int pages)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ") of " + std::to_string(pages);
}

SkinSize SizeOf(const SkinEdges& e) { return SkinSize{e.right - e.left, e.bottom - e.top}; }

} // namespace

// ---- Drawing positions ------------------------------------------------------

TEST(tab_faces_stand_side_by_side)
{
    struct Row {
        int tab;
        SkinRect face;
    } rows[] = {
        {0, SkinRect{120, 3, 189, 22}},
        {1, SkinRect{309, 3, 189, 22}},
        {2, SkinRect{498, 3, 189, 22}},
        {3, SkinRect{687, 3, 189, 22}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.tab, TabFaceRect(r.tab), r.face);
}

TEST(close_buttons_sit_at_the_right_end_of_each_tab)
{
    struct Row {
        int tab;
        SkinRect button;
    } rows[] = {
        {0, SkinRect{296, 3, 13, 13}},
        {1, SkinRect{485, 3, 13, 13}},
        {2, SkinRect{674, 3, 13, 13}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.tab, TabCloseRect(r.tab), r.button);
}

TEST(labels_stop_where_the_close_button_starts)
{
    struct Row {
        int tab;
        SkinEdges label;
    } rows[] = {
        {0, SkinEdges{136, 8, 296, 22}},
        {1, SkinEdges{325, 8, 485, 22}},
        {2, SkinEdges{514, 8, 674, 22}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.tab, TabLabelRect(r.tab), r.label);
}

// ---- Hit-testing ------------------------------------------------------------

TEST(tab_under_a_point_of_three_pages)
{
    struct Row {
        int x, y, tab;
    } rows[] = {
        {120, 10, -1}, // the strip's left edge belongs to no tab
        {121, 10, 0},  {308, 10, 0}, {309, 10, 1}, {497, 10, 1},
        {498, 10, 2},  {686, 10, 2},
        {687, 10, -1}, // 120 + 189 * 3, excluded
        {200, 2, -1},  {200, 3, 0},  {200, 24, 0}, {200, 25, -1},
        {600, 3, 2},   {600, 24, 2}, {600, 2, -1}, {600, 25, -1},
        {119, 10, -1}, {-5, 10, -1}, {1000, 10, -1},
    };
    for (const Row& r : rows) {
        CHECK_EQ_AT(At(r.x, r.y, 3), TabAt(SkinPoint{r.x, r.y}, 3), r.tab);
        CHECK_EQ_AT(At(r.x, r.y, 3), InTabStrip(SkinPoint{r.x, r.y}, 3), r.tab >= 0);
    }
}

TEST(strip_ends_after_the_last_page)
{
    struct Row {
        int x, pages, tab;
    } rows[] = {
        {200, 0, -1}, {121, 0, -1}, // no page, no strip
        {121, 1, 0},  {308, 1, 0},  {309, 1, -1},
        {309, 2, 1},  {497, 2, 1},  {498, 2, -1},
        {686, 4, 2},  {687, 4, 3},  {875, 4, 3}, {876, 4, -1}, // a fourth page grows it further
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(At(r.x, 10, r.pages), TabAt(SkinPoint{r.x, 10}, r.pages), r.tab);
}

TEST(close_button_columns_and_upper_rows)
{
    struct Row {
        int x, y, tab;
        bool on;
    } rows[] = {
        {296, 15, 0, true}, {296, 16, 0, false}, {308, 3, 0, true},
        {309, 3, 0, false}, {295, 3, 0, false},  {302, 9, 0, true},
        {485, 3, 1, true},  {497, 15, 1, true},  {484, 3, 1, false}, {498, 3, 1, false},
        {674, 15, 2, true}, {686, 3, 2, true},   {687, 3, 2, false},
        // Tab 1's columns are not tab 0's button.
        {485, 3, 0, false},
        // No lower bound of its own: the strip's top row is the caller's test.
        {300, 0, 0, true},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(At(r.x, r.y, r.tab), OnTabClose(SkinPoint{r.x, r.y}, r.tab), r.on);
}

TEST(close_button_under_a_point_of_the_strip)
{
    struct Row {
        int x, y, pages, tab;
    } rows[] = {
        {296, 15, 3, 0},  {296, 16, 3, -1}, {308, 3, 3, 0},
        {309, 3, 3, -1}, // on tab 1, but not on a close button
        {300, 2, 3, -1}, // above the strip
        {485, 3, 3, 1},   {497, 15, 3, 1},  {674, 3, 3, 2}, {686, 15, 3, 2},
        {687, 3, 3, -1},
        {485, 3, 1, -1}, // the button of a tab that does not exist
        {296, 3, 0, -1},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(At(r.x, r.y, r.pages), TabCloseAt(SkinPoint{r.x, r.y}, r.pages), r.tab);
}

// ---- Redrawing --------------------------------------------------------------

TEST(tab_redraw_covers_exactly_the_face)
{
    struct Row {
        int tab;
        SkinEdges area;
    } rows[] = {
        {0, SkinEdges{120, 3, 309, 25}},
        {1, SkinEdges{309, 3, 498, 25}},
        {2, SkinEdges{498, 3, 687, 25}},
    };
    for (const Row& r : rows) {
        const SkinEdges got = TabRedrawRect(r.tab);
        CHECK_EQ_AT(r.tab, got, r.area);
        CHECK_EQ_AT(r.tab, SizeOf(got), SkinSize{189, 22});
        const SkinRect face = TabFaceRect(r.tab);
        CHECK_EQ_AT(r.tab, got, SkinEdges{face.x, face.y, face.x + face.w, face.y + face.h});
    }
}

TEST(close_redraw_covers_exactly_the_button)
{
    struct Row {
        int tab;
        SkinEdges area;
    } rows[] = {
        {0, SkinEdges{296, 3, 309, 16}},
        {1, SkinEdges{485, 3, 498, 16}},
        {2, SkinEdges{674, 3, 687, 16}},
    };
    for (const Row& r : rows) {
        const SkinEdges got = TabCloseRedrawRect(r.tab);
        CHECK_EQ_AT(r.tab, got, r.area);
        CHECK_EQ_AT(r.tab, SizeOf(got), SkinSize{13, 13});
        const SkinRect button = TabCloseRect(r.tab);
        CHECK_EQ_AT(r.tab, got,
                    SkinEdges{button.x, button.y, button.x + button.w, button.y + button.h});
    }
}

TEST(close_redraw_of_no_tab_is_left_of_the_strip)
{
    CHECK_EQ(TabCloseRedrawRect(-1), SkinEdges{107, 3, 120, 16});
}

TEST(strip_redraw_spans_the_given_slots)
{
    struct Row {
        int tabs;
        SkinEdges area;
    } rows[] = {
        {1, SkinEdges{120, 3, 309, 25}},
        {2, SkinEdges{120, 3, 498, 25}},
        {3, SkinEdges{120, 3, 687, 25}}, // closing one of three also clears the freed third slot
        {4, SkinEdges{120, 3, 876, 25}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.tabs, TabStripRedrawRect(r.tabs), r.area);
}

// ---- Minimum size -----------------------------------------------------------

TEST(minimum_size_grows_one_tab_per_page)
{
    struct Row {
        int pages;
        SkinSize min;
    } rows[] = {
        {1, SkinSize{672, 260}},
        {2, SkinSize{861, 260}},
        {3, SkinSize{1050, 260}},
        {4, SkinSize{1239, 260}},
        {5, SkinSize{1428, 260}},
    };
    for (const Row& r : rows) {
        const SkinSize min = MinimumWindowSize(r.pages);
        CHECK_EQ_AT(r.pages, min, r.min);
        // The strip's end stays 3 pixels before the link at width - 360.
        CHECK_EQ_AT(r.pages, TabStripRedrawRect(r.pages).right + 3, min.w - 360);
    }
}

TEST(minimum_size_raises_only_what_falls_short)
{
    struct Row {
        int pages;
        SkinSize proposed;
        std::optional<SkinSize> raised;
    } rows[] = {
        {1, SkinSize{600, 200}, SkinSize{672, 260}},
        {1, SkinSize{700, 200}, SkinSize{700, 260}},
        {1, SkinSize{600, 300}, SkinSize{672, 300}},
        {1, SkinSize{671, 260}, SkinSize{672, 260}},
        {1, SkinSize{672, 259}, SkinSize{672, 260}},
        {1, SkinSize{672, 260}, std::nullopt},
        {1, SkinSize{1920, 1040}, std::nullopt},
        {2, SkinSize{860, 500}, SkinSize{861, 500}},
        {3, SkinSize{1049, 800}, SkinSize{1050, 800}},
        {3, SkinSize{1050, 800}, std::nullopt},
        {4, SkinSize{1050, 800}, SkinSize{1239, 800}},
        // Before the first page the window is a 1 x 1 placeholder.
        {0, SkinSize{1, 1}, std::nullopt},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.pages) + ": " + check::Show(r.proposed),
                    RaiseToMinimumSize(r.proposed, r.pages), r.raised);
}

// ---- Page selection ---------------------------------------------------------

TEST(switch_key_cycles_through_the_pages)
{
    struct Row {
        int current, pages;
        bool hall;
        int next;
    } rows[] = {
        {0, 3, false, 1}, {1, 3, false, 2}, {2, 3, false, 0},
        {0, 2, false, 1}, {1, 2, false, 0},
        {3, 4, false, 0},
        {0, 1, false, 0}, // one page: only brought to the front
        {1, 3, true, 1},  {2, 3, true, 2}, // game hall in front: not advanced
        {0, 0, false, 0},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.current) + "/" + std::to_string(r.pages) +
                        (r.hall ? " hall" : ""),
                    PageAfterSwitch(r.current, r.pages, r.hall), r.next);
}

TEST(switch_key_returns_to_the_first_page_after_a_round)
{
    int current = 0;
    const int want[] = {1, 2, 0, 1, 2, 0};
    for (int i = 0; i < 6; ++i) {
        current = PageAfterSwitch(current, 3, false);
        CHECK_EQ_AT(i, current, want[i]);
    }
}

TEST(closing_a_page_makes_its_successor_current)
{
    struct Row {
        int closed, pagesBefore, current;
    } rows[] = {
        {2, 3, 1}, // the last of three: the new last page
        {1, 3, 1}, // the former third page moves into index 1
        {0, 3, 0},
        {0, 2, 0}, {1, 2, 0},
        {3, 4, 2}, {1, 4, 1}, {2, 4, 2},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.closed) + "/" + std::to_string(r.pagesBefore),
                    PageAfterClose(r.closed, r.pagesBefore), r.current);
}

CHECK_MAIN()
