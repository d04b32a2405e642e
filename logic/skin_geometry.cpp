#include "skin_geometry.h"

#include <algorithm>

namespace {

// Only this much of each image corner is scanned for key pixels.
const int kCornerScan = 9;

const int kIconSize = 16;
const int kTitleGap = 5;

const int kMsgBoxSideRoom = 60;
const int kMsgBoxFixedHeight = 90;
const int kMsgBoxLineGap = 3;
const int kMsgBoxTextTop = 55;
const int kMsgBoxButtonBottom = 30;
const int kMsgBoxButtonSpread = 10;

uint32_t OverWhite(uint32_t alpha, uint32_t channel)
{
    // a·(x − 255) + 65025 is never negative, so unsigned division truncates
    // the same way as the signed formula.
    return (alpha * channel + 255u * (255u - alpha)) / 255u;
}




int Shrink(int extent, int limit)
{
    return extent > limit ? (extent - limit) / 2 : 0;
}

} // namespace

uint32_t KeyedPixel(uint32_t argb, uint32_t key)
{
    const uint32_t a = argb >> 24;
    if (a == 255)
        return argb & 0x00FFFFFFu;
    if (a == 0)
        return key;
    const uint32_t r = OverWhite(a, (argb >> 16) & 0xFF);
    const uint32_t g = OverWhite(a, (argb >> 8) & 0xFF);
    const uint32_t b = OverWhite(a, argb & 0xFF);
    return (r << 16) | (g << 8) | b;
}

int BottomUpRow(int row, int height)
{
    return height - 1 - row;
}

void KeyPixels(const uint32_t* argb, int width, int height, uint32_t* dib, uint32_t key)
{
    for (int i = 0; i < height; ++i) {
        const uint32_t* src = argb + static_cast<size_t>(i) * width;
        uint32_t* dst = dib + static_cast<size_t>(BottomUpRow(i, height)) * width;
        for (int j = 0; j < width; ++j)
            dst[j] = KeyedPixel(src[j], key);
    }
}

int StripFrameWidth(int stripWidth, int frames)
{
    return frames > 0 ? stripWidth / frames : 0;
}

SkinRect StripFrameRect(SkinSize strip, int frames, int index)
{
    const int fw = StripFrameWidth(strip.w, frames);
    return SkinRect{index * fw, 0, fw, strip.h};
}

std::vector<SkinPiece> SkinBackgroundPieces(SkinSize window, SkinSize image, int border,
                                            int captionHeight, bool stretch)
{
    const int W = window.w, H = window.h, w = image.w, h = image.h;
    const int B = border;
    const int T = captionHeight == -1 ? B : captionHeight;

    const SkinPiece topRight = SkinPiece{SkinRect{W - B, 0, B, T}, SkinRect{w - B, 0, B, T}, false};
    const SkinPiece rightEdge =
        SkinPiece{SkinRect{W - B, T, B, H - T - B}, SkinRect{w - B, T, B, h - T - B}, true};
    const SkinPiece bottomLeft = SkinPiece{SkinRect{0, H - B, B, B}, SkinRect{0, h - B, B, B}, false};
    const SkinPiece bottomEdge =
        SkinPiece{SkinRect{B, H - B, W - 2 * B, B}, SkinRect{B, h - B, w - 2 * B, B}, true};
    const SkinPiece bottomRight = SkinPiece{SkinRect{W - B, H - B, B, B}, SkinRect{w - B, h - B, B, B}, false};

    if (!stretch) {
        return {SkinPiece{SkinRect{0, 0, W, H}, SkinRect{0, 0, W, H}, false}, topRight, rightEdge, bottomLeft,
                bottomEdge, bottomRight};
    }
    return {
        SkinPiece{SkinRect{0, 0, B, T}, SkinRect{0, 0, B, T}, false},
        SkinPiece{SkinRect{B, 0, W - 2 * B, T}, SkinRect{B, 0, w - 2 * B, T}, true},
        topRight,
        SkinPiece{SkinRect{0, T, B, H - T - B}, SkinRect{0, T, B, h - T - B}, true},
        rightEdge,
        SkinPiece{SkinRect{B, T, W - 2 * B, H - T - B}, SkinRect{B, T, w - 2 * B, h - T - B}, true},
        bottomLeft,
        bottomEdge,
        bottomRight,
    };
}

std::vector<SkinPoint> RegionCutPixels(SkinSize window, SkinSize image, const SkinKeyTest& isKey)
{
    const int W = window.w, H = window.h, w = image.w, h = image.h;
    const int cols = std::min(w, kCornerScan);
    std::vector<SkinPoint> cut;
    for (int i = 0; i < std::min(h, kCornerScan); ++i) {
        for (int j = 0; j < cols; ++j) {
            if (isKey(j, i))
                cut.push_back(SkinPoint{j, i});
            if (isKey(w - 1 - j, i))
                cut.push_back(SkinPoint{W - 1 - j, i});
        }
    }
    // Bottom rows of a short image start above it; those rows are not key.
    for (int r = std::max(h - kCornerScan, 0); r < h; ++r) {
        for (int j = 0; j < cols; ++j) {
            if (isKey(j, r))
                cut.push_back(SkinPoint{j, H - h + r});
            if (isKey(w - 1 - j, r))
                cut.push_back(SkinPoint{W - 1 - j, H - h + r});
        }
    }
    return cut;
}

