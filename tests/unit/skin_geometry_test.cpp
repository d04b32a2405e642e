#include "../../logic/skin_geometry.h"
#include "../check.h"
#include "skin_show.h"

#include <set>
#include <utility>


namespace {




SkinEdges E(int left, int top, int right, int bottom)
{
    SkinEdges e;
    e.left = left;
    e.top = top;
    e.right = right;
    e.bottom = bottom;
    return e;
}

struct PieceRow {
    SkinRect dst;
    SkinRect src;
    bool stretch;
};

void CheckPieces(const char* what, const std::vector<SkinPiece>& got,
                 const std::vector<PieceRow>& want)
{
    CHECK_EQ_AT(what, got.size(), want.size());
    for (size_t i = 0; i < got.size() && i < want.size(); ++i) {
        const std::string row = std::string(what) + " piece " + std::to_string(i);
        CHECK_EQ_AT(row, got[i].dst, want[i].dst);
        CHECK_EQ_AT(row, got[i].src, want[i].src);
        CHECK_EQ_AT(row, got[i].stretch, want[i].stretch);
    }
}

using PixelSet = std::set<std::pair<int, int>>;

PixelSet AsSet(const std::vector<SkinPoint>& points)
{
    PixelSet s;
    for (const SkinPoint& p : points)
        s.insert({p.x, p.y});
    return s;
}

std::string Show(const PixelSet& s)
{
    std::string out;
    for (const auto& p : s)
        out += "(" + std::to_string(p.first) + "," + std::to_string(p.second) + ")";
    return out;
}

void CheckButton(const char* what, const std::optional<SkinRect>& got,
                 const std::optional<SkinRect>& want)
{
    CHECK_EQ_AT(what, got.has_value(), want.has_value());
    if (got && want)
        CHECK_EQ_AT(what, *got, *want);
}

SkinFrame Frame(int w, int h, int border, int caption, bool resizable, bool maximized = false)
{
    SkinFrame f;
    f.client = SkinSize{w, h};
    f.border = border;
    f.captionHeight = caption;
    f.resizable = resizable;
    f.maximized = maximized;
    return f;
}

} // namespace

// ---- Keyed bitmaps ----------------------------------------------------------

TEST(keyed_pixel_follows_the_three_alpha_rules)
{
    struct Row {
        uint32_t argb;
        uint32_t dib;
    } rows[] = {
        {0x00000000u, 0x00FF00FFu}, // transparent: key, whatever the colour
        {0x00123456u, 0x00FF00FFu},
        {0x00FFFFFFu, 0x00FF00FFu},
        {0xFF112233u, 0x00112233u}, // opaque: kept, channels in place
        {0xFF000000u, 0x00000000u},
        {0xFFFF00FFu, 0x00FF00FFu}, // opaque magenta is the key too
        {0x80000000u, 0x007F7F7Fu}, // 32385 / 255 = 127
        {0x01000000u, 0x00FEFEFEu}, // 64770 / 255 = 254
        {0x02000000u, 0x00FDFDFDu}, // 64515 / 255 = 253
        {0xFE000000u, 0x00010101u}, // 255 / 255 = 1
        {0x80FFFFFFu, 0x00FFFFFFu}, // white over white stays white
        {0x804080C8u, 0x009FBFE3u}, // 40577/255, 48769/255, 57985/255 truncated
        {0x80010101u, 0x007F7F7Fu}, // 32513 / 255 = 127.5, truncated
        {0x64323232u, 0x00AEAEAEu}, // 44525 / 255 = 174.6, truncated
        {0x01FF0000u, 0x00FFFEFEu}, // channels composed one by one
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.argb, KeyedPixel(r.argb), r.dib);
}

TEST(keyed_pixel_writes_the_given_key)
{
    CHECK_EQ(KeyedPixel(0x00ABCDEFu, 0x00123456u), 0x00123456u);
    CHECK_EQ(KeyedPixel(0xFFABCDEFu, 0x00123456u), 0x00ABCDEFu);
}

TEST(bottom_up_rows)
{
    struct Row {
        int row, height, memoryRow;
    } rows[] = {{0, 51, 50}, {50, 51, 0}, {25, 51, 25}, {0, 1, 0}, {1, 2, 0}};
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.row) + "/" + std::to_string(r.height),
                    BottomUpRow(r.row, r.height), r.memoryRow);
}

TEST(keyed_buffer_puts_the_first_row_last)
{
    // 3 wide, 2 high, so a stride mix-up cannot go unnoticed.
    const uint32_t argb[6] = {
        0xFF010203u, 0x00ABCDEFu, 0x80000000u, // top row
        0xFF0A0B0Cu, 0xFF0D0E0Fu, 0x01000000u, // bottom row
    };
    uint32_t dib[6] = {};
    KeyPixels(argb, 3, 2, dib);
    const uint32_t want[6] = {
        0x000A0B0Cu, 0x000D0E0Fu, 0x00FEFEFEu, // memory starts with the bottom row
        0x00010203u, 0x00FF00FFu, 0x007F7F7Fu,
    };
    for (int i = 0; i < 6; ++i)
        CHECK_EQ_AT(i, dib[i], want[i]);
}

