// The skinned label and the image progress bar in real windows over a
// patterned parent, read back pixel by pixel.
//
// usage: controls_wintest.exe [SHOT_FOLDER [CASE_FILTER]]
// With a folder, screenshots of the bars and of the link go there as BMPs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "skin/gdi_handles.h"
#include "skin/img_progress.h"
#include "skin/skin_image.h"
#include "skin/static_ex.h"
#include "tests/check.h"

namespace {

const WORD ID_PADLOCK = 142;
const WORD ID_TRACK = 152;
const WORD ID_FILL = 153;
const int ID_LINK = 1005;

const COLORREF kKey = RGB(255, 0, 255);
// The parent's checkerboard: a control that takes its background from the
// wrong place shows the squares shifted.
const COLORREF kSquareA = RGB(0, 160, 160);
const COLORREF kSquareB = RGB(0, 96, 128);
const int kSquare = 8;
// Text colours: no blend of one of them with the squares gives another.
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);

const int kParentX = 40;
const int kParentY = 40;
const int kParentW = 640;
const int kParentH = 480;

const wchar_t kYaHei[] = L"\u5FAE\u8F6F\u96C5\u9ED1";
const wchar_t kSample[] = L"\u6D4B\u8BD5\u7528\u6C49\u5B57\u6765\u83B7\u53D6\u5BBD\u5EA6";
const wchar_t kLinkText[] = L"\u767B\u5F55\u5176\u4ED6\u8D26\u53F7";
const wchar_t kNumbers[] = L"\u4E00\u4E8C\u4E09\u56DB\u4E94\u516D\u4E03\u516B\u4E5D";
const wchar_t kDetails[] = L"\u8BE6\u7EC6>>";

std::string g_shotDir;

COLORREF ParentColourAt(int x, int y)
{
    return (x / kSquare + y / kSquare) % 2 ? kSquareB : kSquareA;
}

uint32_t ToDib(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

COLORREF FromDib(uint32_t p)
{
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

FontHandle MakeFont(int height, int weight, int width, BYTE underline, BYTE charset, const wchar_t* face)
{
    LOGFONTW lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfWidth = width;
    lf.lfUnderline = underline;
    lf.lfCharSet = charset;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return FontHandle(::CreateFontIndirectW(&lf));
}

// The font of a dialog template in Chinese, as the labels get it.
FontHandle MakeDialogFont(BYTE underline = 0)
{
    return MakeFont(-12, FW_NORMAL, 0, underline, GB2312_CHARSET, L"MS Shell Dlg");
}

// What the label's font should be: the dialog font in YaHei, with the
// given fields.
FontHandle MakeYaHei(int height, int weight, int width, BYTE underline)
{
    return MakeFont(height, weight, width, underline, GB2312_CHARSET, kYaHei);
}

SIZE Measure(HFONT hFont, const wchar_t* text)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    RECT rc = {0, 0, 0, 0};
    ::DrawTextW(hdc, text, -1, &rc, DT_CALCRECT);
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    return SIZE{rc.right, rc.bottom};
}

// Pixels as COLORREFs, top row first.
struct Shot {
    int w = 0;
    int h = 0;
    std::vector<COLORREF> px;

    COLORREF At(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    // Pixels of colour c in the columns from x0 on.
    int Count(COLORREF c, int x0 = 0) const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = x0; x < w; ++x)
                n += At(x, y) == c;
        return n;
    }
    // Colour c where the picture has it, black elsewhere.
    Shot Mask(COLORREF c) const
    {
        Shot m = *this;
        for (COLORREF& p : m.px)
            p = p == c ? c : 0;
        return m;
    }
};

// A top-down 32-bit DIB selected into a memory DC.
class CDibCanvas {
public:
    CDibCanvas(int w, int h) : m_w(w), m_h(h)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_hBmp = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_hdc = ::CreateCompatibleDC(nullptr);
        m_hOld = ::SelectObject(m_hdc, m_hBmp);
    }
    ~CDibCanvas()
    {
        ::SelectObject(m_hdc, m_hOld);
        ::DeleteObject(m_hBmp);
        ::DeleteDC(m_hdc);
    }
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    HDC Dc() const { return m_hdc; }
    void Set(int x, int y, COLORREF c) { m_bits[y * m_w + x] = ToDib(c); }
    // The parent's pattern as seen from (ox, oy) of the parent.
    void PaintParent(int ox, int oy)
    {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                Set(x, y, ParentColourAt(ox + x, oy + y));
    }
    // An image's pixels at (x, y), key pixels left out.
    void PutImage(const Shot& image, int x, int y)
    {
        for (int iy = 0; iy < image.h; ++iy)
            for (int ix = 0; ix < image.w; ++ix)
                if (image.At(ix, iy) != kKey)
                    Set(x + ix, y + iy, image.At(ix, iy));
    }
    Shot Pixels() const
    {
        ::GdiFlush();
        Shot s;
        s.w = m_w;
        s.h = m_h;
        for (int i = 0; i < m_w * m_h; ++i)
            s.px.push_back(FromDib(m_bits[i]));
        return s;
    }

private:
    int m_w;
    int m_h;
    HBITMAP m_hBmp = nullptr;
    uint32_t* m_bits = nullptr;
    HDC m_hdc = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

Shot BitmapPixels(HBITMAP hBmp)
{
    BITMAP bm;
    Shot s;
    if (!::GetObjectW(hBmp, sizeof bm, &bm))
        return s;
    CDibCanvas canvas(bm.bmWidth, bm.bmHeight);
    HDC hSrc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hSrc, hBmp);
    ::BitBlt(canvas.Dc(), 0, 0, bm.bmWidth, bm.bmHeight, hSrc, 0, 0, SRCCOPY);
    ::SelectObject(hSrc, hOld);
    ::DeleteDC(hSrc);
    return canvas.Pixels();
}

Shot SkinPixels(WORD id)
{
    HBITMAP hBmp = LoadSkinImage(nullptr, id);
    const Shot s = BitmapPixels(hBmp);
    ::DeleteObject(hBmp);
    return s;
}

