#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"
#include "skin/gdi_handles.h"

// The DrawText format of one label line for the label's window style:
// SS_CENTER, SS_RIGHT, SS_ENDELLIPSIS, SS_PATHELLIPSIS and SS_CENTERIMAGE.
UINT LabelTextFormat(LONG style);

// A static text control that draws itself over its parent's skin, in a
// "Microsoft YaHei" variant of its font, with a normal and a hover colour and
// an optional small image before or after the text. It breaks lines between
// any two characters (the texts are Chinese, without spaces) and grows
// downwards when the text needs more lines. With the hand cursor, underline
// and SS_NOTIFY it serves as a link that sends STN_CLICKED.
//
// Owners set the members directly: the font overrides before the first paint,
// m_bImageRight after SetImage; after changing m_strText they invalidate the
// label.
class CStaticEx : public CWnd {
public:
    CStaticEx() = default;
    ~CStaticEx() override = default;

    // Copies a single-frame keyed bitmap to show beside the text; the caller
    // keeps the bitmap. FALSE for none, which keeps the current image. Either
    // way the image goes back to the left of the text.
    BOOL SetImage(HBITMAP hBitmap);
    // Built from the label's font (or SYSTEM_FONT) and the overrides on first
    // use, then kept: later override changes do not show.
    HFONT GetLabelFont();
    // Lays out and draws the text into hdc, growing the label when the text
    // needs more lines than it has room for. Always 0.
    virtual int DrawLabelText(HDC hdc);

    std::wstring m_strText;
    int m_nFontWidth = 0;   // 0 keeps the base font's width
    int m_nFontWeight = -1; // -1 keeps the base font's weight
    int m_nFontHeight = 0;  // 0 keeps the base font's height
    BOOL m_bHandCursor = FALSE;
    BOOL m_bUnderline = FALSE; // FALSE keeps the base font's underline
    FontHandle m_font;
    COLORREF m_crText = 0;
    COLORREF m_crHover = 0;
    int m_nLineSpace = 3;
    BOOL m_bHoverColor = FALSE;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    ImageListHandle m_imgList;
    int m_nImageWidth = 0; // 0: no image
    int m_nImageHeight = 0;
    BOOL m_bImageRight = FALSE;
    int m_nImageIndex = 0;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
};
