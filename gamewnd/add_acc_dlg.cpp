#include "gamewnd/add_acc_dlg.h"

#include "gamewnd/messages.h"
#include "skin/gdi_handles.h"
#include "skin/skin_image.h"

namespace {

const WORD kBackImage = 162;
const WORD kButtonImage = 133;

} // namespace

CAddAccDlg::CAddAccDlg() : CDlgEx(IDD_ADD_ACCOUNT, nullptr) {}

void CAddAccDlg::DoDataExchange(CDataExchange* pDX)
{
    CDlgEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADD_ACCOUNT_TEXT, m_lblQuestion);
    DDX_Control(pDX, IDOK, m_btnYes);
    DDX_Control(pDX, IDCANCEL, m_btnNo);
}

BOOL CAddAccDlg::OnInitDialog()
{
    CDlgEx::OnInitDialog();
    SetTitle(L"登录其他账号");
    SetFrameMetrics(30, 3, 5, 1, 0);
    SetSkin(LoadSkinImage(nullptr, kBackImage), TRUE, FALSE, nullptr, nullptr, nullptr, nullptr);
    // The buttons keep copies of the strip.
    const BitmapHandle buttons(LoadSkinImage(nullptr, kButtonImage));
    m_btnYes.SetImage(buttons.get(), TRUE);
    m_btnNo.SetImage(buttons.get(), TRUE);
    m_lblQuestion.m_nLineSpace = 5;
    return TRUE;
}

void CAddAccDlg::Answer(WPARAM newTab)
{
    HWND hParent = ::GetWindow(m_hWnd, GW_OWNER);
    if (hParent)
        ::PostMessageW(hParent, UM_ADD_ACCOUNT, newTab, 0);
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CAddAccDlg::OnOK()
{
    Answer(1);
}

void CAddAccDlg::OnCancel()
{
    Answer(0);
}

LRESULT CAddAccDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ACTIVATE: {
        const LRESULT result = CDlgEx::WindowProc(msg, wParam, lParam);
        // A click elsewhere dismisses the prompt without an answer.
        if (LOWORD(wParam) == WA_INACTIVE)
            ::ShowWindow(m_hWnd, SW_HIDE);
        return result;
    }
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}