// What the window shows now, after any pending paint.
Shot Grab(HWND hWnd)
{
    ::UpdateWindow(hWnd);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    CDibCanvas canvas(rc.right, rc.bottom);
    HDC hdc = ::GetDC(hWnd);
    ::BitBlt(canvas.Dc(), 0, 0, rc.right, rc.bottom, hdc, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hdc);
    return canvas.Pixels();
}

// What the window shows once it has painted itself from scratch. Painting
// may resize a label, which asks for one more paint.
Shot Capture(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return Grab(hWnd);
}

// How two pictures differ: the number of pixels and the first of them.
std::string Difference(const Shot& got, const std::function<COLORREF(int, int)>& want)
{
    int count = 0;
    std::string first;
    for (int y = 0; y < got.h; ++y) {
        for (int x = 0; x < got.w; ++x) {
            if (got.At(x, y) == want(x, y))
                continue;
            if (count++ == 0)
                first = " first at (" + std::to_string(x) + "," + std::to_string(y) + "): got " +
                        std::to_string(got.At(x, y)) + ", want " + std::to_string(want(x, y));
        }
    }
    return count ? std::to_string(count) + " pixels differ;" + first : "";
}

std::string Difference(const Shot& got, const Shot& want)
{
    if (got.w != want.w || got.h != want.h)
        return "size " + std::to_string(got.w) + "x" + std::to_string(got.h) + " instead of " +
               std::to_string(want.w) + "x" + std::to_string(want.h);
    return Difference(got, [&](int x, int y) { return want.At(x, y); });
}

void SaveShot(const std::string& name, const Shot& s)
{
    if (g_shotDir.empty() || s.w == 0 || s.h == 0)
        return;
    const int stride = (s.w * 3 + 3) & ~3;
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = s.w;
    ih.biHeight = s.h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride * s.h);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string rows(ih.biSizeImage, '\0');
    for (int y = 0; y < s.h; ++y) {
        char* row = &rows[static_cast<size_t>((s.h - 1 - y) * stride)];
        for (int x = 0; x < s.w; ++x) {
            const COLORREF c = s.At(x, y);
            row[3 * x] = static_cast<char>(GetBValue(c));
            row[3 * x + 1] = static_cast<char>(GetGValue(c));
            row[3 * x + 2] = static_cast<char>(GetRValue(c));
        }
    }
    std::ofstream out(g_shotDir + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
}

// Dispatches messages until the condition holds, for at most five seconds.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < 5000) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return done();
}

void MouseTo(POINT pt)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = ::MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = ::MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

void MouseClick()
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof in[0]);
}

POINT CentreOnScreen(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// The window every case puts its controls in. Made once: Wine waits for
// each destroyed top-level window to be unmapped.
HWND SharedParentWindow()
{
    static HWND s_hWnd = nullptr;
    if (!s_hWnd) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ControlsTestParent";
        ::RegisterClassW(&wc);
        s_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   kParentX, kParentY, kParentW, kParentH, nullptr, nullptr, wc.hInstance, nullptr);
    }
    return s_hWnd;
}

// A skinned parent: paints the checkerboard into whatever DC it is handed
// and records the commands and clicks that reach it. Each case gets it
// without children and leaves it so.
class CCheckedParent : public CWnd {
public:
    CCheckedParent()
    {
        SubclassWindow(SharedParentWindow());
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    ~CCheckedParent() override
    {
        while (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD))
            ::DestroyWindow(hChild);
    }

    std::vector<WPARAM> m_commands;
    int m_nClicks = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_ERASEBKGND) {
            HDC hdc = reinterpret_cast<HDC>(wParam);
            RECT clip;
            ::GetClipBox(hdc, &clip);
            HBRUSH hA = ::CreateSolidBrush(kSquareA);
            HBRUSH hB = ::CreateSolidBrush(kSquareB);
            for (int y = std::max(0L, clip.top) / kSquare * kSquare; y < clip.bottom; y += kSquare) {
                for (int x = std::max(0L, clip.left) / kSquare * kSquare; x < clip.right; x += kSquare) {
                    RECT sq = {x, y, x + kSquare, y + kSquare};
                    ::FillRect(hdc, &sq, ParentColourAt(x, y) == kSquareA ? hA : hB);
                }
            }
            ::DeleteObject(hA);
            ::DeleteObject(hB);
            return TRUE;
        }
        if (msg == WM_LBUTTONDOWN)
            ++m_nClicks;
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_commands.push_back(wParam);
        return TRUE;
    }
};

HWND MakeStatic(const CWnd& parent, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0)
{
    return ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent.m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

HWND MakeBar(const CWnd& parent, int x, int y, int w, int h)
{
    return ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, x, y, w, h, parent.m_hWnd, nullptr,
                             nullptr, nullptr);
}

// Where a child sits in its parent's client area.
POINT OffsetInParent(HWND hChild)
{
    RECT rc;
    ::GetWindowRect(hChild, &rc);
    POINT pt = {rc.left, rc.top};
    ::ScreenToClient(::GetParent(hChild), &pt);
    return pt;
}

int WindowHeight(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return rc.bottom - rc.top;
}

// What a label should show: the parent's pattern, an optional image, and the
// given lines drawn one under the other in the box.
struct LabelLook {
    HFONT font = nullptr;
    COLORREF colour = 0;
    std::vector<std::wstring> lines;
    UINT format = DT_WORDBREAK;
    int left = 0;
    int right = 0;
    int lineHeight = 0;
    int step = 0;
    const Shot* image = nullptr;
    POINT imageAt = {};
};

Shot LabelReference(HWND hLabel, const LabelLook& look)
{
    RECT rc;
    ::GetClientRect(hLabel, &rc);
    const POINT at = OffsetInParent(hLabel);
    CDibCanvas canvas(rc.right, rc.bottom);
    canvas.PaintParent(at.x, at.y);
    if (look.image)
        canvas.PutImage(*look.image, look.imageAt.x, look.imageAt.y);
    HGDIOBJ hOld = ::SelectObject(canvas.Dc(), look.font);
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::SetTextColor(canvas.Dc(), look.colour);
    for (size_t i = 0; i < look.lines.size(); ++i) {
        const int top = static_cast<int>(i) * look.step;
        RECT box = {look.left, top, look.right, top + look.lineHeight};
        ::DrawTextW(canvas.Dc(), look.lines[i].c_str(), static_cast<int>(look.lines[i].size()), &box, look.format);
    }
    ::SelectObject(canvas.Dc(), hOld);
    return canvas.Pixels();
}