TEST(keyed_buffer_of_a_single_row)
{
    const uint32_t argb[4] = {0xFF102030u, 0x00000000u, 0x80FFFFFFu, 0xFFFFFFFFu};
    uint32_t dib[4] = {};
    KeyPixels(argb, 4, 1, dib, 0x00010203u);
    const uint32_t want[4] = {0x00102030u, 0x00010203u, 0x00FFFFFFu, 0x00FFFFFFu};
    for (int i = 0; i < 4; ++i)
        CHECK_EQ_AT(i, dib[i], want[i]);
}

// ---- Image strips -----------------------------------------------------------

TEST(strip_frame_widths)
{
    struct Row {
        int width, frames, frameWidth;
    } rows[] = {
        {132, 4, 33}, {228, 4, 57}, {108, 4, 27}, {316, 4, 79}, {567, 3, 189}, {39, 3, 13},
        {14, 1, 14},  {130, 4, 32}, // two columns left over
        {10, 3, 3},   {3, 4, 0},    {100, 0, 0},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.width) + "/" + std::to_string(r.frames),
                    StripFrameWidth(r.width, r.frames), r.frameWidth);
}

TEST(strip_frame_rectangles)
{
    struct Row {
        SkinSize strip;
        int frames, index;
        SkinRect src;
    } rows[] = {
        {SkinSize{132, 28}, 4, 0, SkinRect{0, 0, 33, 28}},   {SkinSize{132, 28}, 4, 1, SkinRect{33, 0, 33, 28}},
        {SkinSize{132, 28}, 4, 2, SkinRect{66, 0, 33, 28}},  {SkinSize{132, 28}, 4, 3, SkinRect{99, 0, 33, 28}},
        {SkinSize{567, 22}, 3, 2, SkinRect{378, 0, 189, 22}},
        // The last frame ends at 128: columns 128 and 129 are never shown.
        {SkinSize{130, 28}, 4, 3, SkinRect{96, 0, 32, 28}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.index, StripFrameRect(r.strip, r.frames, r.index), r.src);
}

// ---- Dialog background ------------------------------------------------------

TEST(nine_grid_of_the_dialog_background)
{
    // Image 131 on a 400x300 window, caption 30, border 4.
    CheckPieces("131 on 400x300", SkinBackgroundPieces(SkinSize{400, 300}, SkinSize{30, 51}, 4, 30, true),
                {
                    {SkinRect{0, 0, 4, 30}, SkinRect{0, 0, 4, 30}, false},
                    {SkinRect{4, 0, 392, 30}, SkinRect{4, 0, 22, 30}, true},
                    {SkinRect{396, 0, 4, 30}, SkinRect{26, 0, 4, 30}, false},
                    {SkinRect{0, 30, 4, 266}, SkinRect{0, 30, 4, 17}, true},
                    {SkinRect{396, 30, 4, 266}, SkinRect{26, 30, 4, 17}, true},
                    {SkinRect{4, 30, 392, 266}, SkinRect{4, 30, 22, 17}, true},
                    {SkinRect{0, 296, 4, 4}, SkinRect{0, 47, 4, 4}, false},
                    {SkinRect{4, 296, 392, 4}, SkinRect{4, 47, 22, 4}, true},
                    {SkinRect{396, 296, 4, 4}, SkinRect{26, 47, 4, 4}, false},
                });
}

TEST(nine_grid_without_caption_uses_the_border)
{
    CheckPieces("caption -1", SkinBackgroundPieces(SkinSize{100, 80}, SkinSize{30, 51}, 3, -1, true),
                {
                    {SkinRect{0, 0, 3, 3}, SkinRect{0, 0, 3, 3}, false},
                    {SkinRect{3, 0, 94, 3}, SkinRect{3, 0, 24, 3}, true},
                    {SkinRect{97, 0, 3, 3}, SkinRect{27, 0, 3, 3}, false},
                    {SkinRect{0, 3, 3, 74}, SkinRect{0, 3, 3, 45}, true},
                    {SkinRect{97, 3, 3, 74}, SkinRect{27, 3, 3, 45}, true},
                    {SkinRect{3, 3, 94, 74}, SkinRect{3, 3, 24, 45}, true},
                    {SkinRect{0, 77, 3, 3}, SkinRect{0, 48, 3, 3}, false},
                    {SkinRect{3, 77, 94, 3}, SkinRect{3, 48, 24, 3}, true},
                    {SkinRect{97, 77, 3, 3}, SkinRect{27, 48, 3, 3}, false},
                });
    // Caption 0 is a real height, not "none".
    const std::vector<SkinPiece> zero = SkinBackgroundPieces(SkinSize{100, 80}, SkinSize{30, 51}, 3, 0, true);
    CHECK_EQ(zero.size(), 9u);
    if (zero.size() == 9) {
        CHECK_EQ(zero[0].dst, SkinRect{0, 0, 3, 0});
        CHECK_EQ(zero[5].dst, SkinRect{3, 0, 94, 77});
        CHECK_EQ(zero[5].src, SkinRect{3, 0, 24, 48});
    }
}

TEST(unscaled_background_redraws_right_and_bottom_borders)
{
    // Notice pop-up image 143 in a window larger than itself, caption 0.
    CheckPieces("143 on 300x200", SkinBackgroundPieces(SkinSize{300, 200}, SkinSize{250, 191}, 3, 0, false),
                {
                    {SkinRect{0, 0, 300, 200}, SkinRect{0, 0, 300, 200}, false},
                    {SkinRect{297, 0, 3, 0}, SkinRect{247, 0, 3, 0}, false},
                    {SkinRect{297, 0, 3, 197}, SkinRect{247, 0, 3, 188}, true},
                    {SkinRect{0, 197, 3, 3}, SkinRect{0, 188, 3, 3}, false},
                    {SkinRect{3, 197, 294, 3}, SkinRect{3, 188, 244, 3}, true},
                    {SkinRect{297, 197, 3, 3}, SkinRect{247, 188, 3, 3}, false},
                });
    // Fitted to the image, every border lands where it came from.
    CheckPieces("162 fitted", SkinBackgroundPieces(SkinSize{284, 150}, SkinSize{284, 150}, 3, 30, false),
                {
                    {SkinRect{0, 0, 284, 150}, SkinRect{0, 0, 284, 150}, false},
                    {SkinRect{281, 0, 3, 30}, SkinRect{281, 0, 3, 30}, false},
                    {SkinRect{281, 30, 3, 117}, SkinRect{281, 30, 3, 117}, true},
                    {SkinRect{0, 147, 3, 3}, SkinRect{0, 147, 3, 3}, false},
                    {SkinRect{3, 147, 278, 3}, SkinRect{3, 147, 278, 3}, true},
                    {SkinRect{281, 147, 3, 3}, SkinRect{281, 147, 3, 3}, false},
                });
}

TEST(region_of_the_dialog_background_rounds_the_top_corners)
{
    // Image 131 drawn as ARGB: opaque, with 3, 2, 1 transparent pixels in the
    // first three rows of both top corners, then keyed like the loader does.
    const int w = 30, h = 51;
    std::vector<uint32_t> argb(w * h, 0xFF2060C0u);
    const int clear[3] = {3, 2, 1};
    for (int row = 0; row < 3; ++row) {
        for (int k = 0; k < clear[row]; ++k) {
            argb[row * w + k] = 0x00000000u;
            argb[row * w + (w - 1 - k)] = 0x00FFFFFFu;
        }
    }
    std::vector<uint32_t> dib(w * h);
    KeyPixels(argb.data(), w, h, dib.data());

    const std::vector<SkinPoint> cut = RegionCutPixelsFromDib(SkinSize{400, 300}, SkinSize{w, h}, dib.data());
    const PixelSet want = {{0, 0},   {1, 0},   {2, 0},   {0, 1},   {1, 1},   {0, 2},
                           {399, 0}, {398, 0}, {397, 0}, {399, 1}, {398, 1}, {399, 2}};
    CHECK_EQ(cut.size(), 12u);
    CHECK_EQ(Show(AsSet(cut)), Show(want));
}

TEST(region_scans_only_the_corner_squares)
{
    const int w = 30, h = 51;
    const PixelSet keys = {{9, 0}, {0, 9}, {15, 25}, {20, 0}, {8, 8}, {29, 42}, {29, 41}};
    const SkinKeyTest isKey = [&](int x, int y) { return keys.count({x, y}) > 0; };
    // (8, 8) is the last scanned pixel of the top-left square: it is cut, and
    // its mirror (21, 8) is not key. Row 42 is the first of the bottom square.
    const PixelSet want = {{8, 8}, {399, 291}};
    CHECK_EQ(Show(AsSet(RegionCutPixels(SkinSize{400, 300}, SkinSize{w, h}, isKey))), Show(want));
}

TEST(region_cuts_bottom_corners_from_the_window_bottom)
{
    // Rows 3..8 belong to both the top and the bottom square of a 12-row image.
    const PixelSet keys = {{0, 11}, {1, 11}, {0, 10}, {19, 11}, {19, 3}};
    const SkinKeyTest isKey = [&](int x, int y) { return keys.count({x, y}) > 0; };
    const std::vector<SkinPoint> cut = RegionCutPixels(SkinSize{100, 50}, SkinSize{20, 12}, isKey);
    const PixelSet want = {{99, 3}, {99, 41}, {0, 48}, {0, 49}, {1, 49}, {99, 49}};
    CHECK_EQ(cut.size(), 6u);
    CHECK_EQ(Show(AsSet(cut)), Show(want));
}

TEST(region_of_a_short_image_never_reads_above_it)
{
    const int w = 12, h = 5;
    const PixelSet keys = {{0, 4}, {11, 0}};
    const SkinKeyTest isKey = [&](int x, int y) {
        CHECK(x >= 0 && x < w && y >= 0 && y < h);
        return keys.count({x, y}) > 0;
    };
    // The five rows count as top rows and again as bottom rows.
    const PixelSet want = {{39, 0}, {0, 4}, {39, 15}, {0, 19}};
    CHECK_EQ(Show(AsSet(RegionCutPixels(SkinSize{40, 20}, SkinSize{w, h}, isKey))), Show(want));
}

TEST(region_of_a_narrow_image_scans_its_width_from_both_sides)
{
    // Five columns: the left scan and the mirrored right scan both cover all
    // of them, so a key pixel at the left also cuts at the window's right.
    const int w = 5, h = 5;
    const SkinKeyTest isKey = [&](int x, int y) {
        CHECK(x >= 0 && x < w && y >= 0 && y < h);
        return x == 0 && y == 0;
    };
    const PixelSet want = {{0, 0}, {35, 0}, {0, 15}, {35, 15}};
    CHECK_EQ(Show(AsSet(RegionCutPixels(SkinSize{40, 20}, SkinSize{w, h}, isKey))), Show(want));
}

TEST(region_of_an_image_without_key_pixels_is_whole)
{
    std::vector<uint32_t> dib(30 * 51, 0x00FF00FEu); // one off the key
    CHECK(RegionCutPixelsFromDib(SkinSize{400, 300}, SkinSize{30, 51}, dib.data()).empty());
}

// ---- Hit-testing and sizing -------------------------------------------------

TEST(codes_are_the_platform_values)
{
    // These numbers are handed straight to the platform.
    const int hits[] = {kHitClient, kHitCaption, kHitLeft,   kHitRight,      kHitTop,
                        kHitTopLeft, kHitTopRight, kHitBottom, kHitBottomLeft, kHitBottomRight};
    const int platform[] = {1, 2, 10, 11, 12, 13, 14, 15, 16, 17};
    for (int i = 0; i < 10; ++i)
        CHECK_EQ_AT(i, hits[i], platform[i]);
    CHECK(kHitDefault < -2 || kHitDefault > 21); // no real hit code
    CHECK_EQ(kIdOk, 1);
    CHECK_EQ(kIdCancel, 2);
    CHECK_EQ(kIdYes, 6);
    CHECK_EQ(kIdNo, 7);
    CHECK_EQ(kMbOkCancel, 1);
    CHECK_EQ(kMbYesNo, 4);
}

TEST(hit_test_of_a_resizable_window)
{
    const SkinFrame f = Frame(400, 300, 4, 30, true);
    struct Row {
        int x, y, hit;
    } rows[] = {
        {10, 2, kHitTop},         // 2 below the top, away from the corner
        {10, 5, kHitCaption},     // in the caption band
        {2, 298, kHitBottomLeft}, // in the left border, 2 above the bottom
        {0, 0, kHitTopLeft},
        {3, 3, kHitTopLeft},
        {3, 4, kHitLeft},
        {0, 150, kHitLeft},
        {4, 3, kHitCaption}, // the top band is 3 deep, not the border's 4
        {4, 2, kHitTop},
        {200, 0, kHitTop},
        {200, 3, kHitCaption},
        {200, 29, kHitCaption},
        {200, 30, kHitDefault},
        {200, 295, kHitDefault},
        {200, 296, kHitBottom},
        {200, 299, kHitBottom},
        {396, 0, kHitTopRight},
        {399, 3, kHitTopRight},
        {399, 4, kHitRight},
        {396, 150, kHitRight},
        {395, 150, kHitDefault},
        {396, 296, kHitBottomRight},
        {399, 299, kHitBottomRight},
        {0, 299, kHitBottomLeft},
        {3, 296, kHitBottomLeft},
        {3, 295, kHitLeft},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.x) + "," + std::to_string(r.y), SkinHitTest(f, SkinPoint{r.x, r.y}),
                    r.hit);
}

