#include "dialog.h"

#include "win_app.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hCtrl)
        rControl.SubclassWindow(hCtrl);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

HWND CDialog::CreateFromTemplate(HWND hWndParent)
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5));
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const DLGTEMPLATE* pTemplate = hTemplate ? static_cast<const DLGTEMPLATE*>(::LockResource(hTemplate)) : nullptr;
    if (!pTemplate)
        return nullptr;
    return ::CreateDialogIndirectParamW(hInst, pTemplate, hWndParent, &CDialog::StaticDlgProc,
                                        reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DoModal()
{
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hWndParent && AfxGetApp() && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != this)
        hWndParent = AfxGetApp()->m_pMainWnd->m_hWnd;
    const bool parentWasEnabled = hWndParent && ::IsWindowEnabled(hWndParent);
    if (parentWasEnabled)
        ::EnableWindow(hWndParent, FALSE);

    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    if (CreateFromTemplate(hWndParent)) {
        if (m_hWnd && !m_bEndModal && !::IsWindowVisible(m_hWnd) &&
            !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE))
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        while (!m_bEndModal && m_hWnd) {
            if (!AfxGetApp()->PumpMessage()) {
                m_nModalResult = -1;
                break;
            }
        }
    }
    if (parentWasEnabled)
        ::EnableWindow(hWndParent, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (hWndParent && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(hWndParent);
        DestroyWindow();
    }
    m_bModal = false;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = false;
    return CreateFromTemplate(pParentWnd ? pParentWnd->m_hWnd : nullptr) != nullptr;
}

void CDialog::EndDialog(int nResult)
{
    if (!m_bModal) {
        DestroyWindow();
        return;
    }
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx{this, bSaveAndValidate};
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation (Tab, Enter, Escape) of the dialog and its controls.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

void CDialog::CenterWindow()
{
    HWND hAround = ::GetWindow(m_hWnd, GW_OWNER);
    CWinApp* app = AfxGetApp();
    if (!hAround && app && app->m_pMainWnd && app->m_pMainWnd != this)
        hAround = app->m_pMainWnd->m_hWnd;
    RECT area;
    if (!hAround || !::IsWindowVisible(hAround) || ::IsIconic(hAround) || !::GetWindowRect(hAround, &area))
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - w) / 2,
                   area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    // From here on the dialog's messages reach WindowProc, and the dialog
    // manager's own handling is what DefWindowProc falls back to.
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    if (!self->SubclassWindow(hWnd))
        return TRUE;
    RECT before;
    ::GetWindowRect(hWnd, &before);
    const BOOL result = self->OnInitDialog();
    // A hidden pop-up that stayed where its template put it and whose owner
    // is disabled (or missing) is centred, as message boxes are.
    RECT after;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (self->m_hWnd == hWnd && !(::GetWindowLongW(hWnd, GWL_STYLE) & (WS_VISIBLE | WS_CHILD)) &&
        ::GetWindowRect(hWnd, &after) && after.left == before.left && after.top == before.top &&
        (!hOwner || !::IsWindowEnabled(hOwner)))
        self->CenterWindow();
    return result;
}
