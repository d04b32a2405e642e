#include "skin/skin_image.h"

#include <cstdint>

#include "logic/skin_geometry.h"
#include "skin/gdiplus_scope.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// A 32-bit bottom-up DIB section of the given size and its pixel memory.
HBITMAP CreateDib32(int width, int height, void** bits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBmp = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, bits, nullptr, 0);
    ::ReleaseDC(nullptr, hScreen);
    return hBmp;
}

class StreamHolder {
public:
    ~StreamHolder()
    {
        if (m_pStream)
            m_pStream->Release();
    }
    IStream* m_pStream = nullptr;
};

} // namespace

HBITMAP MakeKeyedBitmap(GpBitmap* image, COLORREF key)
{
    UINT width = 0, height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    if (width == 0 || height == 0)
        return nullptr;
    void* bits = nullptr;
    HBITMAP hDib = CreateDib32(static_cast<int>(width), static_cast<int>(height), &bits);
    if (!hDib)
        return nullptr;
    GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    if (GdipBitmapLockBits(image, &whole, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok ||
        !data.Scan0) {
        ::DeleteObject(hDib);
        return nullptr;
    }
    const uint32_t keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    const uint8_t* source = static_cast<const uint8_t*>(data.Scan0);
    uint32_t* target = static_cast<uint32_t*>(bits);
    for (UINT i = 0; i < height; ++i) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(source + i * data.Stride);
        uint32_t* out = target + (height - 1 - i) * width;
        for (UINT j = 0; j < width; ++j)
            out[j] = KeyedPixel(row[j], keyPixel);
    }
    GdipBitmapUnlockBits(image, &data);
    return hDib;
}

HBITMAP LoadSkinImage(HMODULE hModule, WORD id)
{
    CGdiplusScope gdiplus;
    if (HBITMAP hPlain = ::LoadBitmapW(hModule, MAKEINTRESOURCEW(id)))
        return hPlain;
    HRSRC hRes = ::FindResourceW(hModule, MAKEINTRESOURCEW(id), L"PNG");
    if (!hRes)
        return nullptr;
    const DWORD size = ::SizeofResource(hModule, hRes);
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    const void* bytes = hData ? ::LockResource(hData) : nullptr;
    if (!bytes || size == 0)
        return nullptr;
    StreamHolder stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream.m_pStream)))
        return nullptr;
    ULONG written = 0;
    if (FAILED(stream.m_pStream->Write(bytes, size, &written)) || written != size)
        return nullptr;
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromStream(stream.m_pStream, &image) != Ok || !image)
        return nullptr;
    HBITMAP hBmp = MakeKeyedBitmap(image, SKIN_KEY_COLOR);
    if (!hBmp)
        GdipCreateHBITMAPFromBitmap(image, &hBmp, 0xFFFF00FF);
    GdipDisposeImage(image);
    return hBmp;
}

HBITMAP LoadImageFileBitmap(const wchar_t* path, int* width, int* height)
{
    // Started once and kept until the process ends.
    static CGdiplusScope s_gdiplus;
    *width = *height = 0;
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromFile(path, &image) != Ok || !image)
        return nullptr;
    UINT w = 0, h = 0;
    GdipGetImageWidth(image, &w);
    GdipGetImageHeight(image, &h);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    void* bits = nullptr;
    HBITMAP hDib = (w && h) ? CreateDib32(*width, *height, &bits) : nullptr;
    if (hDib) {
        HDC hMem = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hMem, hDib);
        RECT rc = {0, 0, *width, *height};
        ::FillRect(hMem, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        GpGraphics* graphics = nullptr;
        if (GdipCreateFromHDC(hMem, &graphics) == Ok) {
            GdipDrawImageRectI(graphics, image, 0, 0, *width, *height);
            GdipDeleteGraphics(graphics);
        }
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    }
    GdipDisposeImage(image);
    if (!hDib)
        *width = *height = 0;
    return hDib;
}

void DrawParentBackground(HWND hChild, HDC hMemDC)
{
    HWND hParent = ::GetParent(hChild);
    if (!hParent)
        return;
    RECT rcChild, rcParent;
    ::GetWindowRect(hChild, &rcChild);
    ::GetWindowRect(hParent, &rcParent);
    ::SetWindowOrgEx(hMemDC, rcChild.left - rcParent.left, rcChild.top - rcParent.top, nullptr);
    ::SendMessageW(hParent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMemDC), 0);
}

BOOL TrackHoverAndLeave(HWND hWnd)
{
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, hWnd, 10};
    return ::TrackMouseEvent(&tme);
}

SkinSize BitmapSize(HBITMAP hBmp)
{
    BITMAP bm;
    if (!hBmp || !::GetObjectW(hBmp, sizeof bm, &bm))
        return SkinSize{};
    return SkinSize{bm.bmWidth, bm.bmHeight};
}