TEST(hit_test_of_a_resizable_window_without_caption_band)
{
    const SkinFrame f = Frame(400, 300, 4, -1, true);
    struct Row {
        int x, y, hit;
    } rows[] = {
        {200, 1, kHitTop},
        {200, 3, kHitCaption},
        {200, 150, kHitCaption},
        {200, 298, kHitCaption}, // the bottom border drags instead of sizing
        {2, 298, kHitBottomLeft},
        {398, 150, kHitRight},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.x) + "," + std::to_string(r.y), SkinHitTest(f, SkinPoint{r.x, r.y}),
                    r.hit);
}

TEST(hit_test_with_caption_zero_and_thin_border)
{
    struct Row {
        const char* what;
        SkinFrame frame;
        int x, y, hit;
    } rows[] = {
        {"caption 0 middle", Frame(400, 300, 4, 0, true), 200, 5, kHitDefault},
        {"caption 0 top", Frame(400, 300, 4, 0, true), 200, 1, kHitTop},
        {"border 2 side", Frame(400, 300, 2, 30, true), 1, 2, kHitLeft},
        {"border 2 top band", Frame(400, 300, 2, 30, true), 10, 2, kHitTop},
        {"border 2 bottom", Frame(400, 300, 2, 30, true), 10, 297, kHitDefault},
        {"border 2 bottom edge", Frame(400, 300, 2, 30, true), 10, 298, kHitBottom},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, SkinHitTest(r.frame, SkinPoint{r.x, r.y}), r.hit);
}