// Pixels that are not the parent's pattern under the window.
int Ink(HWND hWnd, const Shot& s)
{
    const POINT at = OffsetInParent(hWnd);
    int n = 0;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            n += s.At(x, y) != ParentColourAt(at.x + x, at.y + y);
    return n;
}

// What a bar should show for a filled width a split at half.
struct BarLook {
    const Shot* track = nullptr;
    const Shot* fill = nullptr;
    RECT fillRect = {};
    int a = 0;
    int half = 0;
    POINT at = {};
};

COLORREF BarPixel(const BarLook& look, int x, int y)
{
    COLORREF c = ParentColourAt(look.at.x + x, look.at.y + y);
    if (look.track && x < look.track->w && y < look.track->h && look.track->At(x, y) != kKey)
        c = look.track->At(x, y);
    if (look.fill) {
        const int fx = x - look.fillRect.left, fy = y - look.fillRect.top;
        int src = -1;
        if (fx >= 0 && fx < look.half)
            src = fx;
        else if (fx >= look.half && fx < look.a)
            src = fx + look.fill->w - look.a;
        if (src >= 0 && fy >= 0 && fy < look.fill->h && look.fill->At(src, fy) != kKey)
            c = look.fill->At(src, fy);
    }
    return c;
}

// How a captured 390 x 21 bar differs from its track with a fill a pixels
// wide (its left half `half` pixels) drawn over the parent.
std::string BarDifference(const Shot& got, HWND hBar, const Shot* track, const Shot* fill, int a, int half)
{
    BarLook look;
    look.track = track;
    look.fill = fill;
    look.fillRect = RECT{0, 0, 390, 21};
    look.a = a;
    look.half = half;
    look.at = OffsetInParent(hBar);
    return Difference(got, [&](int x, int y) { return BarPixel(look, x, y); });
}

// A keyed test image whose every column has its own colour, with key
// pixels in the top corners.
HBITMAP MakeColumnImage(int w, int h, BYTE green)
{
    CDibCanvas canvas(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            canvas.Set(x, y, (y == 0 && (x == 0 || x == w - 1)) ? kKey : RGB(x & 0xFF, green, (x >> 8) * 64 + y));
    return static_cast<HBITMAP>(
        ::CopyImage(::GetCurrentObject(canvas.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

RECT Rect(int l, int t, int r, int b)
{
    return RECT{l, t, r, b};
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

} // namespace

TEST(label_text_format_follows_the_style)
{
    const struct {
        LONG style;
        UINT format;
    } rows[] = {
        {SS_LEFT, 0x10},
        {SS_CENTER, 0x15},
        {SS_RIGHT, 0x12},
        {SS_CENTER | SS_RIGHT, 0x15},
        {SS_ENDELLIPSIS, 0x8010},
        {SS_PATHELLIPSIS, 0x4030},
        {SS_CENTERIMAGE, 0x34},
        {SS_RIGHT | SS_ENDELLIPSIS, 0x8012},
        {SS_CENTER | SS_CENTERIMAGE, 0x35},
        {SS_NOTIFY | SS_RIGHT, 0x12},
    };
    for (const auto& r : rows)
        CHECK_EQ_AT(r.style, LabelTextFormat(r.style), r.format);
}

TEST(label_font_is_the_base_font_in_yahei_with_the_overrides)
{
    LOGFONTW sys;
    ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof sys, &sys);
    const struct {
        bool dialogFont;
        BYTE baseUnderline;
        int height, weight, width;
        BOOL underline;
        LONG wantHeight, wantWeight, wantWidth;
        BYTE wantUnderline;
    } rows[] = {
        {true, 0, 0, -1, 0, FALSE, -12, FW_NORMAL, 0, 0},
        {true, 0, 20, -1, 0, FALSE, 20, FW_NORMAL, 0, 0},
        {true, 0, -16, 700, 0, FALSE, -16, 700, 0, 0},
        {true, 0, 0, 0, 0, FALSE, -12, 0, 0, 0},
        {true, 0, 0, -1, 7, TRUE, -12, FW_NORMAL, 7, 1},
        {true, 1, 0, -1, 0, FALSE, -12, FW_NORMAL, 0, 1},
        {false, 0, 0, -1, 0, FALSE, sys.lfHeight, sys.lfWeight, sys.lfWidth, 0},
        {false, 0, -20, 300, 0, TRUE, -20, 300, sys.lfWidth, 1},
    };
    CCheckedParent parent;
    int row = 0;
    for (const auto& r : rows) {
        FontHandle base = MakeDialogFont(r.baseUnderline);
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, L"x", 0, 10, 10, 100, 20));
        if (r.dialogFont)
            ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_nFontHeight = r.height;
        label.m_nFontWeight = r.weight;
        label.m_nFontWidth = r.width;
        label.m_bUnderline = r.underline;
        LOGFONTW lf = {};
        CHECK_EQ_AT(row, ::GetObjectW(label.GetLabelFont(), sizeof lf, &lf), static_cast<int>(sizeof lf));
        CHECK_EQ_AT(row, lf.lfHeight, r.wantHeight);
        CHECK_EQ_AT(row, lf.lfWeight, r.wantWeight);
        CHECK_EQ_AT(row, lf.lfWidth, r.wantWidth);
        CHECK_EQ_AT(row, lf.lfUnderline, r.wantUnderline);
        CHECK_EQ_AT(row, lf.lfCharSet, r.dialogFont ? static_cast<BYTE>(GB2312_CHARSET) : sys.lfCharSet);
        CHECK_EQ_AT(row, std::wstring(lf.lfFaceName), std::wstring(kYaHei));
        ::DestroyWindow(label.m_hWnd);
        ++row;
    }
}

TEST(label_takes_its_text_from_the_window)
{
    const wchar_t* rows[] = {kLinkText, L"", kDetails, L"a\r\nb"};
    CCheckedParent parent;
    for (const wchar_t* text : rows) {
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, text, 0, 10, 10, 100, 20));
        CHECK_EQ_AT(text, label.m_strText, std::wstring(text));
    }
}

