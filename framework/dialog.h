#pragma once
#include <atomic>

#include "wnd.h"

class CDialog;

// Direction and target of one DoDataExchange pass.
struct CDataExchange {
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a control of the dialog to its object (once, on the first exchange).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// A dialog from a template in the executable's resources, run modally through
// our own message loop (so PreTranslateMessage works there too) or modeless.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // IDOK, IDCANCEL or whatever EndDialog was given; -1 when the dialog
    // could not be created.
    virtual INT_PTR DoModal();
    // Modeless: the dialog lives until DestroyWindow.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Safe from any thread: the modal loop wakes up and returns nResult.
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Centres on the owner, else the main window, else the work area.
    void CenterWindow();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND CreateFromTemplate(HWND hWndParent);
    static INT_PTR CALLBACK StaticDlgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool m_bModal = false;
    std::atomic<bool> m_bEndModal{false};
    std::atomic<INT_PTR> m_nModalResult{-1};
};
