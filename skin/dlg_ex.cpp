#include "skin/dlg_ex.h"

#include <optional>
#include <vector>

#include "logic/skin_geometry.h"
#include "skin/skin_image.h"

namespace {

SkinSize ClientSize(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return SkinSize{rc.right, rc.bottom};
}

SkinPoint PointFromLParam(LPARAM lParam)
{
    return SkinPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

SkinEdges WorkArea()
{
    RECT rc = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return SkinEdges{rc.left, rc.top, rc.right, rc.bottom};
}

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND hChild)
{
    RECT rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void ReplaceBitmap(HBITMAP* slot, HBITMAP hNew)
{
    if (*slot && *slot != hNew)
        ::DeleteObject(*slot);
    *slot = hNew;
}

// The dialog font with our weight and face, for the caption title.
HFONT MakeTitleFont(HWND hWnd, int weight)
{
    LOGFONTW lf = {};
    HFONT hDialogFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    ::GetObjectW(hDialogFont ? static_cast<HGDIOBJ>(hDialogFont) : ::GetStockObject(DEFAULT_GUI_FONT),
                 sizeof lf, &lf);
    lf.lfWeight = weight;
    lstrcpynW(lf.lfFaceName, L"微软雅黑", 5);
    return ::CreateFontIndirectW(&lf);
}

} // namespace

CDlgEx::CDlgEx(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CDlgEx::~CDlgEx()
{
    ReplaceBitmap(&m_bmpBack, nullptr);
    ReplaceBitmap(&m_bmpMax, nullptr);
    ReplaceBitmap(&m_bmpRestore, nullptr);
}

BOOL CDlgEx::OnInitDialog()
{
    CDialog::OnInitDialog();
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (style & ~(WS_CAPTION | DS_MODALFRAME)) | WS_MINIMIZEBOX);
    LONG exStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    const SkinEdges work = WorkArea();
    m_nMaxWidth = work.right - work.left;
    m_nMaxHeight = work.bottom - work.top;
    const SkinEdges restore = InitialRestoreRect(work);
    m_rcRestore = RECT{restore.left, restore.top, restore.right, restore.bottom};
    return TRUE;
}

BOOL CDlgEx::SetSkin(HBITMAP hBack, BOOL bFitToBack, BOOL bStretch, HBITMAP hMin, HBITMAP hMax,
                     HBITMAP hRestore, HBITMAP hClose)
{
    ReplaceBitmap(&m_bmpBack, hBack);
    m_bStretch = bStretch;
    const SkinSize back = BitmapSize(hBack);
    int layoutRight;
    if (bFitToBack) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, back.w, back.h, SWP_NOMOVE | SWP_NOZORDER);
        layoutRight = back.w;
    } else {
        layoutRight = ClientSize(m_hWnd).w;
    }
    UpdateWindowRegion();

    auto frameOf = [](HBITMAP hStrip) -> std::optional<SkinSize> {
        if (!hStrip)
            return std::nullopt;
        const SkinSize s = BitmapSize(hStrip);
        return SkinSize{StripFrameWidth(s.w, 4), s.h};
    };
    const CaptionButtons placed = PlaceCaptionButtonsOnSkin(
        layoutRight, m_nSysBtnRight, m_nSysBtnTop, m_nSysBtnGap, frameOf(hClose), frameOf(hMax), frameOf(hMin));
    if (hClose && placed.close) {
        m_btnClose.DestroyWindow();
        CreateSysButton(m_btnClose, hClose, placed.close->x + placed.close->w, placed.close->y, IDC_SYS_CLOSE);
        m_btnClose.SetToolTipText(L"关闭");
    }
    if (hMax && placed.max) {
        m_btnMax.DestroyWindow();
        CreateSysButton(m_btnMax, hMax, placed.max->x + placed.max->w, placed.max->y, IDC_SYS_MAX);
        m_btnMax.SetToolTipText(L"最大化");
        ReplaceBitmap(&m_bmpMax, hMax);
        ReplaceBitmap(&m_bmpRestore, hRestore);
    }
    if (hMin && placed.min) {
        m_btnMin.DestroyWindow();
        CreateSysButton(m_btnMin, hMin, placed.min->x + placed.min->w, placed.min->y, IDC_SYS_MIN);
        m_btnMin.SetToolTipText(L"最小化");
    }
    return TRUE;
}

void CDlgEx::CreateSysButton(CBtnEx& button, HBITMAP hStrip, int right, int top, UINT nID)
{
    const SkinSize strip = BitmapSize(hStrip);
    const int fw = StripFrameWidth(strip.w, 4);
    RECT rc = {right - fw, top, right, top + strip.h};
    if (button.Create(L"", WS_CHILD | WS_VISIBLE, rc, this, nID))
        button.SetImage(hStrip, FALSE);
}