TEST(label_draws_its_text_in_its_font_and_colour)
{
    const struct {
        const wchar_t* text;
        DWORD style;
        int height, weight;
        BOOL underline;
        COLORREF colour;
        LONG wantHeight, wantWeight;
        UINT format;
    } rows[] = {
        {kLinkText, 0, 0, -1, FALSE, kWhite, -12, FW_NORMAL, 0x10},
        {kLinkText, SS_CENTER, -16, 700, FALSE, kYellow, -16, 700, 0x15},
        {kDetails, SS_RIGHT, 0, -1, TRUE, kRed, -12, FW_NORMAL, 0x12},
        {L"Pelux 8266", SS_CENTERIMAGE, 20, -1, TRUE, RGB(0, 0, 0), 20, FW_NORMAL, 0x34},
    };
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    int row = 0;
    for (const auto& r : rows) {
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, r.text, r.style, 13, 11 + 50 * row, 160, 40));
        ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_nFontHeight = r.height;
        label.m_nFontWeight = r.weight;
        label.m_bUnderline = r.underline;
        label.m_crText = r.colour;
        const Shot got = Capture(label.m_hWnd);

        FontHandle want = MakeYaHei(r.wantHeight, r.wantWeight, 0, r.underline ? 1 : 0);
        LabelLook look;
        look.font = want.get();
        look.colour = r.colour;
        look.lines = {r.text};
        look.format = r.format;
        look.right = 160;
        look.lineHeight = Measure(want.get(), kSample).cy;
        look.step = look.lineHeight + 3;
        CHECK_EQ_AT(row, Difference(got, LabelReference(label.m_hWnd, look)), std::string());
        CHECK_EQ_AT(row, got.Count(r.colour) > 0, true);
        CHECK_EQ_AT(row, WindowHeight(label.m_hWnd), 40);
        ++row;
    }
}

TEST(label_breaks_lines_between_any_two_characters)
{
    const wchar_t kTwoThenThree[] = L"\u4E00\u4E8C \u4E09\u56DB\u4E94";
    const struct {
        const wchar_t* text;
        const wchar_t* widthOf; // the label is as wide as this; null: 200
        std::vector<std::wstring> lines;
    } rows[] = {
        {kNumbers, L"\u4E00\u4E8C\u4E09\u56DB", {L"\u4E00\u4E8C\u4E09\u56DB", L"\u4E94\u516D\u4E03\u516B", L"\u4E5D"}},
        {kTwoThenThree, L"\u4E00\u4E8C \u4E09", {L"\u4E00\u4E8C \u4E09", L"\u56DB\u4E94"}},
        {L"AB CD EF", L"AB CD", {L"AB CD", L" EF"}},
        {L"\u4E00\u4E8C\r\n\u4E09\u56DB", nullptr, {L"\u4E00\u4E8C", L"\u4E09\u56DB"}},
        {L"\u4E00\u4E8C\n\u4E09\u56DB", nullptr, {L"\u4E00\u4E8C", L"\u4E09\u56DB"}},
        {L"\u4E00\r\u4E8C", nullptr, {L"\u4E00\u4E8C"}},
        {L"\u4E00\u4E8C\n\n\u4E09", nullptr, {L"\u4E00\u4E8C", L"", L"\u4E09"}},
        {L"\u4E00\u4E8C\n", nullptr, {L"\u4E00\u4E8C", L""}},
    };
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    FontHandle want = MakeYaHei(-12, FW_NORMAL, 0, 0);
    const int lineHeight = Measure(want.get(), kSample).cy;
    int row = 0;
    for (const auto& r : rows) {
        const int width = r.widthOf ? Measure(want.get(), r.widthOf).cx : 200;
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, r.text, 0, 20, 20, width, 5));
        ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_crText = kWhite;
        const Shot got = Capture(label.m_hWnd);
        const int lines = static_cast<int>(r.lines.size());
        CHECK_EQ_AT(row, WindowHeight(label.m_hWnd), (lines - 1) * (lineHeight + 3) + lineHeight);

        LabelLook look;
        look.font = want.get();
        look.colour = kWhite;
        look.lines = r.lines;
        look.right = width;
        look.lineHeight = lineHeight;
        look.step = lineHeight + 3;
        const Shot wantShot = LabelReference(label.m_hWnd, look);
        CHECK_EQ_AT(row, Difference(got, wantShot), std::string());
        if (row == 0)
            SaveShot("label_lines", got);
        ::DestroyWindow(label.m_hWnd);
        ++row;
    }
}

TEST(label_grows_to_its_lines_and_never_shrinks)
{
    const struct {
        const wchar_t* text;
        int lines;
        int lineSpace;
        int height; // -1: exactly what the lines need
    } rows[] = {
        {L"a\nb\nc", 3, 3, 30}, {L"a\nb\nc", 3, 3, 60}, {L"a\nb\nc", 3, 3, -1}, {L"a", 1, 3, 5},
        {L"a\nb", 2, 0, 5},     {L"a\nb\nc\nd", 4, 7, 5}, {L"a\nb\nc\nd", 4, 7, -1},
    };
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    FontHandle want = MakeYaHei(-12, FW_NORMAL, 0, 0);
    const int lineHeight = Measure(want.get(), kSample).cy;
    int row = 0;
    for (const auto& r : rows) {
        const int needed = (r.lines - 1) * (lineHeight + r.lineSpace) + lineHeight;
        const int height = r.height < 0 ? needed : r.height;
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, r.text, 0, 30, 40, 120, height));
        ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_nLineSpace = r.lineSpace;
        Capture(label.m_hWnd);
        CHECK_EQ_AT(row, WindowHeight(label.m_hWnd), std::max(height, needed));
        CHECK_EQ_AT(row, OffsetInParent(label.m_hWnd).y, 40L);
        // Fewer lines later leave the height as it is.
        label.m_strText = L"a";
        Capture(label.m_hWnd);
        CHECK_EQ_AT(row, WindowHeight(label.m_hWnd), std::max(height, needed));
        ::DestroyWindow(label.m_hWnd);
        ++row;
    }
}

