// Skin images on real resources, files and windows.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "skin/btn_ex.h"
#include "skin/gdiplus_scope.h"
#include "skin/skin_image.h"
#include "tests/check.h"

namespace {

const WORD ID_ALPHA_PNG = 500;
const WORD ID_STRIP_PNG = 501;
const COLORREF kParentColour = RGB(0, 160, 160);

// Memory order of a bottom-up DIB: the image's last row first.
std::vector<uint32_t> Pixels(HBITMAP hBmp, int* width, int* height, int* bitsPerPixel)
{
    DIBSECTION ds = {};
    if (::GetObjectW(hBmp, sizeof ds, &ds) != sizeof ds)
        return {};
    *width = ds.dsBm.bmWidth;
    *height = ds.dsBmih.biHeight;
    *bitsPerPixel = ds.dsBm.bmBitsPixel;
    const uint32_t* bits = static_cast<const uint32_t*>(ds.dsBm.bmBits);
    return std::vector<uint32_t>(bits, bits + ds.dsBm.bmWidth * ds.dsBm.bmHeight);
}

std::wstring TempFile(const wchar_t* name, const std::string& bytes)
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
    return path;
}

std::string ResourceBytes(WORD id)
{
    HRSRC hRes = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG");
    const char* p = static_cast<const char*>(::LockResource(::LoadResource(nullptr, hRes)));
    return std::string(p, ::SizeofResource(nullptr, hRes));
}

// A parent that paints red over (10,10)-(20,20) of its own coordinates and
// blue elsewhere, into whatever DC it is handed.
LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        RECT all = {0, 0, 200, 200}, red = {10, 10, 20, 20};
        HBRUSH hBlue = ::CreateSolidBrush(RGB(0, 0, 255));
        HBRUSH hRed = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(hdc, &all, hBlue);
        ::FillRect(hdc, &red, hRed);
        ::DeleteObject(hBlue);
        ::DeleteObject(hRed);
        return TRUE;
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

// A skinned parent: paints itself in one colour into any DC it is handed,
// and hands owner-draw requests back to its buttons.
class CPlainParent : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_ERASEBKGND) {
            HBRUSH hBrush = ::CreateSolidBrush(kParentColour);
            RECT rc = {0, 0, 400, 400};
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, hBrush);
            ::DeleteObject(hBrush);
            return TRUE;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

COLORREF PixelAfterPaint(HWND hWnd, int x, int y)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC hdc = ::GetDC(hWnd);
    const COLORREF c = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return c;
}

} // namespace

TEST(png_resource_becomes_a_keyed_bottom_up_dib)
{
    HBITMAP hBmp = LoadSkinImage(nullptr, ID_ALPHA_PNG);
    CHECK(hBmp != nullptr);
    int w = 0, h = 0, bpp = 0;
    const std::vector<uint32_t> px = Pixels(hBmp, &w, &h, &bpp);
    CHECK_EQ(w, 4);
    CHECK_EQ(h, 2); // positive: rows stored bottom-up
    CHECK_EQ(bpp, 32);
    // Source row 1 comes first in memory, then source row 0.
    const uint32_t expected[8] = {
        0x00FFFFFF, 0x00FF00FF, 0x00FF7F7F, 0x00BFDFFF, // white; alpha 0; red at 128; (0,128,255) at 64
        0x00FF00FF, 0x00FEFEFE, 0x007F7F7F, 0x00123456, // alpha 0; black at 1; black at 128; opaque
    };
    CHECK_EQ(px.size(), 8u);
    for (size_t i = 0; i < px.size() && i < 8; ++i)
        CHECK_EQ_AT(i, px[i], expected[i]);
    ::DeleteObject(hBmp);
    CHECK_EQ(CGdiplusScope::Open(), 0L);
}

