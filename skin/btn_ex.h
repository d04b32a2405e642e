#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/button.h"

// A push button drawn from a four-frame strip (normal, hover, pressed,
// disabled) over its parent's skin, with optional centred text and tooltip.
class CBtnEx : public CButton {
public:
    CBtnEx() = default;
    ~CBtnEx() override;

    // The strip is copied; the caller keeps it. With bResize the button takes
    // the size of one frame.
    BOOL SetImage(HBITMAP hStrip, BOOL bResize);
    void SetToolTipText(const wchar_t* text);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL m_bTracking = FALSE;
    BOOL m_bHover = FALSE;
    RECT m_rcWnd = {};
    std::wstring m_strText;
    COLORREF m_crText = 0;
    HIMAGELIST m_imgList = nullptr;
    BOOL m_bPressed = FALSE;
    BOOL m_bTip = FALSE;
    HWND m_tooltip = nullptr;
    std::wstring m_strTip;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(DRAWITEMSTRUCT* pDis) override;
};

// Builds the image list of a strip of nFrames frames, key pixels masked out.
HIMAGELIST MakeStripImageList(HBITMAP hStrip, int nFrames);
// Draws one frame at (0, 0) of hdc, scaled to cx x cy when that differs from
// the frame size, key pixels left transparent.
void DrawStripFrame(HIMAGELIST hList, int index, HDC hdc, int cx, int cy);