TEST(label_narrower_than_one_character_draws_nothing)
{
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    const struct {
        bool dialogFont;
        int extra; // label width = the sample's character width + extra
        bool drawn;
    } rows[] = {{true, -1, false}, {true, 0, true}, {false, -1, false}, {false, 0, true}};
    int row = 0;
    for (const auto& r : rows) {
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, kNumbers, 0, 50, 60, 40, 5));
        if (r.dialogFont)
            ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_crText = kWhite;
        const int charWidth = Measure(label.GetLabelFont(), kSample).cx / 10;
        ::SetWindowPos(label.m_hWnd, nullptr, 0, 0, charWidth + r.extra, 5, SWP_NOMOVE | SWP_NOZORDER);
        const Shot got = Capture(label.m_hWnd);
        CHECK_EQ_AT(row, Ink(label.m_hWnd, got) > 0, r.drawn);
        CHECK_EQ_AT(row, WindowHeight(label.m_hWnd) > 5, r.drawn);
        ::DestroyWindow(label.m_hWnd);
        ++row;
    }
}

TEST(label_draws_its_image_beside_the_text)
{
    HBITMAP hPadlock = LoadSkinImage(nullptr, ID_PADLOCK);
    const Shot padlock = BitmapPixels(hPadlock);
    CHECK_EQ(padlock.w, 14);
    CHECK_EQ(padlock.h, 16);
    CHECK(padlock.Count(kKey) > 0);

    const struct {
        bool right;
        DWORD style;
        UINT format;
        int imageX, boxLeft, boxRight;
    } rows[] = {
        {false, 0, 0x10, 3, 20, 150},
        {true, 0, 0x10, 133, 0, 130},
        {false, SS_RIGHT, 0x12, 3, 20, 150},
        {true, SS_RIGHT, 0x12, 133, 0, 130},
    };
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    FontHandle want = MakeYaHei(-12, FW_NORMAL, 0, 0);
    int row = 0;
    for (const auto& r : rows) {
        CStaticEx label;
        label.SubclassWindow(MakeStatic(parent, kLinkText, r.style, 21, 35, 150, 30));
        ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
        label.m_crText = kWhite;
        label.m_bImageRight = TRUE;
        CHECK_EQ_AT(row, label.SetImage(hPadlock), TRUE);
        CHECK_EQ_AT(row, label.m_bImageRight, FALSE);
        CHECK_EQ_AT(row, label.m_nImageWidth, 14);
        CHECK_EQ_AT(row, label.m_nImageHeight, 16);
        label.m_bImageRight = r.right ? TRUE : FALSE;
        const Shot got = Capture(label.m_hWnd);

        LabelLook look;
        look.font = want.get();
        look.colour = kWhite;
        look.lines = {kLinkText};
        look.format = r.format;
        look.left = r.boxLeft;
        look.right = r.boxRight;
        look.lineHeight = Measure(want.get(), kSample).cy;
        look.step = look.lineHeight + 3;
        look.image = &padlock;
        look.imageAt = POINT{r.imageX, (30 - 16) / 2};
        CHECK_EQ_AT(row, Difference(got, LabelReference(label.m_hWnd, look)), std::string());
        ++row;
    }
    // The bitmap stays the caller's, key pixels and all.
    CHECK_EQ(Difference(BitmapPixels(hPadlock), padlock), std::string());
    ::DeleteObject(hPadlock);
}

TEST(label_set_image_without_a_bitmap_keeps_the_image)
{
    HBITMAP hPadlock = LoadSkinImage(nullptr, ID_PADLOCK);
    const Shot padlock = BitmapPixels(hPadlock);
    CCheckedParent parent;
    CStaticEx label;
    label.SubclassWindow(MakeStatic(parent, L"", 0, 17, 9, 40, 20));
    CHECK(label.SetImage(hPadlock));
    ::DeleteObject(hPadlock);
    label.m_bImageRight = TRUE;
    CHECK_EQ(label.SetImage(nullptr), FALSE);
    CHECK_EQ(label.m_bImageRight, FALSE);
    CHECK_EQ(label.m_nImageWidth, 14);
    CHECK_EQ(label.m_nImageHeight, 16);
    CHECK_EQ(::ImageList_GetImageCount(label.m_imgList.get()), 1);

    const Shot got = Capture(label.m_hWnd);
    CDibCanvas want(40, 20);
    want.PaintParent(17, 9);
    want.PutImage(padlock, 3, 2);
    CHECK_EQ(Difference(got, want.Pixels()), std::string());
}

TEST(label_hover_colour_follows_hover_and_leave)
{
    const struct {
        BOOL hoverColour;
        UINT msg;
        bool hovered;
    } rows[] = {
        {TRUE, WM_MOUSEHOVER, true},   {TRUE, WM_MOUSELEAVE, false},
        {FALSE, WM_MOUSEHOVER, true},  {FALSE, WM_MOUSELEAVE, false},
    };
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    CStaticEx label;
    label.SubclassWindow(MakeStatic(parent, kLinkText, 0, 40, 40, 120, 20));
    ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
    label.m_crText = kWhite;
    label.m_crHover = kRed;
    Capture(label.m_hWnd);
    int row = 0;
    for (const auto& r : rows) {
        label.m_bHoverColor = r.hoverColour;
        label.m_bTracking = TRUE;
        ::ValidateRect(label.m_hWnd, nullptr);
        ::SendMessageW(label.m_hWnd, r.msg, 0, MAKELPARAM(5, 5));
        CHECK_EQ_AT(row, ::GetUpdateRect(label.m_hWnd, nullptr, FALSE) != FALSE, true);
        CHECK_EQ_AT(row, label.m_bHover != FALSE, r.hovered);
        CHECK_EQ_AT(row, label.m_bTracking != FALSE, r.hovered);
        // Only the paint the message asked for: no forced redraw.
        const Shot got = Grab(label.m_hWnd);
        const bool showsHover = r.hoverColour && r.hovered;
        CHECK_EQ_AT(row, got.Count(kRed) > 0, showsHover);
        CHECK_EQ_AT(row, got.Count(kWhite) > 0, !showsHover);
        ++row;
    }
}

