#pragma once
#include <windows.h>

#include "framework/dialog.h"
#include "skin/btn_ex.h"

const UINT IDC_SYS_CLOSE = 50000;
const UINT IDC_SYS_MIN = 50001;
const UINT IDC_SYS_MAX = 50002;

// The base of every skinned top-level window: no system caption or frame; a
// nine-grid background with a caption band, icon and title; rounded corners
// cut from key pixels; caption buttons; its own hit-testing, border sizing
// and maximize to the work area.
class CDlgEx : public CDialog {
public:
    CDlgEx(UINT nIDTemplate, CWnd* pParent);
    ~CDlgEx() override;

    // Takes over background, maximize and restore strips; the close and
    // minimize strips stay the caller's. Set the frame fields first.
    BOOL SetSkin(HBITMAP hBack, BOOL bFitToBack, BOOL bStretch, HBITMAP hMin, HBITMAP hMax,
                 HBITMAP hRestore, HBITMAP hClose);
    // Caption band, border and caption-button placement; before SetSkin.
    void SetFrameMetrics(int captionHeight, int border, int sysBtnRight, int sysBtnTop, int sysBtnGap);
    // Safe from other threads.
    void SetTitle(const wchar_t* text);
    void RedrawSysButtons();

    virtual void OnSysClose();
    virtual void OnSysMinimize();
    virtual void OnSysMaxRestore();
    virtual void UpdateMaxButton(BOOL bMaximized);

    BOOL m_bDrawTitle = TRUE;
    BOOL m_bDrawIcon = TRUE;
    int m_nCaptionHeight = -1;
    int m_nSysBtnRight = 5;
    int m_nSysBtnTop = 1;
    int m_nSysBtnGap = 0;
    int m_nBorder = 3;
    COLORREF m_crTitle = RGB(255, 255, 255);
    int m_nTitleWeight = FW_NORMAL;
    HBITMAP m_bmpBack = nullptr;
    CBtnEx m_btnClose;
    CBtnEx m_btnMin;
    CBtnEx m_btnMax;
    int m_nMaxWidth = 1440;
    int m_nMaxHeight = 900;
    RECT m_rcRestore = {};
    BOOL m_bMaximized = FALSE;
    BOOL m_bResizable = FALSE;
    BOOL m_bStretch = FALSE;
    HBITMAP m_bmpMax = nullptr;
    HBITMAP m_bmpRestore = nullptr;

protected:
    // The frame, caption icon and title, into an off-screen DC.
    void PaintSkin(HDC hdc, int width, int height);
    // What a window draws over its skin in the same off-screen pass.
    virtual void PaintOver(HDC hdc, int width, int height);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateWindowRegion();
    void DrawSkinBackground(HDC hdc, int width, int height);
    BOOL OnEraseBkgnd(HDC hdc);
    void CreateSysButton(CBtnEx& button, HBITMAP hStrip, int right, int top, UINT nID);
    void OnSize(int cx, int cy);
};