std::vector<SkinPoint> RegionCutPixelsFromDib(SkinSize window, SkinSize image,
                                              const uint32_t* dib, uint32_t key)
{
    return RegionCutPixels(window, image, [&](int x, int y) {
        return dib[static_cast<size_t>(BottomUpRow(y, image.h)) * image.w + x] == key;
    });
}

bool InCaptionBand(int y, int captionHeight)
{
    return captionHeight == -1 || (y >= 0 && y < captionHeight);
}

int SkinHitTest(const SkinFrame& frame, SkinPoint point)
{
    if (frame.maximized)
        return kHitDefault;
    const int x = point.x, y = point.y;
    const int W = frame.client.w, H = frame.client.h;
    const int B = frame.border, K = frame.captionHeight;
    if (!frame.resizable)
        return InCaptionBand(y, K) ? kHitCaption : kHitDefault;

    const bool topRow = y >= 0 && y < B;
    const bool bottomRow = y >= H - B && y < H;
    if (x >= 0 && x < B)
        return topRow ? kHitTopLeft : bottomRow ? kHitBottomLeft : kHitLeft;
    if (x >= W - B && x < W)
        return topRow ? kHitTopRight : bottomRow ? kHitBottomRight : kHitRight;
    if (y >= 0 && y < kTopSizeBand)
        return kHitTop;
    if (y >= kTopSizeBand && y < K)
        return kHitCaption;
    // Without a caption band everything drags, even the bottom border.
    if (K == -1)
        return kHitCaption;
    if (bottomRow)
        return kHitBottom;
    return kHitDefault;
}

int SizeCommandForHit(int hit)
{
    // SC_SIZE + WMSZ_LEFT .. WMSZ_BOTTOMRIGHT follow the hit codes' order.
    if (hit >= kHitLeft && hit <= kHitBottomRight)
        return 0xF000 + (hit - kHitLeft + 1);
    return kNoSizeCommand;
}

bool NcDoubleClickToggles(int hit, bool resizable)
{
    return resizable && hit == kHitCaption;
}

bool ClientDoubleClickToggles(const SkinFrame& frame, SkinPoint point)
{
    return frame.maximized && InCaptionBand(point.y, frame.captionHeight);
}

SkinPoint CaptionIconPos(int captionHeight, int border)
{
    return SkinPoint{border, captionHeight == -1 ? 6 : (captionHeight - 15) / 2};
}

SkinPoint CaptionTitlePos(int captionHeight, int fontHeight, int border, bool hasIcon)
{
    const int fh = fontHeight < 0 ? -fontHeight : fontHeight;
    int t = (captionHeight - fh + 1) / 2;
    if (t < 0)
        t = 6;
    return SkinPoint{(hasIcon ? kIconSize : 0) + border + kTitleGap, t - 2};
}

SkinRect TitleRepaintRect(SkinPoint titlePos, int clientWidth, int textHeight)
{
    return SkinRect{titlePos.x, titlePos.y, clientWidth - titlePos.x, textHeight};
}

CaptionButtons PlaceCaptionButtonsOnSkin(int layoutRight, int rightMargin, int top, int gap,
                                         std::optional<SkinSize> closeFrame,
                                         std::optional<SkinSize> maxFrame,
                                         std::optional<SkinSize> minFrame)
{
    // x is the right edge of the next button; each step goes left by the width
    // of the button just placed, or by the close button's for a missing one.
    CaptionButtons out;
    int x = layoutRight - rightMargin;
    const int closeWidth = closeFrame ? closeFrame->w : 0;
    if (closeFrame)
        out.close = SkinRect{x - closeFrame->w, top, closeFrame->w, closeFrame->h};
    if (maxFrame) {
        x -= closeWidth + gap;
        out.max = SkinRect{x - maxFrame->w, top, maxFrame->w, maxFrame->h};
    }
    if (minFrame) {
        x -= (maxFrame ? maxFrame->w : closeWidth) + gap;
        out.min = SkinRect{x - minFrame->w, top, minFrame->w, minFrame->h};
    }
    return out;
}

CaptionButtons PlaceCaptionButtonsOnSize(const CaptionButtons& current, int clientWidth,
                                         int rightMargin)
{
    CaptionButtons out;
    int x = clientWidth - rightMargin;
    auto place = [&x](const std::optional<SkinRect>& button) -> std::optional<SkinRect> {
        if (!button)
            return std::nullopt;
        x -= button->w;
        return SkinRect{x, button->y, button->w, button->h};
    };
    out.close = place(current.close);
    out.max = place(current.max);
    out.min = place(current.min);
    return out;
}