TEST(label_cursor_is_the_hand_only_when_asked)
{
    const HCURSOR hHand = ::LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR hCross = ::LoadCursorW(nullptr, IDC_CROSS);
    CCheckedParent parent;
    CStaticEx label;
    label.SubclassWindow(MakeStatic(parent, kLinkText, SS_NOTIFY, 40, 40, 120, 20));
    for (const BOOL hand : {FALSE, TRUE}) {
        label.m_bHandCursor = hand;
        ::SetCursor(hCross);
        const LRESULT handled = ::SendMessageW(label.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        CHECK_EQ_AT(hand, handled, static_cast<LRESULT>(TRUE));
        CHECK_EQ_AT(hand, ::GetCursor() == hHand, hand != FALSE);
        CHECK_EQ_AT(hand, ::GetCursor() == hCross, hand == FALSE);
    }
}

TEST(link_follows_the_real_mouse_and_reports_clicks)
{
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    // The primary window's "log in another account" link.
    CStaticEx link;
    link.SubclassWindow(MakeStatic(parent, kLinkText, 0, kParentW - 360, 7, 92, 16, ID_LINK));
    ::SendMessageW(link.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
    link.m_crText = kWhite;
    link.m_bHandCursor = TRUE;
    link.m_bUnderline = TRUE;
    link.m_bHoverColor = TRUE;
    link.m_crHover = kYellow;
    ::SetWindowLongW(link.m_hWnd, GWL_STYLE, ::GetWindowLongW(link.m_hWnd, GWL_STYLE) | SS_NOTIFY);
    HBITMAP hPadlock = LoadSkinImage(nullptr, ID_PADLOCK);
    link.SetImage(hPadlock);
    ::DeleteObject(hPadlock);
    // A plain label does not take the mouse: clicks fall through to the parent.
    CStaticEx plain;
    plain.SubclassWindow(MakeStatic(parent, kDetails, 0, 40, 200, 92, 16, 1022));
    ::SendMessageW(plain.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
    plain.m_crText = kWhite;
    plain.m_bHandCursor = TRUE;

    // The text starts right of the padlock.
    const int textX = 3 + 14 + 3;
    const Shot before = Capture(link.m_hWnd);
    CHECK(before.Count(kWhite, textX) > 0);
    CHECK_EQ(before.Count(kYellow, textX), 0);
    SaveShot("label_link", before);

    MouseTo(CentreOnScreen(link.m_hWnd));
    CHECK(PumpUntil([&] { return link.m_bHover != FALSE; }));
    CHECK(link.m_bTracking);
    const Shot hovered = Grab(link.m_hWnd);
    CHECK(hovered.Count(kYellow, textX) > 0);
    CHECK_EQ(hovered.Count(kWhite, textX), 0);
    SaveShot("label_link_hover", hovered);
    CURSORINFO ci = {};
    ci.cbSize = sizeof ci;
    ::GetCursorInfo(&ci);
    CHECK(ci.hCursor == ::LoadCursorW(nullptr, IDC_HAND));

    MouseClick();
    CHECK(PumpUntil([&] { return !parent.m_commands.empty(); }));
    CHECK_EQ(parent.m_commands.size(), 1u);
    if (!parent.m_commands.empty())
        CHECK_EQ(parent.m_commands[0], static_cast<WPARAM>(MAKEWPARAM(ID_LINK, STN_CLICKED)));

    MouseTo(POINT{kParentX + kParentW + 100, kParentY + kParentH + 100});
    CHECK(PumpUntil([&] { return !link.m_bHover; }));
    CHECK_EQ(link.m_bTracking, FALSE);
    const Shot left = Grab(link.m_hWnd);
    CHECK_EQ(Difference(left, before), std::string());

    const int clicks = parent.m_nClicks;
    MouseTo(CentreOnScreen(plain.m_hWnd));
    MouseClick();
    CHECK(PumpUntil([&] { return parent.m_nClicks > clicks; }));
    CHECK_EQ(parent.m_commands.size(), 1u);
    CHECK_EQ(plain.m_bHover, FALSE);
    ::GetCursorInfo(&ci);
    CHECK(ci.hCursor != ::LoadCursorW(nullptr, IDC_HAND));
    MouseTo(POINT{kParentX + kParentW + 100, kParentY + kParentH + 100});
}

TEST(label_font_is_built_once)
{
    CCheckedParent parent;
    FontHandle base = MakeDialogFont();
    CStaticEx label;
    label.SubclassWindow(MakeStatic(parent, kLinkText, 0, 40, 40, 200, 40));
    ::SendMessageW(label.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(base.get()), FALSE);
    label.m_crText = kWhite;
    const Shot first = Capture(label.m_hWnd);
    const HFONT hFont = label.GetLabelFont();
    label.m_nFontHeight = -24;
    label.m_nFontWeight = 700;
    label.m_bUnderline = TRUE;
    const Shot second = Capture(label.m_hWnd);
    CHECK(label.GetLabelFont() == hFont);
    CHECK_EQ(Difference(second, first), std::string());
    CHECK(first.Count(kWhite) > 0);
}

TEST(controls_leave_erasing_to_their_painting)
{
    CCheckedParent parent;
    CStaticEx label;
    label.SubclassWindow(MakeStatic(parent, kLinkText, 0, 10, 10, 100, 20));
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 10, 50, 100, 20));
    bar.SetImages(LoadSkinImage(nullptr, ID_TRACK), LoadSkinImage(nullptr, ID_FILL));
    for (const HWND hWnd : {label.m_hWnd, bar.m_hWnd}) {
        CDibCanvas canvas(4, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                canvas.Set(x, y, kRed);
        CHECK(::SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0) != 0);
        CHECK_EQ(canvas.Pixels().Count(kRed), 16);
    }
}

TEST(bar_takes_the_track_size_and_centres_the_fill)
{
    const struct {
        int tw, th, fw, fh; // tw 0: no track
        RECT ctrl, fill;
    } rows[] = {
        {390, 21, 390, 21, Rect(0, 0, 390, 21), Rect(0, 0, 390, 21)},
        {40, 10, 30, 6, Rect(0, 0, 40, 10), Rect(5, 2, 35, 8)},
        {41, 11, 30, 6, Rect(0, 0, 41, 11), Rect(5, 2, 35, 8)},
        {30, 6, 40, 10, Rect(0, 0, 30, 6), Rect(-5, -2, 35, 8)},
        {0, 0, 30, 6, Rect(0, 0, 100, 12), Rect(35, 3, 65, 9)},
    };
    CCheckedParent parent;
    int row = 0;
    for (const auto& r : rows) {
        CImgProgress bar;
        bar.SubclassWindow(MakeBar(parent, 30, 30, 100, 12));
        HBITMAP hTrack = r.tw ? MakeColumnImage(r.tw, r.th, 60) : nullptr;
        CHECK_EQ_AT(row, bar.SetImages(hTrack, MakeColumnImage(r.fw, r.fh, 200)), TRUE);
        CHECK_EQ_AT(row, Show(bar.m_rcCtrl), Show(r.ctrl));
        CHECK_EQ_AT(row, Show(bar.m_rcFill), Show(r.fill));
        RECT wr;
        ::GetWindowRect(bar.m_hWnd, &wr);
        CHECK_EQ_AT(row, Show(Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top)), Show(r.ctrl));
        CHECK_EQ_AT(row, OffsetInParent(bar.m_hWnd).x, 30L);
        ::DestroyWindow(bar.m_hWnd);
        ++row;
    }
}

