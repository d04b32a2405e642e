#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "logic/skin_geometry.h"

// Magenta: every drawing path of the skin treats it as transparent.
const COLORREF SKIN_KEY_COLOR = RGB(255, 0, 255);

// A "PNG" resource as a keyed bitmap: 32-bit bottom-up DIB, no alpha,
// transparent pixels in SKIN_KEY_COLOR, partly transparent ones composed over
// white. The caller owns the bitmap; null when there is no such resource.
HBITMAP LoadSkinImage(HMODULE hModule, WORD id);

// The keyed bitmap of a decoded image; null when it cannot be made.
HBITMAP MakeKeyedBitmap(Gdiplus::GpBitmap* image, COLORREF key);

// An image file of any format GDI+ decodes, drawn over white into a 32-bit
// bitmap of its size; null and 0 x 0 when the file cannot be decoded.
HBITMAP LoadImageFileBitmap(const wchar_t* path, int* width, int* height);

// Fills a child control's memory DC with the part of its parent's skin that
// lies under the child. The DC's window origin is left shifted by the child's
// offset in the parent; the caller restores its own mapping.
void DrawParentBackground(HWND hChild, HDC hMemDC);

// The size of a bitmap; 0 x 0 for none.
SkinSize BitmapSize(HBITMAP hBmp);

// Asks for WM_MOUSEHOVER after 10 ms at rest and for WM_MOUSELEAVE, as the
// skinned controls track hover; whether the request was taken.
BOOL TrackHoverAndLeave(HWND hWnd);
