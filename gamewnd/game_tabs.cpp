#include "gamewnd/velmor3_dlg.h"

#include "logic/product.h"
#include "logic/tab_geometry.h"
#include "skin/message_box.h"

namespace {

POINT ClientPointFromLParam(HWND hWnd, LPARAM lParam, bool screen)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (screen)
        ::ScreenToClient(hWnd, &pt);
    return pt;
}

SkinPoint AsSkinPoint(POINT pt)
{
    return SkinPoint{pt.x, pt.y};
}

} // namespace

void CVelmor3Dlg::InvalidateEdges(const SkinEdges& edges)
{
    RECT rc = {edges.left, edges.top, edges.right, edges.bottom};
    ::InvalidateRect(m_hWnd, &rc, TRUE);
}

void CVelmor3Dlg::ActivateTip(bool active)
{
    m_bTipActive = active ? TRUE : FALSE;
    if (m_tipTabs)
        ::SendMessageW(m_tipTabs, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void CVelmor3Dlg::PaintOver(HDC hdc, int, int)
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    ::SetBkMode(hdc, TRANSPARENT);
    PaintTabs(hdc);
    if (hOld)
        ::SelectObject(hdc, hOld);
}

void CVelmor3Dlg::PaintTabs(HDC hdc)
{
    for (int i = 0; i < PageCount(); ++i) {
        const int face = i == m_nCurPage ? 2 : i == m_nHotTab ? 1 : 0;
        const SkinRect tab = TabFaceRect(i);
        ::ImageList_DrawEx(m_imlTabs.get(), face, hdc, tab.x, tab.y, tab.w, tab.h, CLR_DEFAULT, CLR_DEFAULT,
                           ILD_TRANSPARENT | ILD_SCALE);
        if (i == m_nHotTab && m_nCloseState >= 0) {
            const SkinRect close = TabCloseRect(i);
            ::ImageList_DrawEx(m_imlTabClose.get(), m_nCloseState, hdc, close.x, close.y, close.w, close.h,
                               CLR_DEFAULT, CLR_DEFAULT, ILD_TRANSPARENT | ILD_SCALE);
        }
        if (i < static_cast<int>(m_arrPageLabel.size())) {
            const SkinEdges label = TabLabelRect(i);
            RECT rc = {label.left, label.top, label.right, label.bottom};
            const std::wstring& text = m_arrPageLabel[i];
            ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rc, DT_SINGLELINE);
        }
    }
}

void CVelmor3Dlg::ShowPage(HWND hPage)
{
    for (HWND w : m_arrPageWnd) {
        if (w != hPage) {
            ::ShowWindow(w, SW_HIDE);
            continue;
        }
        MoveToContent(w);
        ::ShowWindow(w, SW_SHOW);
        ::SetForegroundWindow(w);
        if (::IsWindowVisible(m_hWndHall))
            ::ShowWindow(m_hWndHall, SW_HIDE);
    }
}

void CVelmor3Dlg::SelectTabAt(POINT point)
{
    const int t = TabAt(AsSkinPoint(point), PageCount());
    if (t < 0)
        return;
    if (t != m_nCurPage) {
        const int old = m_nCurPage;
        m_nCurPage = t;
        ShowPage(m_arrPageWnd[t]);
        InvalidateEdges(TabRedrawRect(old));
        InvalidateEdges(TabRedrawRect(t));
    } else if (::IsWindowVisible(m_hWndHall)) {
        ShowPage(m_arrPageWnd[t]);
    }
    if (OnTabClose(AsSkinPoint(point), t)) {
        m_nCloseState = 2;
        m_nHotTab = t;
        InvalidateEdges(TabCloseRedrawRect(t));
    }
}

void CVelmor3Dlg::SwitchToNextPage()
{
    const int n = PageCount();
    if (n == 0 || !::IsWindowVisible(m_hWnd) || ::IsIconic(m_hWnd))
        return;
    const bool hallVisible = ::IsWindowVisible(m_hWndHall) != FALSE;
    const int next = PageAfterSwitch(m_nCurPage, n, hallVisible);
    if (next != m_nCurPage) {
        InvalidateEdges(TabRedrawRect(m_nCurPage));
        m_nCurPage = next;
        InvalidateEdges(TabRedrawRect(m_nCurPage));
    }
    if (m_nCurPage >= 0 && m_nCurPage < n)
        ShowPage(m_arrPageWnd[m_nCurPage]);
}

void CVelmor3Dlg::ResetHover()
{
    m_nHotTab = -1;
    m_nCloseState = -1;
}