TEST(bar_shows_both_ends_of_the_fill_at_every_length)
{
    HBITMAP hTrack = LoadSkinImage(nullptr, ID_TRACK);
    HBITMAP hFill = LoadSkinImage(nullptr, ID_FILL);
    const Shot track = BitmapPixels(hTrack);
    const Shot fill = BitmapPixels(hFill);
    CHECK(track.Count(kKey) > 0);
    CHECK(fill.Count(kKey) > 0);
    CCheckedParent parent;
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 27, 101, 100, 10));
    bar.SetImages(hTrack, hFill);
    const struct {
        int pos, a, half;
    } rows[] = {{0, 0, 0}, {1, 3, 1}, {37, 144, 72}, {50, 195, 97}, {99, 386, 193}, {100, 390, 195}};
    for (const auto& r : rows) {
        ::SendMessageW(bar.m_hWnd, PBM_SETPOS, r.pos, 0);
        const Shot got = Capture(bar.m_hWnd);
        CHECK_EQ_AT(r.pos, BarDifference(got, bar.m_hWnd, &track, &fill, r.a, r.half), std::string());
        if (r.pos == 0 || r.pos == 50 || r.pos == 100)
            SaveShot("progress_" + std::to_string(r.pos), got);
    }
}

TEST(bar_position_outside_its_range)
{
    const Shot track = SkinPixels(ID_TRACK);
    const Shot fill = SkinPixels(ID_FILL);
    // The platform keeps the position within the range; a position beyond
    // the fill's width on the range's scale fills it all, one below zero
    // leaves it empty.
    const struct {
        int lo, hi, pos, a, half;
    } rows[] = {
        {0, 100, 150, 390, 195}, {0, 100, -20, 0, 0},    {50, 150, 75, 292, 146}, {50, 150, 100, 390, 195},
        {50, 150, 150, 390, 195}, {50, 150, 10, 195, 97}, {0, 200, 100, 195, 97},   {-100, 0, -50, 0, 0},
        {5, 5, 5, 0, 0},
    };
    CCheckedParent parent;
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 64, 9, 100, 10));
    bar.SetImages(LoadSkinImage(nullptr, ID_TRACK), LoadSkinImage(nullptr, ID_FILL));
    int row = 0;
    for (const auto& r : rows) {
        ::SendMessageW(bar.m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(r.lo), r.hi);
        ::SendMessageW(bar.m_hWnd, PBM_SETPOS, static_cast<WPARAM>(r.pos), 0);
        const Shot got = Capture(bar.m_hWnd);
        CHECK_EQ_AT(row, BarDifference(got, bar.m_hWnd, &track, &fill, r.a, r.half), std::string());
        ++row;
    }
}

TEST(bar_repaints_all_of_itself_when_the_position_changes)
{
    const Shot track = SkinPixels(ID_TRACK);
    const Shot fill = SkinPixels(ID_FILL);
    const struct {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        int a, half;
    } rows[] = {
        {PBM_SETPOS, 60, 0, 234, 117},
        {PBM_DELTAPOS, static_cast<WPARAM>(-40), 0, 78, 39},
        {PBM_STEPIT, 0, 0, 117, 58},
        {PBM_SETRANGE32, 0, 50, 234, 117},
        {PBM_SETRANGE, 0, MAKELPARAM(0, 100), 117, 58},
    };
    CCheckedParent parent;
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 100, 300, 100, 10));
    bar.SetImages(LoadSkinImage(nullptr, ID_TRACK), LoadSkinImage(nullptr, ID_FILL));
    ::SendMessageW(bar.m_hWnd, PBM_SETPOS, 50, 0);
    Capture(bar.m_hWnd);
    int row = 0;
    for (const auto& r : rows) {
        ::SendMessageW(bar.m_hWnd, r.msg, r.wParam, r.lParam);
        // Only the paint the message asked for: no forced redraw.
        const Shot got = Grab(bar.m_hWnd);
        CHECK_EQ_AT(row, BarDifference(got, bar.m_hWnd, &track, &fill, r.a, r.half), std::string());
        ++row;
    }
}

