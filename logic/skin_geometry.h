#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Geometry of the skinned toolkit, free of GDI so both builds can test it.
// Rectangles are (x, y, width, height) unless named edges.

struct SkinPoint {
    int x = 0;
    int y = 0;
};

struct SkinSize {
    int w = 0;
    int h = 0;
};

struct SkinRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// A RECT: left, top, right, bottom.
struct SkinEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool operator==(const SkinPoint& a, const SkinPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const SkinSize& a, const SkinSize& b) { return a.w == b.w && a.h == b.h; }
inline bool operator==(const SkinRect& a, const SkinRect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline bool operator==(const SkinEdges& a, const SkinEdges& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// ---- Keyed bitmaps ----------------------------------------------------------

// Magenta as a 32-bit DIB pixel (bytes B, G, R, 0); GDI has no alpha here, so
// every drawing path treats this one colour as transparent.
const uint32_t kSkinKeyPixel = 0x00FF00FF;

// One 0xAARRGGBB pixel as a DIB pixel 0x00RRGGBB: opaque kept, fully
// transparent becomes key, anything between is composed over white.
uint32_t KeyedPixel(uint32_t argb, uint32_t key = kSkinKeyPixel);

// The memory row of top-down image row `row` in a bottom-up DIB.
int BottomUpRow(int row, int height);

// Converts a top-down ARGB image (stride = width pixels) into the bits of a
// bottom-up DIB of the same size.
void KeyPixels(const uint32_t* argb, int width, int height, uint32_t* dib,
               uint32_t key = kSkinKeyPixel);

// ---- Image strips -----------------------------------------------------------

// Frames sit side by side; columns left over by the division are dropped.
int StripFrameWidth(int stripWidth, int frames);

// Source rectangle of frame `index` of a strip of `frames` frames.
SkinRect StripFrameRect(SkinSize strip, int frames, int index);

// ---- Dialog background ------------------------------------------------------

// One blit of the background: `stretch` scales src to dst, otherwise src is
// copied at dst's position with dst's size.
struct SkinPiece {
    SkinRect dst;
    SkinRect src;
    bool stretch = false;
};

// The blits that paint a window from its background image, in drawing order.
// captionHeight -1 means no caption band; the border then stands in for it.
// With stretch the image is cut into nine pieces; without, it is drawn
// unscaled and its right and bottom borders are drawn again at the window's
// right and bottom, so a window larger than the image still ends with them.
std::vector<SkinPiece> SkinBackgroundPieces(SkinSize window, SkinSize image, int border,
                                            int captionHeight, bool stretch);

// Tells whether image pixel (x, y), y = 0 at the top, holds the key colour.
using SkinKeyTest = std::function<bool(int x, int y)>;

// Window pixels to cut out of the window region so that key pixels in the
// image's 9x9 corner squares become rounded corners. Top corners map to the
// window's top, bottom corners to its bottom; right corners are mirrored from
// the window's right edge. Listed in scan order; where corner squares overlap
// (small images or windows) a pixel may be listed twice.
std::vector<SkinPoint> RegionCutPixels(SkinSize window, SkinSize image, const SkinKeyTest& isKey);

// The same, reading the bits of a keyed bottom-up DIB.
std::vector<SkinPoint> RegionCutPixelsFromDib(SkinSize window, SkinSize image,
                                              const uint32_t* dib, uint32_t key = kSkinKeyPixel);

// ---- Hit-testing and sizing -------------------------------------------------

// The platform's hit codes.
const int kHitClient = 1;
const int kHitCaption = 2;
const int kHitLeft = 10;
const int kHitRight = 11;
const int kHitTop = 12;
const int kHitTopLeft = 13;
const int kHitTopRight = 14;
const int kHitBottom = 15;
const int kHitBottomLeft = 16;
const int kHitBottomRight = 17;
// Not a hit code: leave the answer to the dialog's default procedure.
const int kHitDefault = -100;

// The top resize band is this deep whatever the border.
const int kTopSizeBand = 3;

struct SkinFrame {
    SkinSize client;
    int border = 3;
    int captionHeight = -1; // -1: no caption band, the whole window drags
    bool resizable = false;
    bool maximized = false;
};

// Inside the caption band (or anywhere, when there is none).
bool InCaptionBand(int y, int captionHeight);

// WM_NCHITTEST for a point in client coordinates.
int SkinHitTest(const SkinFrame& frame, SkinPoint point);

// SC_SIZE plus the edge code for a border hit; kNoSizeCommand for any other.
const int kNoSizeCommand = 0;
int SizeCommandForHit(int hit);

// WM_NCLBUTTONDBLCLK: whether it toggles maximize instead of default handling.
bool NcDoubleClickToggles(int hit, bool resizable);

// WM_LBUTTONDBLCLK: while maximized the caption hit-tests as client area, so
// the toggle back arrives here.
bool ClientDoubleClickToggles(const SkinFrame& frame, SkinPoint point);

// ---- Caption ----------------------------------------------------------------

// Where the 16x16 small icon is drawn.
SkinPoint CaptionIconPos(int captionHeight, int border);

// Where the title text starts; fontHeight is the LOGFONT height (either sign).
SkinPoint CaptionTitlePos(int captionHeight, int fontHeight, int border, bool hasIcon);

// The strip SetTitle repaints: from the title's start to the client's right
// edge, as tall as the measured text.
SkinRect TitleRepaintRect(SkinPoint titlePos, int clientWidth, int textHeight);

// Caption buttons, absent when not created.
struct CaptionButtons {
    std::optional<SkinRect> close;
    std::optional<SkinRect> max;
    std::optional<SkinRect> min;
};

// SetSkin: each button takes its strip's frame size and stands right to left
// from layoutRight - rightMargin, `gap` pixels apart. A button whose strip is
// not given is absent.
CaptionButtons PlaceCaptionButtonsOnSkin(int layoutRight, int rightMargin, int top, int gap,
                                         std::optional<SkinSize> closeFrame,
                                         std::optional<SkinSize> maxFrame,
                                         std::optional<SkinSize> minFrame);

// WM_SIZE: the existing buttons keep their size and top and move to stand edge
// to edge from clientWidth - rightMargin; the gap is not applied again.
CaptionButtons PlaceCaptionButtonsOnSize(const CaptionButtons& current, int clientWidth,
                                         int rightMargin);

// ---- Maximize and restore ---------------------------------------------------

// The work area, narrowed symmetrically to at most maxWidth x maxHeight
// (an odd surplus leaves the extra pixel in the window).
SkinRect MaximizedRect(SkinEdges workArea, int maxWidth, int maxHeight);

// Three quarters of the work area. The left and top are an eighth of its size,
// not offset by its origin.
SkinEdges InitialRestoreRect(SkinEdges workArea);

// ---- Image progress bar -----------------------------------------------------

// The fill image centred on the track.
SkinRect ProgressFillRect(SkinSize track, SkinSize fill);

// Filled width for a position: computed as fillWidth / (hi - lo) * pos in
// double, then truncated; pos is not offset by lo. An empty range fills
// nothing; the result is kept within 0..fillWidth.
int ProgressFilledWidth(int fillWidth, int pos, int lo, int hi);

// The fill drawn as its left end and its right end, meeting in the middle, so
// both rounded ends show at any length. Pieces of no width are left out.
std::vector<SkinPiece> ProgressFillPieces(SkinRect fillRect, int pos, int lo, int hi);

// pos * 100 / (hi - lo) in integers; 0 for an empty range.
int ProgressPercent(int pos, int lo, int hi);

// The percentage as drawn over the bar, "37%".
std::wstring ProgressText(int pos, int lo, int hi);

// ---- Message box ------------------------------------------------------------

const int kMsgBoxBtn1 = 5000;
const int kMsgBoxBtn2 = 5001;

// Platform message-box styles and results.
const int kMbOk = 0;
const int kMbOkCancel = 1;
const int kMbYesNo = 4;
const int kIdOk = 1;
const int kIdCancel = 2;
const int kIdYes = 6;
const int kIdNo = 7;

// 1 + the number of line feeds.
int MessageLineCount(const std::wstring& text);

// The parts drawn one per line: the text split at line feeds, without the
// empty remainder after a final line feed. Carriage returns stay in the parts.
std::vector<std::wstring> MessageLineParts(const std::wstring& text);

// Window size for text measured tw x th over `lines` lines, with buttons of
// the given frame size: at least room for two buttons, 30 pixels each side.
SkinSize MessageBoxWindowSize(SkinSize text, int lines, SkinSize buttonFrame);

// Box of line `index`: the block is centred as a whole, lines are the measured
// height divided evenly, 3 pixels apart, the first 55 pixels from the top.
SkinRect MessageLineBox(int clientWidth, SkinSize text, int lines, int index);

struct MessageBoxButton {
    int id = 0;
    SkinRect rect;
    const wchar_t* text = L"";       // drawn over the face
    const wchar_t* windowText = L""; // the button window's own text
};

// The buttons left to right. Styles other than yes/no and OK/cancel, also with
// flags added, get one centred OK button.
std::vector<MessageBoxButton> MessageBoxButtons(SkinSize client, SkinSize buttonFrame, int style);

// The result for a button command; 0 for a command that is no button of the
// box. Closing the box always answers kIdCancel.
int MessageBoxAnswer(int style, int commandId);
