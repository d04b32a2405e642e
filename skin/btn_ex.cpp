#include "skin/btn_ex.h"

#include "skin/skin_image.h"

namespace {

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// The button's one tool: the whole button window.
TOOLINFOW ButtonTool(HWND hButton, wchar_t* text)
{
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hButton;
    ti.uId = reinterpret_cast<UINT_PTR>(hButton);
    ti.lpszText = text;
    return ti;
}

} // namespace

HIMAGELIST MakeStripImageList(HBITMAP hStrip, int nFrames)
{
    BITMAP bm;
    if (!hStrip || nFrames <= 0 || !::GetObjectW(hStrip, sizeof bm, &bm) || bm.bmWidth / nFrames == 0)
        return nullptr;
    HIMAGELIST hList = ::ImageList_Create(bm.bmWidth / nFrames, bm.bmHeight, ILC_COLOR24 | ILC_MASK, nFrames, 0);
    // Adding masked blackens the key pixels of the bitmap it is given: work
    // on a copy so the caller's strip can be used again.
    HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hStrip, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hList && hCopy)
        ::ImageList_AddMasked(hList, hCopy, SKIN_KEY_COLOR);
    if (hCopy)
        ::DeleteObject(hCopy);
    return hList;
}

void DrawStripFrame(HIMAGELIST hList, int index, HDC hdc, int cx, int cy)
{
    IMAGEINFO info;
    if (!hList || !::ImageList_GetImageInfo(hList, index, &info))
        return;
    const int fw = Width(info.rcImage), fh = Height(info.rcImage);
    if (fw == cx && fh == cy) {
        ::ImageList_Draw(hList, index, hdc, 0, 0, ILD_TRANSPARENT);
        return;
    }
    HDC hFrame = ::CreateCompatibleDC(hdc);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hdc, fw, fh);
    HGDIOBJ hOld = ::SelectObject(hFrame, hBmp);
    HBRUSH hKey = ::CreateSolidBrush(SKIN_KEY_COLOR);
    RECT rc = {0, 0, fw, fh};
    ::FillRect(hFrame, &rc, hKey);
    ::DeleteObject(hKey);
    ::ImageList_Draw(hList, index, hFrame, 0, 0, ILD_TRANSPARENT);
    ::TransparentBlt(hdc, 0, 0, cx, cy, hFrame, 0, 0, fw, fh, SKIN_KEY_COLOR);
    ::SelectObject(hFrame, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hFrame);
}

CBtnEx::~CBtnEx()
{
    if (m_imgList)
        ::ImageList_Destroy(m_imgList);
    if (m_tooltip && ::IsWindow(m_tooltip))
        ::DestroyWindow(m_tooltip);
}

void CBtnEx::PreSubclassWindow()
{
    const int n = ::GetWindowTextLengthW(m_hWnd);
    m_strText.assign(static_cast<size_t>(n), L'\0');
    if (n > 0)
        ::GetWindowTextW(m_hWnd, &m_strText[0], n + 1);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (::GetWindowLongW(m_hWnd, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
    ::GetWindowRect(m_hWnd, &m_rcWnd);
}

BOOL CBtnEx::SetImage(HBITMAP hStrip, BOOL bResize)
{
    if (m_imgList)
        ::ImageList_Destroy(m_imgList);
    m_imgList = MakeStripImageList(hStrip, 4);
    BITMAP bm;
    if (bResize && hStrip && ::GetObjectW(hStrip, sizeof bm, &bm))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, bm.bmWidth / 4, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(m_hWnd, &m_rcWnd);
    return TRUE;
}

void CBtnEx::SetToolTipText(const wchar_t* text)
{
    m_strTip = text ? text : L"";
    m_bTip = TRUE;
    if (m_tooltip)
        return;
    m_tooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr,
                                  nullptr);
    if (!m_tooltip)
        return;
    TOOLINFOW ti = ButtonTool(m_hWnd, LPSTR_TEXTCALLBACKW);
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    ::SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 660);
}

BOOL CBtnEx::PreTranslateMessage(MSG* pMsg)
{
    if (m_bTip && m_tooltip)
        ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CBtnEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_bTracking)
            m_bTracking = TrackHoverAndLeave(m_hWnd);
        break;
    case WM_MOUSEHOVER:
        m_bHover = TRUE;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        if (m_bTip && m_tooltip) {
            TOOLINFOW ti = ButtonTool(m_hWnd, &m_strTip[0]);
            ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
        }
        return 0;
    case WM_MOUSELEAVE:
        m_bHover = FALSE;
        m_bTracking = FALSE;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP:
        m_bPressed = FALSE;
        break;
    }
    return CButton::WindowProc(msg, wParam, lParam);
}

void CBtnEx::DrawItem(DRAWITEMSTRUCT* pDis)
{
    const int cx = Width(m_rcWnd), cy = Height(m_rcWnd);
    HDC hMem = ::CreateCompatibleDC(pDis->hDC);
    HBITMAP hBmp = ::CreateCompatibleBitmap(pDis->hDC, cx, cy);
    HGDIOBJ hOldBmp = ::SelectObject(hMem, hBmp);

    int state;
    if (pDis->itemState & (ODS_GRAYED | ODS_DISABLED)) {
        state = 3;
    } else if ((pDis->itemState & ODS_SELECTED) || m_bPressed) {
        state = 2;
        m_bPressed = TRUE;
    } else {
        state = m_bHover ? 1 : 0;
    }

    DrawParentBackground(m_hWnd, hMem);
    ::SetWindowOrgEx(hMem, 0, 0, nullptr);
    DrawStripFrame(m_imgList, state, hMem, cx, cy);

    if (!m_strText.empty()) {
        ::SetBkMode(hMem, TRANSPARENT);
        ::SetTextColor(hMem, state == 3 ? ::GetSysColor(COLOR_GRAYTEXT) : m_crText);
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        if (!hFont)
            hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        HGDIOBJ hOldFont = ::SelectObject(hMem, hFont);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        ::DrawTextW(hMem, m_strText.c_str(), static_cast<int>(m_strText.size()), &rc,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(hMem, hOldFont);
    }

    ::BitBlt(pDis->hDC, 0, 0, cx, cy, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOldBmp);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
}
