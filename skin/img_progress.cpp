#include "skin/img_progress.h"

#include <string>

#include "logic/skin_geometry.h"
#include "skin/skin_image.h"

namespace {

// A memory DC with one bitmap selected into it while it lives.
class CBitmapDc {
public:
    CBitmapDc(HDC hdc, HBITMAP hBmp) : m_hdc(::CreateCompatibleDC(hdc)), m_hOld(::SelectObject(m_hdc, hBmp)) {}
    ~CBitmapDc()
    {
        ::SelectObject(m_hdc, m_hOld);
        ::DeleteDC(m_hdc);
    }
    CBitmapDc(const CBitmapDc&) = delete;
    CBitmapDc& operator=(const CBitmapDc&) = delete;

    HDC Dc() const { return m_hdc; }

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

// The same bitmap handed over again stays alive.
void TakeOver(BitmapHandle& owner, HBITMAP hBmp)
{
    if (owner.get() != hBmp)
        owner.reset(hBmp);
}

} // namespace

BOOL CImgProgress::SetImages(HBITMAP hTrack, HBITMAP hFill)
{
    TakeOver(m_hBack, hTrack);
    TakeOver(m_hFill, hFill);
    SkinSize track = BitmapSize(hTrack);
    if (hTrack) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, track.w, track.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        track = SkinSize{rc.right, rc.bottom};
    }
    m_rcCtrl = RECT{0, 0, track.w, track.h};
    const SkinRect fill = ProgressFillRect(track, BitmapSize(hFill));
    m_rcFill = RECT{fill.x, fill.y, fill.x + fill.w, fill.y + fill.h};
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

LRESULT CImgProgress::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        // Painting covers every pixel; erasing first would only flicker.
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CImgProgress::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    const int cx = m_rcCtrl.right - m_rcCtrl.left, cy = m_rcCtrl.bottom - m_rcCtrl.top;
    {
        BitmapHandle canvas(::CreateCompatibleBitmap(hdc, cx, cy));
        CBitmapDc mem(hdc, canvas.get());
        DrawParentBackground(m_hWnd, mem.Dc());
        ::SetWindowOrgEx(mem.Dc(), 0, 0, nullptr);

        if (m_hBack) {
            CBitmapDc track(hdc, m_hBack.get());
            ::TransparentBlt(mem.Dc(), 0, 0, cx, cy, track.Dc(), 0, 0, cx, cy, SKIN_KEY_COLOR);
        }
        const int pos = static_cast<int>(SendMessage(PBM_GETPOS));
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        if (m_hFill) {
            CBitmapDc fill(hdc, m_hFill.get());
            const SkinRect fillRect{m_rcFill.left, m_rcFill.top, m_rcFill.right - m_rcFill.left,
                                    m_rcFill.bottom - m_rcFill.top};
            for (const SkinPiece& p : ProgressFillPieces(fillRect, pos, range.iLow, range.iHigh))
                ::TransparentBlt(mem.Dc(), p.dst.x, p.dst.y, p.dst.w, p.dst.h, fill.Dc(), p.src.x, p.src.y,
                                 p.src.w, p.src.h, SKIN_KEY_COLOR);
        }
        if (m_bShowText) {
            const std::wstring text = ProgressText(pos, range.iLow, range.iHigh);
            ::SetTextColor(mem.Dc(), m_crText);
            ::SetBkMode(mem.Dc(), TRANSPARENT);
            RECT rc = m_rcCtrl;
            ::DrawTextW(mem.Dc(), text.c_str(), static_cast<int>(text.size()), &rc,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        ::BitBlt(hdc, 0, 0, cx, cy, mem.Dc(), 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &ps);
}