TEST(hit_test_of_a_fixed_window)
{
    struct Row {
        const char* what;
        int caption, x, y, hit;
    } rows[] = {
        {"last caption row", 30, 200, 29, kHitCaption},
        {"first row below", 30, 200, 30, kHitDefault},
        {"top row", 30, 200, 0, kHitCaption},
        {"above", 30, 200, -1, kHitDefault},
        {"corner is caption", 30, 1, 1, kHitCaption},
        {"bottom border", 30, 2, 298, kHitDefault},
        {"no band: all drags", -1, 200, 299, kHitCaption},
        {"band of 0", 0, 0, 0, kHitDefault},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, SkinHitTest(Frame(400, 300, 4, r.caption, false), SkinPoint{r.x, r.y}), r.hit);
}

TEST(hit_test_while_maximized_leaves_it_to_the_dialog)
{
    const SkinPoint points[] = {SkinPoint{10, 2}, SkinPoint{10, 10}, SkinPoint{2, 298}, SkinPoint{200, 150}, SkinPoint{399, 0}};
    for (const SkinPoint& p : points) {
        CHECK_EQ_AT(check::Show(p), SkinHitTest(Frame(400, 300, 4, 30, true, true), p),
                    kHitDefault);
        CHECK_EQ_AT(check::Show(p), SkinHitTest(Frame(400, 300, 4, -1, false, true), p),
                    kHitDefault);
    }
}