TEST(every_skin_image_loads_at_its_size)
{
    struct Row {
        WORD id;
        int w, h;
    } rows[] = {
        {129, 888, 518}, {131, 30, 51},  {132, 132, 28}, {133, 228, 23}, {134, 30, 51},
        {135, 108, 28},  {136, 108, 28}, {137, 108, 28}, {138, 108, 27}, {139, 176, 28},
        {140, 567, 22},  {141, 39, 13},  {142, 14, 16},  {143, 250, 191}, {144, 144, 14},
        {145, 216, 22},  {146, 160, 212}, {147, 250, 167}, {148, 108, 27}, {149, 108, 27},
        {150, 316, 28},  {151, 316, 28}, {152, 390, 21}, {153, 390, 21}, {162, 284, 150},
    };
    for (const Row& r : rows) {
        HBITMAP hBmp = LoadSkinImage(nullptr, r.id);
        int w = 0, h = 0, bpp = 0;
        Pixels(hBmp, &w, &h, &bpp);
        CHECK_EQ_AT(r.id, w, r.w);
        CHECK_EQ_AT(r.id, h, r.h);
        CHECK_EQ_AT(r.id, bpp, 32);
        ::DeleteObject(hBmp);
    }
    CHECK_EQ(CGdiplusScope::Open(), 0L);
}

TEST(dialog_skin_has_rounded_top_corners_of_key_pixels)
{
    HBITMAP hBmp = LoadSkinImage(nullptr, 131);
    int w = 0, h = 0, bpp = 0;
    const std::vector<uint32_t> px = Pixels(hBmp, &w, &h, &bpp);
    ::DeleteObject(hBmp);
    CHECK_EQ(px.size(), 30u * 51u);
    if (px.size() != 30u * 51u)
        return;
    auto at = [&](int x, int y) { return px[static_cast<size_t>((h - 1 - y) * w + x)]; };
    // Row 0 loses 3 pixels, row 1 two, row 2 one, at both ends.
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool key = x < 3 - y;
            CHECK_EQ_AT(y * 10 + x, at(x, y) == 0x00FF00FFu, key);
            CHECK_EQ_AT(y * 10 + x, at(w - 1 - x, y) == 0x00FF00FFu, key);
        }
    }
    CHECK(at(0, h - 1) != 0x00FF00FFu); // square bottom corners
}

TEST(missing_resource_gives_none_and_stays_balanced)
{
    CHECK(LoadSkinImage(nullptr, 4242) == nullptr);
    CHECK_EQ(CGdiplusScope::Open(), 0L);
    // Two loads give two independent bitmaps.
    HBITMAP a = LoadSkinImage(nullptr, ID_ALPHA_PNG);
    HBITMAP b = LoadSkinImage(nullptr, ID_ALPHA_PNG);
    CHECK(a && b && a != b);
    ::DeleteObject(a);
    ::DeleteObject(b);
    CHECK_EQ(CGdiplusScope::Open(), 0L);
}

TEST(image_file_is_drawn_over_white)
{
    const std::wstring good = TempFile(L"skin-alpha.png", ResourceBytes(ID_ALPHA_PNG));
    int w = -1, h = -1, bpp = 0;
    HBITMAP hBmp = LoadImageFileBitmap(good.c_str(), &w, &h);
    CHECK(hBmp != nullptr);
    CHECK_EQ(w, 4);
    CHECK_EQ(h, 2);
    int dw = 0, dh = 0;
    const std::vector<uint32_t> px = Pixels(hBmp, &dw, &dh, &bpp);
    CHECK_EQ(dh, 2);
    if (px.size() == 8) {
        CHECK_EQ(px[1] & 0xFFFFFF, 0xFFFFFFu); // alpha 0 shows the white below
        CHECK_EQ(px[7] & 0xFFFFFF, 0x123456u); // opaque keeps its colour
    }
    ::DeleteObject(hBmp);

    const std::wstring bad = TempFile(L"skin-bad.png", "not an image at all");
    w = h = -1;
    CHECK(LoadImageFileBitmap(bad.c_str(), &w, &h) == nullptr);
    CHECK_EQ(w, 0);
    CHECK_EQ(h, 0);
    w = h = -1;
    CHECK(LoadImageFileBitmap(L"C:\\no\\such\\picture.jpg", &w, &h) == nullptr);
    CHECK_EQ(w, 0);
    ::DeleteFileW(good.c_str());
    ::DeleteFileW(bad.c_str());
}