void CVelmor3Dlg::ClosePage(int index)
{
    const int n = PageCount();
    if (index < 0 || index >= n)
        return;
    if (n == 1) {
        InvalidateEdges(TabCloseRedrawRect(index));
        ResetHover();
        OnCancel();
        return;
    }
    const std::wstring question = L"确定要退出账号：" + m_arrPageLabel[index] + L" ?";
    SkinEdges area = TabRedrawRect(index);
    const bool yes = ShowAppMessage(MB_YESNO, PRODUCT_TITLE, question.c_str(), nullptr) == IDYES;
    // Pages may have attached while the question was open.
    const int before = PageCount();
    if (yes && index < before && before > 1) {
        HWND hPage = m_arrPageWnd[index];
        m_arrPageWnd.erase(m_arrPageWnd.begin() + index);
        m_arrPageLabel.erase(m_arrPageLabel.begin() + index);
        const int current = PageAfterClose(index, before);
        ShowPage(m_arrPageWnd[current]);
        m_nCurPage = current;
        area = TabStripRedrawRect(before);
        ::SetParent(hPage, nullptr);
        ::PostMessageW(hPage, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    ResetHover();
    InvalidateEdges(area);
}

void CVelmor3Dlg::OnTabHitTest(LRESULT baseHit, POINT client)
{
    const SkinPoint p = AsSkinPoint(client);
    const int n = PageCount();
    if (!InTabStrip(p, n)) {
        if (m_nHotTab != -1 || m_nCloseState != -1) {
            InvalidateEdges(m_nHotTab != -1 ? TabRedrawRect(m_nHotTab) : TabCloseRedrawRect(-1));
            ResetHover();
        }
        ActivateTip(false);
        return;
    }
    const int t = TabAt(p, n);
    if (!m_bTipActive) {
        ActivateTip(true);
        TOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = 0;
        std::wstring label = t < static_cast<int>(m_arrPageLabel.size()) ? m_arrPageLabel[t] : std::wstring();
        tool.lpszText = &label[0];
        if (m_tipTabs)
            ::SendMessageW(m_tipTabs, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (t != m_nHotTab) {
        ActivateTip(false);
    }
    int state = 0;
    if (OnTabClose(p, t)) {
        state = ::GetKeyState(VK_LBUTTON) < 0 ? 2 : 1;
        ActivateTip(false);
    }
    if (t != m_nHotTab || state != m_nCloseState) {
        const int oldHot = m_nHotTab;
        const SkinEdges oldArea = t == oldHot ? TabCloseRedrawRect(oldHot) : TabRedrawRect(oldHot);
        m_nHotTab = t;
        m_nCloseState = state;
        if (oldHot != -1)
            InvalidateEdges(oldArea);
        if (t != oldHot)
            InvalidateEdges(TabRedrawRect(t));
    }
    if (!m_bTrackLeave && baseHit != HTCAPTION) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTrackLeave = ::TrackMouseEvent(&track);
    }
}

BOOL CVelmor3Dlg::OnTabMouse(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    const int n = PageCount();
    switch (msg) {
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
        if (m_nHotTab != -1 || m_nCloseState != -1) {
            InvalidateEdges(TabRedrawRect(m_nHotTab));
            ResetHover();
        }
        if (msg == WM_MOUSELEAVE)
            m_bTrackLeave = FALSE;
        return FALSE;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: {
        const bool nc = msg == WM_NCLBUTTONDOWN;
        const POINT pt = ClientPointFromLParam(m_hWnd, lParam, nc);
        if (!InTabStrip(AsSkinPoint(pt), n))
            return FALSE;
        SelectTabAt(pt);
        // The window is not dragged by its tabs.
        return nc;
    }
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: {
        const bool nc = msg == WM_NCLBUTTONUP;
        const POINT pt = ClientPointFromLParam(m_hWnd, lParam, nc);
        if (!InTabStrip(AsSkinPoint(pt), n))
            return FALSE;
        const int closeAt = TabCloseAt(AsSkinPoint(pt), n);
        if (closeAt >= 0)
            ClosePage(closeAt);
        return nc;
    }
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP: {
        const POINT pt = ClientPointFromLParam(m_hWnd, lParam, msg == WM_NCMBUTTONUP);
        if (!InTabStrip(AsSkinPoint(pt), n))
            return FALSE;
        ClosePage(TabAt(AsSkinPoint(pt), n));
        return TRUE;
    }
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: {
        const POINT pt = ClientPointFromLParam(m_hWnd, lParam, msg == WM_NCLBUTTONDBLCLK);
        return InTabStrip(AsSkinPoint(pt), n);
    }
    }
    return FALSE;
}
