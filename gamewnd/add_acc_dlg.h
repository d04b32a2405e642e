#pragma once
#include "skin/btn_ex.h"
#include "skin/dlg_ex.h"
#include "skin/static_ex.h"

const UINT IDD_ADD_ACCOUNT = 161;
const UINT IDC_ADD_ACCOUNT_TEXT = 1023;

// The prompt under the "登录其他账号" link: a new tab in this window ("是")
// or a new window ("否"). It tells its parent with UM_ADD_ACCOUNT and hides
// itself; clicking elsewhere hides it without an answer.
class CAddAccDlg : public CDlgEx {
public:
    CAddAccDlg();
    ~CAddAccDlg() override = default;

    CBtnEx m_btnYes;
    CBtnEx m_btnNo;
    CStaticEx m_lblQuestion;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Answer(WPARAM newTab);
};