TEST(child_gets_the_parent_skin_under_it)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinParentTest";
    ::RegisterClassW(&wc);
    HWND hParent = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 100, 100, 200, 200, nullptr,
                                     nullptr, wc.hInstance, nullptr);
    HWND hChild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 10, 10, 10, hParent, nullptr,
                                    nullptr, nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, 10, 10);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::ReleaseDC(nullptr, hScreen);
    DrawParentBackground(hChild, hMem);
    ::SetWindowOrgEx(hMem, 0, 0, nullptr);
    CHECK_EQ(::GetPixel(hMem, 0, 0), RGB(255, 0, 0));
    CHECK_EQ(::GetPixel(hMem, 9, 9), RGB(255, 0, 0));
    ::MoveWindow(hChild, 15, 15, 10, 10, FALSE);
    DrawParentBackground(hChild, hMem);
    ::SetWindowOrgEx(hMem, 0, 0, nullptr);
    CHECK_EQ(::GetPixel(hMem, 4, 4), RGB(255, 0, 0));
    CHECK_EQ(::GetPixel(hMem, 5, 5), RGB(0, 0, 255));
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::DestroyWindow(hParent);
}

TEST(button_draws_the_frame_of_its_state)
{
    HWND hParentWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    CPlainParent parent;
    parent.SubclassWindow(hParentWnd);
    CBtnEx button;
    RECT rc = {10, 10, 60, 40};
    CHECK(button.Create(L"", WS_CHILD | WS_VISIBLE, rc, &parent, 1234));
    HBITMAP hStrip = LoadSkinImage(nullptr, ID_STRIP_PNG);
    CHECK(button.SetImage(hStrip, TRUE));
    RECT wr;
    ::GetWindowRect(button.m_hWnd, &wr);
    CHECK_EQ(wr.right - wr.left, 3);
    CHECK_EQ(wr.bottom - wr.top, 2);
    CHECK_EQ(::ImageList_GetImageCount(button.m_imgList), 4);
    // The strip stays the caller's.
    BITMAP bm;
    CHECK(::GetObjectW(hStrip, sizeof bm, &bm) != 0);

    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(200, 0, 0));
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 0, 0), kParentColour); // key pixel: the parent shows
    button.m_bHover = TRUE;
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(0, 200, 0));
    ::SendMessageW(button.m_hWnd, BM_SETSTATE, TRUE, 0);
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(0, 0, 200));
    CHECK(button.m_bPressed);
    // The pressed look stays latched until a left-button release reaches it.
    ::SendMessageW(button.m_hWnd, BM_SETSTATE, FALSE, 0);
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(0, 0, 200));
    ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    CHECK(!button.m_bPressed);
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(0, 200, 0));
    ::EnableWindow(button.m_hWnd, FALSE);
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 2, 1), RGB(128, 128, 128));
    ::EnableWindow(button.m_hWnd, TRUE);
    button.m_bHover = FALSE;

    // A button larger than its frame gets the frame stretched, keys kept;
    // the strip given again is still intact.
    ::SetWindowPos(button.m_hWnd, nullptr, 0, 0, 6, 4, SWP_NOMOVE | SWP_NOZORDER);
    CHECK(button.SetImage(hStrip, FALSE));
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 5, 3), RGB(200, 0, 0));
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 0, 0), kParentColour);
    CHECK_EQ(PixelAfterPaint(button.m_hWnd, 1, 1), kParentColour);

    button.SetToolTipText(L"\u5173\u95ED");
    HWND hTip = button.m_tooltip;
    CHECK(hTip != nullptr);
    button.SetToolTipText(L"\u6700\u5927\u5316");
    CHECK(button.m_tooltip == hTip);
    CHECK(button.m_strTip == L"\u6700\u5927\u5316");

    ::DeleteObject(hStrip);
    ::DestroyWindow(hParentWnd);
}

CHECK_MAIN()
