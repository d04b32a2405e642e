#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"
#include "skin/gdi_handles.h"

// A progress bar that keeps the platform control's range and position but
// paints itself from a track image and a fill image over its parent's skin.
// The fill is drawn as its left end and its right end, so both rounded ends
// show at any length. It can draw the percentage over the bar.
class CImgProgress : public CWnd {
public:
    CImgProgress() = default;
    ~CImgProgress() override = default;

    // Takes over both keyed bitmaps (images given before are deleted) and
    // gives the control the track's size, the fill centred on it. Without a
    // track the control keeps its size. Always TRUE.
    BOOL SetImages(HBITMAP hTrack, HBITMAP hFill);

    BitmapHandle m_hBack;
    BitmapHandle m_hFill;
    RECT m_rcCtrl = {};
    RECT m_rcFill = {};
    BOOL m_bShowText = FALSE;
    COLORREF m_crText = CLR_INVALID; // owners that show the text set it

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
};