TEST(size_commands_for_border_hits)
{
    struct Row {
        int hit, command;
    } rows[] = {
        {10, 0xF001}, {11, 0xF002}, {12, 0xF003}, {13, 0xF004}, {14, 0xF005},
        {15, 0xF006}, {16, 0xF007}, {17, 0xF008}, {2, kNoSizeCommand}, {1, kNoSizeCommand},
        {9, kNoSizeCommand}, {18, kNoSizeCommand}, {0, kNoSizeCommand},
        {kHitDefault, kNoSizeCommand},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.hit, SizeCommandForHit(r.hit), r.command);
}

TEST(double_clicks_that_toggle_maximize)
{
    CHECK(NcDoubleClickToggles(kHitCaption, true));
    CHECK(!NcDoubleClickToggles(kHitCaption, false));
    CHECK(!NcDoubleClickToggles(kHitTop, true));
    CHECK(!NcDoubleClickToggles(kHitClient, true));

    struct Row {
        const char* what;
        SkinFrame frame;
        int y;
        bool toggles;
    } rows[] = {
        {"maximized, in band", Frame(400, 300, 4, 30, true, true), 10, true},
        {"maximized, last band row", Frame(400, 300, 4, 30, true, true), 29, true},
        {"maximized, below band", Frame(400, 300, 4, 30, true, true), 30, false},
        {"maximized, above", Frame(400, 300, 4, 30, true, true), -1, false},
        {"maximized, no band", Frame(400, 300, 4, -1, true, true), 250, true},
        {"not maximized", Frame(400, 300, 4, 30, true, false), 10, false},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, ClientDoubleClickToggles(r.frame, SkinPoint{100, r.y}), r.toggles);
}

// ---- Caption ----------------------------------------------------------------