void CDlgEx::SetFrameMetrics(int captionHeight, int border, int sysBtnRight, int sysBtnTop, int sysBtnGap)
{
    m_nCaptionHeight = captionHeight;
    m_nBorder = border;
    m_nSysBtnRight = sysBtnRight;
    m_nSysBtnTop = sysBtnTop;
    m_nSysBtnGap = sysBtnGap;
}

void CDlgEx::SetTitle(const wchar_t* text)
{
    ::SetWindowTextW(m_hWnd, text ? text : L"");
    const bool hasIcon = ::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0) != 0;
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    if (hFont)
        ::GetObjectW(hFont, sizeof lf, &lf);
    const SkinPoint at = CaptionTitlePos(m_nCaptionHeight, lf.lfHeight, m_nBorder, hasIcon);
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    RECT measure = {at.x, at.y, at.x, at.y};
    ::DrawTextW(hdc, text ? text : L"", -1, &measure, DT_CALCRECT);
    if (hOld)
        ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    const SkinRect strip = TitleRepaintRect(at, ClientSize(m_hWnd).w, measure.bottom - measure.top);
    RECT rc = {strip.x, strip.y, strip.x + strip.w, strip.y + strip.h};
    ::InvalidateRect(m_hWnd, &rc, TRUE);
}

void CDlgEx::RedrawSysButtons()
{
    for (CBtnEx* button : {&m_btnClose, &m_btnMax, &m_btnMin}) {
        if (button->m_hWnd)
            ::InvalidateRect(button->m_hWnd, nullptr, TRUE);
    }
}

void CDlgEx::OnSysClose()
{
    ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CDlgEx::OnSysMinimize()
{
    ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDlgEx::OnSysMaxRestore()
{
    if (m_bMaximized) {
        ::MoveWindow(m_hWnd, m_rcRestore.left, m_rcRestore.top, m_rcRestore.right - m_rcRestore.left,
                     m_rcRestore.bottom - m_rcRestore.top, TRUE);
        UpdateMaxButton(FALSE);
    } else {
        const SkinRect max = MaximizedRect(WorkArea(), m_nMaxWidth, m_nMaxHeight);
        ::MoveWindow(m_hWnd, max.x, max.y, max.w, max.h, TRUE);
        UpdateMaxButton(TRUE);
    }
    m_btnMax.m_bHover = FALSE;
    m_btnMax.m_bTracking = FALSE;
    m_bMaximized = !m_bMaximized;
}

void CDlgEx::UpdateMaxButton(BOOL bMaximized)
{
    if (!m_btnMax.m_hWnd)
        return;
    m_btnMax.SetImage(bMaximized ? m_bmpRestore : m_bmpMax, FALSE);
    m_btnMax.SetToolTipText(bMaximized ? L"还原" : L"最大化");
}

void CDlgEx::UpdateWindowRegion()
{
    if (!m_bmpBack)
        return;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    const SkinSize window{wr.right - wr.left, wr.bottom - wr.top};
    DIBSECTION ds = {};
    if (::GetObjectW(m_bmpBack, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits)
        return;
    const SkinSize image{ds.dsBm.bmWidth, ds.dsBm.bmHeight};
    HRGN hRgn = ::CreateRectRgn(0, 0, window.w, window.h);
    for (const SkinPoint& p :
         RegionCutPixelsFromDib(window, image, static_cast<const uint32_t*>(ds.dsBm.bmBits))) {
        HRGN hDot = ::CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1);
        ::CombineRgn(hRgn, hRgn, hDot, RGN_DIFF);
        ::DeleteObject(hDot);
    }
    // The window owns the region from here on.
    if (!::SetWindowRgn(m_hWnd, hRgn, FALSE))
        ::DeleteObject(hRgn);
}

void CDlgEx::DrawSkinBackground(HDC hdc, int width, int height)
{
    const SkinSize image = BitmapSize(m_bmpBack);
    HDC hSrc = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hSrc, m_bmpBack);
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    for (const SkinPiece& piece : SkinBackgroundPieces(SkinSize{width, height}, image, m_nBorder,
                                                         m_nCaptionHeight, m_bStretch != FALSE)) {
        if (piece.stretch)
            ::StretchBlt(hdc, piece.dst.x, piece.dst.y, piece.dst.w, piece.dst.h, hSrc, piece.src.x,
                         piece.src.y, piece.src.w, piece.src.h, SRCCOPY);
        else
            ::BitBlt(hdc, piece.dst.x, piece.dst.y, piece.dst.w, piece.dst.h, hSrc, piece.src.x,
                     piece.src.y, SRCCOPY);
    }
    ::SelectObject(hSrc, hOld);
    ::DeleteDC(hSrc);
}

void CDlgEx::PaintSkin(HDC hdc, int width, int height)
{
    DrawSkinBackground(hdc, width, height);
    int iconWidth = 0;
    HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0));
    if (m_bDrawIcon && hIcon) {
        const SkinPoint at = CaptionIconPos(m_nCaptionHeight, m_nBorder);
        ::DrawIconEx(hdc, at.x, at.y, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
        iconWidth = 16;
    }
    if (m_bDrawTitle) {
        wchar_t title[256] = {};
        ::GetWindowTextW(m_hWnd, title, 256);
        const int saved = ::SaveDC(hdc);
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, m_crTitle);
        HFONT hFont = MakeTitleFont(m_hWnd, m_nTitleWeight);
        ::SelectObject(hdc, hFont);
        LOGFONTW lf = {};
        ::GetObjectW(hFont, sizeof lf, &lf);
        const SkinPoint at = CaptionTitlePos(m_nCaptionHeight, lf.lfHeight, m_nBorder, iconWidth != 0);
        ::TextOutW(hdc, at.x, at.y, title, lstrlenW(title));
        ::RestoreDC(hdc, saved);
        ::DeleteObject(hFont);
    }
}