TEST(bar_draws_the_percentage_when_asked)
{
    const struct {
        int hi, pos;
        BOOL show;
        const wchar_t* text;
    } rows[] = {
        {100, 37, TRUE, L"37%"}, {100, 0, TRUE, L"0%"}, {100, 100, TRUE, L"100%"},
        {200, 50, TRUE, L"25%"}, {100, 37, FALSE, L""},
    };
    HBITMAP hTrack = LoadSkinImage(nullptr, ID_TRACK);
    HBITMAP hFill = LoadSkinImage(nullptr, ID_FILL);
    CHECK_EQ(BitmapPixels(hTrack).Count(kYellow) + BitmapPixels(hFill).Count(kYellow), 0);
    CCheckedParent parent;
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 33, 150, 100, 10));
    bar.SetImages(hTrack, hFill);
    bar.m_crText = kYellow;
    for (const auto& r : rows) {
        bar.m_bShowText = r.show;
        ::SendMessageW(bar.m_hWnd, PBM_SETRANGE32, 0, r.hi);
        ::SendMessageW(bar.m_hWnd, PBM_SETPOS, r.pos, 0);
        const Shot got = Capture(bar.m_hWnd);
        // The text alone, centred as a single line, in a fresh DC's font.
        CDibCanvas text(390, 21);
        ::SetTextColor(text.Dc(), kYellow);
        ::SetBkMode(text.Dc(), TRANSPARENT);
        RECT rc = {0, 0, 390, 21};
        ::DrawTextW(text.Dc(), r.text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        const Shot want = text.Pixels();
        CHECK_EQ_AT(r.text, want.Count(kYellow) > 0, r.show != FALSE);
        CHECK_EQ_AT(r.text, Difference(got.Mask(kYellow), want.Mask(kYellow)), std::string());
        if (r.pos == 37 && r.show)
            SaveShot("progress_37_text", got);
    }
}

TEST(bar_leaves_a_missing_image_undrawn)
{
    const Shot track = SkinPixels(ID_TRACK);
    const Shot fill = SkinPixels(ID_FILL);
    const struct {
        bool track, fill;
        int pos, a, half;
    } rows[] = {
        {false, true, 100, 390, 195},
        {false, true, 50, 195, 97},
        {true, false, 100, 0, 0},
        {false, false, 50, 0, 0},
    };
    CCheckedParent parent;
    int row = 0;
    for (const auto& r : rows) {
        CImgProgress bar;
        bar.SubclassWindow(MakeBar(parent, 51, 77, 390, 21));
        bar.SetImages(r.track ? LoadSkinImage(nullptr, ID_TRACK) : nullptr,
                      r.fill ? LoadSkinImage(nullptr, ID_FILL) : nullptr);
        ::SendMessageW(bar.m_hWnd, PBM_SETPOS, r.pos, 0);
        const Shot got = Capture(bar.m_hWnd);
        CHECK_EQ_AT(row, got.w, 390);
        CHECK_EQ_AT(row, BarDifference(got, bar.m_hWnd, r.track ? &track : nullptr, r.fill ? &fill : nullptr, r.a, r.half), std::string());
        ::DestroyWindow(bar.m_hWnd);
        ++row;
    }
}

TEST(bar_shows_new_images_at_once)
{
    HBITMAP hTrack = MakeColumnImage(390, 21, 60);
    HBITMAP hFill = MakeColumnImage(390, 21, 200);
    const Shot track = BitmapPixels(hTrack);
    const Shot fill = BitmapPixels(hFill);
    CCheckedParent parent;
    CImgProgress bar;
    bar.SubclassWindow(MakeBar(parent, 90, 250, 390, 21));
    bar.SetImages(LoadSkinImage(nullptr, ID_TRACK), LoadSkinImage(nullptr, ID_FILL));
    ::SendMessageW(bar.m_hWnd, PBM_SETPOS, 50, 0);
    Capture(bar.m_hWnd);
    // Images of the same size: the window keeps its size and must still
    // show them without being asked to repaint.
    bar.SetImages(hTrack, hFill);
    const Shot got = Grab(bar.m_hWnd);
    CHECK_EQ(BarDifference(got, bar.m_hWnd, &track, &fill, 195, 97), std::string());
}

TEST(bar_owns_its_images)
{
    CCheckedParent parent;
    HBITMAP hTrack = LoadSkinImage(nullptr, ID_TRACK);
    HBITMAP hFill = LoadSkinImage(nullptr, ID_FILL);
    HBITMAP hTrack2 = MakeColumnImage(40, 10, 60);
    HBITMAP hFill2 = MakeColumnImage(30, 6, 200);
    {
        CImgProgress bar;
        bar.SubclassWindow(MakeBar(parent, 10, 10, 100, 10));
        bar.SetImages(hTrack, hFill);
        ::SendMessageW(bar.m_hWnd, PBM_SETPOS, 50, 0);
        Capture(bar.m_hWnd);
        CHECK_EQ(::GetObjectType(hTrack), static_cast<DWORD>(OBJ_BITMAP));
        CHECK_EQ(::GetObjectType(hFill), static_cast<DWORD>(OBJ_BITMAP));
        // The same images again stay; new ones replace and delete them.
        bar.SetImages(hTrack, hFill);
        CHECK_EQ(::GetObjectType(hTrack), static_cast<DWORD>(OBJ_BITMAP));
        CHECK_EQ(::GetObjectType(hFill), static_cast<DWORD>(OBJ_BITMAP));
        bar.SetImages(hTrack2, hFill2);
        CHECK_EQ(::GetObjectType(hTrack), 0u);
        CHECK_EQ(::GetObjectType(hFill), 0u);
        Capture(bar.m_hWnd);
        CHECK_EQ(::GetObjectType(hTrack2), static_cast<DWORD>(OBJ_BITMAP));
        CHECK_EQ(::GetObjectType(hFill2), static_cast<DWORD>(OBJ_BITMAP));
    }
    CHECK_EQ(::GetObjectType(hTrack2), 0u);
    CHECK_EQ(::GetObjectType(hFill2), 0u);
}

// The first argument names a folder for screenshots; a second one picks
// cases by name.
int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    if (argc > 1)
        g_shotDir = argv[1];
    return check::RunAll(argc - 1, argv + 1);
}
