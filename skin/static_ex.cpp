#include "skin/static_ex.h"

#include <cstring>

#include "skin/btn_ex.h"
#include "skin/skin_image.h"

namespace {

// "Microsoft YaHei".
const wchar_t kLabelFace[] = L"\u5FAE\u8F6F\u96C5\u9ED1";
// Ten Chinese characters: their height is the line height, a tenth of their
// width the narrowest box worth drawing into.
const wchar_t kSample[] = L"\u6D4B\u8BD5\u7528\u6C49\u5B57\u6765\u83B7\u53D6\u5BBD\u5EA6";
const int kSampleChars = 10;
// Gap between the image and the label's edge; the text keeps twice as much.
const int kImageMargin = 3;

// An off-screen bitmap in the format of a paint DC, selected into a DC of its
// own while it lives.
class CMemoryCanvas {
public:
    CMemoryCanvas(HDC hdc, int cx, int cy)
        : m_hdc(::CreateCompatibleDC(hdc)), m_hBmp(::CreateCompatibleBitmap(hdc, cx, cy)),
          m_hOld(::SelectObject(m_hdc, m_hBmp))
    {
    }
    ~CMemoryCanvas()
    {
        ::SelectObject(m_hdc, m_hOld);
        ::DeleteObject(m_hBmp);
        ::DeleteDC(m_hdc);
    }
    CMemoryCanvas(const CMemoryCanvas&) = delete;
    CMemoryCanvas& operator=(const CMemoryCanvas&) = delete;

    HDC Dc() const { return m_hdc; }

private:
    HDC m_hdc;
    HBITMAP m_hBmp;
    HGDIOBJ m_hOld;
};

SIZE MeasureText(HDC hdc, const wchar_t* text, int length)
{
    RECT rc = {0, 0, 0, 0};
    ::DrawTextW(hdc, text, length, &rc, DT_CALCRECT);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

} // namespace

UINT LabelTextFormat(LONG style)
{
    UINT format = DT_WORDBREAK;
    if (style & SS_CENTER)
        format = DT_WORDBREAK | DT_CENTER | DT_VCENTER;
    else if (style & SS_RIGHT)
        format = DT_WORDBREAK | DT_RIGHT;
    if (style & SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS;
    if (style & SS_PATHELLIPSIS)
        format |= DT_PATH_ELLIPSIS | DT_SINGLELINE;
    if (style & SS_CENTERIMAGE)
        format |= DT_VCENTER | DT_SINGLELINE;
    return format;
}

void CStaticEx::PreSubclassWindow()
{
    const int n = ::GetWindowTextLengthW(m_hWnd);
    m_strText.assign(static_cast<size_t>(n), L'\0');
    if (n > 0)
        ::GetWindowTextW(m_hWnd, &m_strText[0], n + 1);
    CWnd::PreSubclassWindow();
}

BOOL CStaticEx::SetImage(HBITMAP hBitmap)
{
    m_bImageRight = FALSE;
    BITMAP bm;
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof bm, &bm))
        return FALSE;
    m_nImageWidth = bm.bmWidth;
    m_nImageHeight = bm.bmHeight;
    m_imgList.reset(MakeStripImageList(hBitmap, 1));
    return TRUE;
}

HFONT CStaticEx::GetLabelFont()
{
    if (m_font)
        return m_font.get();
    HFONT hBase = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!hBase)
        hBase = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW lf = {};
    ::GetObjectW(hBase, sizeof lf, &lf);
    if (m_nFontHeight)
        lf.lfHeight = m_nFontHeight;
    if (m_nFontWeight != -1)
        lf.lfWeight = m_nFontWeight;
    if (m_nFontWidth)
        lf.lfWidth = m_nFontWidth;
    if (m_bUnderline)
        lf.lfUnderline = TRUE;
    std::memcpy(lf.lfFaceName, kLabelFace, sizeof kLabelFace);
    m_font.reset(::CreateFontIndirectW(&lf));
    return m_font.get();
}

int CStaticEx::DrawLabelText(HDC hdc)
{
    RECT box;
    ::GetClientRect(m_hWnd, &box);
    if (m_nImageWidth) {
        if (m_bImageRight)
            box.right -= m_nImageWidth + 2 * kImageMargin;
        else
            box.left += m_nImageWidth + 2 * kImageMargin;
    }
    const UINT format = LabelTextFormat(::GetWindowLongW(m_hWnd, GWL_STYLE));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_bHoverColor && m_bHover ? m_crHover : m_crText);
    const HGDIOBJ hOldFont = ::SelectObject(hdc, GetLabelFont());

    const SIZE sample = MeasureText(hdc, kSample, kSampleChars);
    const int lineHeight = sample.cy;
    const int step = lineHeight + m_nLineSpace;
    box.bottom = box.top + lineHeight;
    const int boxWidth = box.right - box.left;
    if (boxWidth >= sample.cx / kSampleChars) {
        std::wstring line;
        int lines = 1;
        auto nextLine = [&]() {
            ::DrawTextW(hdc, line.c_str(), static_cast<int>(line.size()), &box, format);
            ::OffsetRect(&box, 0, step);
            line.clear();
            ++lines;
        };
        for (const wchar_t c : m_strText) {
            if (c == L'\r')
                continue;
            if (c == L'\n') {
                nextLine();
                continue;
            }
            line += c;
            // A character wider than the whole box stays alone on its line,
            // clipped, rather than being pushed on to the next line for ever.
            if (line.size() > 1 &&
                MeasureText(hdc, line.c_str(), static_cast<int>(line.size())).cx > boxWidth) {
                line.pop_back();
                nextLine();
                line += c;
            }
        }
        ::DrawTextW(hdc, line.c_str(), static_cast<int>(line.size()), &box, format);

        const int needed = (lines - 1) * step + lineHeight;
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        if (wr.bottom - wr.top < needed)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, wr.right - wr.left, needed,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SelectObject(hdc, hOldFont);
    return 0;
}

LRESULT CStaticEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // Painting covers every pixel; erasing first would only flicker.
        return TRUE;
    case WM_SETCURSOR:
        if (m_bHandCursor)
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_bTracking)
            m_bTracking = TrackHoverAndLeave(m_hWnd);
        break;
    case WM_MOUSEHOVER:
        m_bHover = TRUE;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_MOUSELEAVE:
        m_bHover = FALSE;
        m_bTracking = FALSE;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CStaticEx::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    {
        CMemoryCanvas canvas(hdc, rc.right, rc.bottom);
        const HDC hMem = canvas.Dc();
        const int saved = ::SaveDC(hMem);
        DrawParentBackground(m_hWnd, hMem);
        ::RestoreDC(hMem, saved);
        if (m_imgList) {
            const int x = m_bImageRight ? rc.right - m_nImageWidth - kImageMargin : kImageMargin;
            ::ImageList_Draw(m_imgList.get(), m_nImageIndex, hMem, x, (rc.bottom - m_nImageHeight) / 2,
                             ILD_TRANSPARENT);
        }
        DrawLabelText(hMem);
        ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, hMem, 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &ps);
}