SkinRect MaximizedRect(SkinEdges workArea, int maxWidth, int maxHeight)
{
    const int dx = Shrink(workArea.right - workArea.left, maxWidth);
    const int dy = Shrink(workArea.bottom - workArea.top, maxHeight);
    const int l = workArea.left + dx, r = workArea.right - dx;
    const int t = workArea.top + dy, b = workArea.bottom - dy;
    return SkinRect{l, t, r - l, b - t};
}

SkinEdges InitialRestoreRect(SkinEdges workArea)
{
    const int w8 = (workArea.right - workArea.left) / 8;
    const int h8 = (workArea.bottom - workArea.top) / 8;
    SkinEdges e;
    e.left = w8;
    e.top = h8;
    e.right = workArea.right - w8;
    e.bottom = workArea.bottom - h8;
    return e;
}

SkinRect ProgressFillRect(SkinSize track, SkinSize fill)
{
    return SkinRect{(track.w - fill.w) / 2, (track.h - fill.h) / 2, fill.w, fill.h};
}

int ProgressFilledWidth(int fillWidth, int pos, int lo, int hi)
{
    if (hi == lo)
        return 0;
    // Stored at each step so an x87 build rounds to double as SSE does, rather
    // than carrying extra precision into the truncation.
    volatile double perUnit = static_cast<double>(fillWidth) / (hi - lo);
    volatile double filled = perUnit * pos;
    const double a = filled;
    if (!(a > 0))
        return 0;
    if (a >= fillWidth)
        return fillWidth;
    return static_cast<int>(a);
}

std::vector<SkinPiece> ProgressFillPieces(SkinRect fillRect, int pos, int lo, int hi)
{
    const int a = ProgressFilledWidth(fillRect.w, pos, lo, hi);
    const int half = a / 2;
    std::vector<SkinPiece> pieces;
    if (half > 0)
        pieces.push_back(SkinPiece{SkinRect{fillRect.x, fillRect.y, half, fillRect.h},
                               SkinRect{0, 0, half, fillRect.h}, false});
    if (a - half > 0)
        pieces.push_back(SkinPiece{SkinRect{fillRect.x + half, fillRect.y, a - half, fillRect.h},
                               SkinRect{fillRect.w - (a - half), 0, a - half, fillRect.h}, false});
    return pieces;
}

int ProgressPercent(int pos, int lo, int hi)
{
    return hi == lo ? 0 : pos * 100 / (hi - lo);
}

std::wstring ProgressText(int pos, int lo, int hi)
{
    return std::to_wstring(ProgressPercent(pos, lo, hi)) + L"%";
}

int MessageLineCount(const std::wstring& text)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
}

std::vector<std::wstring> MessageLineParts(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t lf = text.find(L'\n'); lf != std::wstring::npos; lf = text.find(L'\n', start)) {
        parts.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    if (start < text.size())
        parts.push_back(text.substr(start));
    return parts;
}

SkinSize MessageBoxWindowSize(SkinSize text, int lines, SkinSize buttonFrame)
{
    const int room = 2 * buttonFrame.w + kMsgBoxSideRoom;
    SkinSize s;
    s.w = text.w <= room ? room : text.w + kMsgBoxSideRoom;
    s.h = kMsgBoxLineGap * lines + kMsgBoxFixedHeight + text.h + buttonFrame.h;
    return s;
}

SkinRect MessageLineBox(int clientWidth, SkinSize text, int lines, int index)
{
    const int lh = lines > 0 ? text.h / lines : text.h;
    return SkinRect{(clientWidth - text.w) / 2, kMsgBoxTextTop + index * (lh + kMsgBoxLineGap), text.w,
                lh};
}

std::vector<MessageBoxButton> MessageBoxButtons(SkinSize client, SkinSize buttonFrame, int style)
{
    const int bw = buttonFrame.w, bh = buttonFrame.h;
    const int top = client.h - kMsgBoxButtonBottom - bh;
    MessageBoxButton first, second;
    first.id = kMsgBoxBtn1;
    second.id = kMsgBoxBtn2;
    if (style == kMbYesNo || style == kMbOkCancel) {
        first.rect = SkinRect{client.w / 2 - kMsgBoxButtonSpread - bw, top, bw, bh};
        second.rect = SkinRect{client.w / 2 + kMsgBoxButtonSpread, top, bw, bh};
        first.text = style == kMbYesNo ? L"是" : L"确定";
        second.text = style == kMbYesNo ? L"否" : L"取消";
        return {first, second};
    }
    first.rect = SkinRect{(client.w - bw) / 2, top, bw, bh};
    first.text = L"确定";
    first.windowText = L"确定";
    return {first};
}

int MessageBoxAnswer(int style, int commandId)
{
    if (commandId == kMsgBoxBtn1)
        return style == kMbYesNo ? kIdYes : kIdOk;
    if (commandId == kMsgBoxBtn2)
        return style == kMbYesNo ? kIdNo : kIdCancel;
    return 0;
}
