#include "button.h"

#include "win_app.h"

BOOL CButton::Create(const wchar_t* text, DWORD style, const RECT& rc, CWnd* pParent, UINT nID)
{
    HWND hWnd = ::CreateWindowExW(0, L"BUTTON", text, style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, pParent ? pParent->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                  AfxGetInstanceHandle(), nullptr);
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

void CButton::DrawItem(DRAWITEMSTRUCT*) {}

BOOL CButton::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (msg != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    *pResult = TRUE;
    return TRUE;
}