TEST(caption_icon_position)
{
    struct Row {
        int caption, border;
        SkinPoint pos;
    } rows[] = {
        {30, 4, SkinPoint{4, 7}}, {31, 4, SkinPoint{4, 8}}, {-1, 4, SkinPoint{4, 6}}, {-1, 0, SkinPoint{0, 6}},
        {0, 3, SkinPoint{3, -7}}, // -15 / 2 truncates toward zero
        {15, 3, SkinPoint{3, 0}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.caption, CaptionIconPos(r.caption, r.border), r.pos);
}

TEST(caption_title_position)
{
    struct Row {
        const char* what;
        int caption, fontHeight, border;
        bool icon;
        SkinPoint pos;
    } rows[] = {
        {"dialog with icon", 30, -12, 4, true, SkinPoint{25, 7}},
        {"dialog without icon", 30, -12, 4, false, SkinPoint{9, 7}},
        {"positive font height", 30, 12, 4, true, SkinPoint{25, 7}},
        {"caption 29", 29, -12, 4, true, SkinPoint{25, 7}},
        {"caption 28", 28, -12, 4, true, SkinPoint{25, 6}},
        {"larger font", 30, -16, 4, true, SkinPoint{25, 5}},
        {"notice pop-up", 0, -12, 3, false, SkinPoint{8, 4}},
        {"picture pop-up", 0, -12, 0, false, SkinPoint{5, 4}},
        {"no band", -1, -12, 4, true, SkinPoint{25, 4}},
        {"t = -1 becomes 6", 9, -12, 4, true, SkinPoint{25, 4}},
        {"t = -1/2 truncates to 0", 10, -12, 4, true, SkinPoint{25, -2}},
        {"t = 0", 11, -12, 4, true, SkinPoint{25, -2}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, CaptionTitlePos(r.caption, r.fontHeight, r.border, r.icon), r.pos);
}

TEST(title_repaint_reaches_the_right_edge)
{
    CHECK_EQ(TitleRepaintRect(SkinPoint{25, 7}, 400, 17), SkinRect{25, 7, 375, 17});
    CHECK_EQ(TitleRepaintRect(SkinPoint{8, 4}, 250, 16), SkinRect{8, 4, 242, 16});
}

TEST(caption_buttons_with_a_gap_then_edge_to_edge)
{
    const CaptionButtons made =
        PlaceCaptionButtonsOnSkin(400, 0, 0, 2, SkinSize{33, 28}, SkinSize{27, 28}, SkinSize{27, 28});
    CheckButton("close", made.close, SkinRect{367, 0, 33, 28});
    CheckButton("max", made.max, SkinRect{338, 0, 27, 28}); // ends at 365, 2 short of 367
    CheckButton("min", made.min, SkinRect{309, 0, 27, 28}); // ends at 336, 2 short of 338

    const CaptionButtons sized = PlaceCaptionButtonsOnSize(made, 400, 0);
    CheckButton("close sized", sized.close, SkinRect{367, 0, 33, 28});
    CheckButton("max sized", sized.max, SkinRect{340, 0, 27, 28});
    CheckButton("min sized", sized.min, SkinRect{313, 0, 27, 28});

    const CaptionButtons wider = PlaceCaptionButtonsOnSize(sized, 1000, 0);
    CheckButton("close wider", wider.close, SkinRect{967, 0, 33, 28});
    CheckButton("max wider", wider.max, SkinRect{940, 0, 27, 28});
    CheckButton("min wider", wider.min, SkinRect{913, 0, 27, 28});
}

TEST(caption_buttons_of_the_system_windows)
{
    // Close only, default margin 5 and top 1, on a window fitted to image 162.
    const CaptionButtons prompt =
        PlaceCaptionButtonsOnSkin(284, 5, 1, 0, SkinSize{33, 28}, std::nullopt, std::nullopt);
    CheckButton("prompt close", prompt.close, SkinRect{246, 1, 33, 28});
    CheckButton("prompt max", prompt.max, std::nullopt);
    CheckButton("prompt min", prompt.min, std::nullopt);

    // Notice pop-up: margin 3, top 3, close strip 144 (frames 36x14).
    const CaptionButtons notice =
        PlaceCaptionButtonsOnSkin(250, 3, 3, 0, SkinSize{36, 14}, std::nullopt, std::nullopt);
    CheckButton("notice close", notice.close, SkinRect{211, 3, 36, 14});

    // Minimize without maximize steps over the close button.
    const CaptionButtons noMax =
        PlaceCaptionButtonsOnSkin(400, 0, 0, 2, SkinSize{33, 28}, std::nullopt, SkinSize{27, 28});
    CheckButton("no max: max", noMax.max, std::nullopt);
    CheckButton("no max: min", noMax.min, SkinRect{338, 0, 27, 28});
}

TEST(caption_buttons_on_size_keep_their_own_size_and_top)
{
    CaptionButtons current;
    current.close = SkinRect{10, 0, 33, 28};
    current.min = SkinRect{50, 1, 27, 27};
    const CaptionButtons sized = PlaceCaptionButtonsOnSize(current, 500, 3);
    CheckButton("close", sized.close, SkinRect{464, 0, 33, 28});
    CheckButton("max", sized.max, std::nullopt);
    CheckButton("min", sized.min, SkinRect{437, 1, 27, 27});

    const CaptionButtons none = PlaceCaptionButtonsOnSize(CaptionButtons(), 500, 3);
    CHECK(!none.close && !none.max && !none.min);
}

// ---- Maximize and restore ---------------------------------------------------

TEST(maximized_rectangle)
{
    struct Row {
        const char* what;
        SkinEdges work;
        int maxW, maxH;
        SkinRect rect;
    } rows[] = {
        {"limited width", E(0, 0, 1920, 1040), 1600, 1040, SkinRect{160, 0, 1600, 1040}},
        {"limits from the work area", E(0, 0, 1920, 1040), 1920, 1040, SkinRect{0, 0, 1920, 1040}},
        {"limits above the work area", E(0, 0, 1920, 1040), 2560, 1440, SkinRect{0, 0, 1920, 1040}},
        {"odd surplus stays in", E(0, 0, 1921, 1040), 1600, 1040, SkinRect{160, 0, 1601, 1040}},
        {"limited height", E(0, 0, 1920, 1080), 1920, 900, SkinRect{0, 90, 1920, 900}},
        {"taskbar on the left", E(60, 0, 1920, 1040), 1600, 1040, SkinRect{190, 0, 1600, 1040}},
        {"taskbar on top", E(0, 40, 1920, 1080), 1920, 900, SkinRect{0, 110, 1920, 900}},
        {"constructor limits", E(0, 0, 1920, 1040), 1440, 900, SkinRect{240, 70, 1440, 900}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, MaximizedRect(r.work, r.maxW, r.maxH), r.rect);
}

TEST(initial_restore_rectangle)
{
    struct Row {
        SkinEdges work;
        SkinEdges restore;
    } rows[] = {
        {E(0, 0, 1920, 1040), E(240, 130, 1680, 910)},
        {E(0, 0, 1366, 728), E(170, 91, 1196, 637)},
        // An eighth of the size, not offset by the work area's origin.
        {E(60, 0, 1920, 1040), E(232, 130, 1688, 910)},
        {E(0, 40, 1920, 1080), E(240, 130, 1680, 950)},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(check::Show(r.work), InitialRestoreRect(r.work), r.restore);
}

// ---- Image progress bar -----------------------------------------------------

TEST(progress_fill_is_centred_on_the_track)
{
    struct Row {
        SkinSize track, fill;
        SkinRect rect;
    } rows[] = {
        {SkinSize{390, 21}, SkinSize{390, 21}, SkinRect{0, 0, 390, 21}},
        {SkinSize{400, 25}, SkinSize{390, 21}, SkinRect{5, 2, 390, 21}},
        {SkinSize{391, 22}, SkinSize{390, 21}, SkinRect{0, 0, 390, 21}},
        {SkinSize{390, 21}, SkinSize{394, 23}, SkinRect{-2, -1, 394, 23}},
        {SkinSize{390, 21}, SkinSize{393, 21}, SkinRect{-1, 0, 393, 21}}, // -3 / 2 truncates toward zero
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(check::Show(r.track) + " " + check::Show(r.fill),
                    ProgressFillRect(r.track, r.fill), r.rect);
}

TEST(progress_filled_width)
{
    struct Row {
        const char* what;
        int fw, pos, lo, hi, a;
    } rows[] = {
        {"empty", 390, 0, 0, 100, 0},
        {"1 of 100", 390, 1, 0, 100, 3},
        {"2 of 100", 390, 2, 0, 100, 7},
        {"half", 390, 50, 0, 100, 195},
        {"99 of 100", 390, 99, 0, 100, 386},
        {"full", 390, 100, 0, 100, 390},
        {"range 200", 390, 100, 0, 200, 195},
        {"not offset by lo", 390, 100, 50, 150, 390},
        {"1 of 390", 390, 1, 0, 390, 1},
        // 29/100 rounds below 0.29 before the multiply, so 100 of 100 fills 28.
        {"rounded quotient", 29, 100, 0, 100, 28},
        {"empty range", 390, 50, 100, 100, 0},
        {"beyond the range", 390, 120, 0, 100, 390},
        {"below zero", 390, -5, 0, 100, 0},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, ProgressFilledWidth(r.fw, r.pos, r.lo, r.hi), r.a);
}

TEST(progress_fill_keeps_both_ends)
{
    const SkinRect fill = SkinRect{0, 0, 390, 21};
    CheckPieces("50", ProgressFillPieces(fill, 50, 0, 100),
                {
                    {SkinRect{0, 0, 97, 21}, SkinRect{0, 0, 97, 21}, false},
                    {SkinRect{97, 0, 98, 21}, SkinRect{292, 0, 98, 21}, false},
                });
    CheckPieces("0", ProgressFillPieces(fill, 0, 0, 100), {});
    CheckPieces("100", ProgressFillPieces(fill, 100, 0, 100),
                {
                    {SkinRect{0, 0, 195, 21}, SkinRect{0, 0, 195, 21}, false},
                    {SkinRect{195, 0, 195, 21}, SkinRect{195, 0, 195, 21}, false},
                });
    CheckPieces("1", ProgressFillPieces(fill, 1, 0, 100),
                {
                    {SkinRect{0, 0, 1, 21}, SkinRect{0, 0, 1, 21}, false},
                    {SkinRect{1, 0, 2, 21}, SkinRect{388, 0, 2, 21}, false},
                });
    // A one-column fill is all right end.
    CheckPieces("1 of 390", ProgressFillPieces(fill, 1, 0, 390),
                {
                    {SkinRect{0, 0, 1, 21}, SkinRect{389, 0, 1, 21}, false},
                });
    // Inside a larger track the pieces move, their sources do not.
    CheckPieces("offset", ProgressFillPieces(SkinRect{5, 2, 390, 21}, 50, 0, 100),
                {
                    {SkinRect{5, 2, 97, 21}, SkinRect{0, 0, 97, 21}, false},
                    {SkinRect{102, 2, 98, 21}, SkinRect{292, 0, 98, 21}, false},
                });
}

TEST(progress_percentage_text)
{
    struct Row {
        int pos, lo, hi, percent;
        const wchar_t* text;
    } rows[] = {
        {37, 0, 100, 37, L"37%"},  {0, 0, 100, 0, L"0%"},     {100, 0, 100, 100, L"100%"},
        {1, 0, 200, 0, L"0%"},     {150, 0, 200, 75, L"75%"}, {100, 50, 150, 100, L"100%"},
        {5, 100, 100, 0, L"0%"},
    };
    for (const Row& r : rows) {
        CHECK_EQ_AT(r.pos, ProgressPercent(r.pos, r.lo, r.hi), r.percent);
        CHECK_EQ_AT(r.pos, ProgressText(r.pos, r.lo, r.hi), std::wstring(r.text));
    }
}

// ---- Message box ------------------------------------------------------------

TEST(message_lines_are_counted_by_line_feeds)
{
    struct Row {
        const wchar_t* text;
        int lines;
    } rows[] = {
        {L"", 1}, {L"确定吗？", 1}, {L"a\nb", 2}, {L"a\r\nb", 2}, {L"a\n", 2},
        {L"\n\n", 3}, {L"a\rb", 1},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.text, MessageLineCount(r.text), r.lines);
}

TEST(message_line_parts)
{
    struct Row {
        const wchar_t* text;
        std::vector<std::wstring> parts;
    } rows[] = {
        {L"", {}},
        {L"abc", {L"abc"}},
        {L"a\r\nb", {L"a\r", L"b"}}, // the carriage return stays, undrawn
        {L"a\n", {L"a"}},            // nothing after the last line feed
        {L"a\n\nb", {L"a", L"", L"b"}},
        {L"\n", {L""}},
        {L"one\ntwo\nthree", {L"one", L"two", L"three"}},
    };
    for (const Row& r : rows) {
        const std::vector<std::wstring> got = MessageLineParts(r.text);
        CHECK_EQ_AT(r.text, got.size(), r.parts.size());
        for (size_t i = 0; i < got.size() && i < r.parts.size(); ++i)
            CHECK_EQ_AT(r.text, got[i], r.parts[i]);
    }
}

TEST(message_box_window_size)
{
    const SkinSize face = SkinSize{57, 23}; // image 133
    struct Row {
        const char* what;
        SkinSize text;
        int lines;
        SkinSize frame;
        SkinSize window;
    } rows[] = {
        {"one short line", SkinSize{100, 14}, 1, face, SkinSize{174, 130}},
        {"wide text", SkinSize{300, 14}, 1, face, SkinSize{360, 130}},
        {"between 2bw and 2bw+60", SkinSize{150, 14}, 1, face, SkinSize{174, 130}},
        {"exactly 2bw+60", SkinSize{174, 14}, 1, face, SkinSize{174, 130}},
        {"one past", SkinSize{175, 14}, 1, face, SkinSize{235, 130}},
        {"two lines", SkinSize{120, 28}, 2, face, SkinSize{174, 147}},
        {"three lines", SkinSize{250, 42}, 3, face, SkinSize{310, 164}},
        {"no button strip", SkinSize{10, 14}, 1, SkinSize{0, 0}, SkinSize{60, 107}},
        {"no button strip, wide", SkinSize{61, 14}, 1, SkinSize{0, 0}, SkinSize{121, 107}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, MessageBoxWindowSize(r.text, r.lines, r.frame), r.window);
}

TEST(message_line_boxes)
{
    struct Row {
        const char* what;
        int clientW;
        SkinSize text;
        int lines, index;
        SkinRect box;
    } rows[] = {
        {"one line", 174, SkinSize{100, 14}, 1, 0, SkinRect{37, 55, 100, 14}},
        {"odd centring", 175, SkinSize{100, 14}, 1, 0, SkinRect{37, 55, 100, 14}},
        {"first of three", 260, SkinSize{200, 42}, 3, 0, SkinRect{30, 55, 200, 14}},
        {"second of three", 260, SkinSize{200, 42}, 3, 1, SkinRect{30, 72, 200, 14}},
        {"third of three", 260, SkinSize{200, 42}, 3, 2, SkinRect{30, 89, 200, 14}},
        {"uneven height", 260, SkinSize{200, 43}, 3, 2, SkinRect{30, 89, 200, 14}},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.what, MessageLineBox(r.clientW, r.text, r.lines, r.index), r.box);
}

TEST(message_box_buttons)
{
    const SkinSize face = SkinSize{57, 23};
    struct Row {
        const char* what;
        SkinSize client;
        int style;
        std::vector<MessageBoxButton> buttons;
    } rows[] = {
        {"yes/no", SkinSize{174, 130}, 4,
         {{5000, SkinRect{20, 77, 57, 23}, L"是", L""}, {5001, SkinRect{97, 77, 57, 23}, L"否", L""}}},
        {"ok/cancel", SkinSize{174, 130}, 1,
         {{5000, SkinRect{20, 77, 57, 23}, L"确定", L""}, {5001, SkinRect{97, 77, 57, 23}, L"取消", L""}}},
        {"ok", SkinSize{174, 130}, 0, {{5000, SkinRect{58, 77, 57, 23}, L"确定", L"确定"}}},
        {"odd width ok", SkinSize{175, 130}, 0, {{5000, SkinRect{59, 77, 57, 23}, L"确定", L"确定"}}},
        {"odd width yes/no", SkinSize{175, 130}, 4,
         {{5000, SkinRect{20, 77, 57, 23}, L"是", L""}, {5001, SkinRect{97, 77, 57, 23}, L"否", L""}}},
        {"yes/no with icon flag", SkinSize{174, 130}, 0x24,
         {{5000, SkinRect{58, 77, 57, 23}, L"确定", L"确定"}}},
        {"other style", SkinSize{360, 130}, 2, {{5000, SkinRect{151, 77, 57, 23}, L"确定", L"确定"}}},
    };
    for (const Row& r : rows) {
        const std::vector<MessageBoxButton> got = MessageBoxButtons(r.client, face, r.style);
        CHECK_EQ_AT(r.what, got.size(), r.buttons.size());
        for (size_t i = 0; i < got.size() && i < r.buttons.size(); ++i) {
            CHECK_EQ_AT(r.what, got[i].id, r.buttons[i].id);
            CHECK_EQ_AT(r.what, got[i].rect, r.buttons[i].rect);
            CHECK_EQ_AT(r.what, std::wstring(got[i].text), std::wstring(r.buttons[i].text));
            CHECK_EQ_AT(r.what, std::wstring(got[i].windowText),
                        std::wstring(r.buttons[i].windowText));
        }
    }
}

TEST(message_box_buttons_sit_below_the_last_line)
{
    // Two lines of 14: the buttons' tops are 8 below the second line box and
    // their bottoms 30 above the window's bottom.
    const SkinSize window = MessageBoxWindowSize(SkinSize{120, 28}, 2, SkinSize{57, 23});
    CHECK_EQ(window, SkinSize{174, 147});
    CHECK_EQ(MessageLineBox(window.w, SkinSize{120, 28}, 2, 1), SkinRect{27, 72, 120, 14});
    const std::vector<MessageBoxButton> buttons = MessageBoxButtons(window, SkinSize{57, 23}, 4);
    CHECK_EQ(buttons.size(), 2u);
    if (buttons.size() == 2) {
        CHECK_EQ(buttons[0].rect, SkinRect{20, 94, 57, 23});
        CHECK_EQ(buttons[1].rect, SkinRect{97, 94, 57, 23});
    }
}

TEST(message_box_answers)
{
    struct Row {
        int style, command, answer;
    } rows[] = {
        {4, 5000, 6}, {4, 5001, 7}, {1, 5000, 1}, {1, 5001, 2},
        {0, 5000, 1}, {0x24, 5000, 1}, // flags turn yes/no into OK
        {4, 50000, 0}, {0, 1, 0},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(std::to_string(r.style) + "/" + std::to_string(r.command),
                    MessageBoxAnswer(r.style, r.command), r.answer);
}

CHECK_MAIN()