void CDlgEx::PaintOver(HDC, int, int) {}

BOOL CDlgEx::OnEraseBkgnd(HDC hdc)
{
    if (!m_bmpBack)
        return FALSE;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    const int width = wr.right - wr.left, height = wr.bottom - wr.top;
    HDC hMem = ::CreateCompatibleDC(hdc);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hdc, width, height);
    HGDIOBJ hOldBmp = ::SelectObject(hMem, hBmp);
    PaintSkin(hMem, width, height);
    PaintOver(hMem, width, height);
    ::BitBlt(hdc, 0, 0, width, height, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOldBmp);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    return TRUE;
}

void CDlgEx::OnSize(int cx, int)
{
    if (!m_bmpBack)
        return;
    UpdateWindowRegion();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    CaptionButtons current;
    auto rectOf = [](CBtnEx& button) -> std::optional<SkinRect> {
        if (!button.m_hWnd)
            return std::nullopt;
        const RECT rc = ChildRect(button.m_hWnd);
        return SkinRect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    };
    current.close = rectOf(m_btnClose);
    current.max = rectOf(m_btnMax);
    current.min = rectOf(m_btnMin);
    const CaptionButtons moved = PlaceCaptionButtonsOnSize(current, cx, m_nSysBtnRight);
    auto move = [](CBtnEx& button, const std::optional<SkinRect>& r) {
        if (button.m_hWnd && r)
            ::MoveWindow(button.m_hWnd, r->x, r->y, r->w, r->h, TRUE);
    };
    move(m_btnClose, moved.close);
    move(m_btnMax, moved.max);
    move(m_btnMin, moved.min);
}

BOOL CDlgEx::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_SYS_CLOSE:
        OnSysClose();
        return TRUE;
    case IDC_SYS_MIN:
        OnSysMinimize();
        return TRUE;
    case IDC_SYS_MAX:
        OnSysMaxRestore();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CDlgEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_NCHITTEST: {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(m_hWnd, &pt);
        SkinFrame frame;
        frame.client = ClientSize(m_hWnd);
        frame.border = m_nBorder;
        frame.captionHeight = m_nCaptionHeight;
        frame.resizable = m_bResizable != FALSE;
        frame.maximized = m_bMaximized != FALSE;
        const int hit = SkinHitTest(frame, SkinPoint{pt.x, pt.y});
        if (hit != kHitDefault)
            return hit;
        break;
    }
    case WM_NCLBUTTONDOWN: {
        const int command = SizeCommandForHit(static_cast<int>(wParam));
        LRESULT result = 0;
        if (command != kNoSizeCommand)
            ::SendMessageW(m_hWnd, WM_SYSCOMMAND, static_cast<WPARAM>(command), lParam);
        else
            result = CDialog::WindowProc(msg, wParam, lParam);
        if (m_hWnd)
            ::GetWindowRect(m_hWnd, &m_rcRestore);
        return result;
    }
    case WM_NCLBUTTONDBLCLK:
        if (NcDoubleClickToggles(static_cast<int>(wParam), m_bResizable != FALSE)) {
            OnSysMaxRestore();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK: {
        SkinFrame frame;
        frame.captionHeight = m_nCaptionHeight;
        frame.maximized = m_bMaximized != FALSE;
        if (ClientDoubleClickToggles(frame, PointFromLParam(lParam)))
            OnSysMaxRestore();
        break;
    }
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
