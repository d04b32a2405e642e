#pragma once
#include <windows.h>

#include <string>

#include "skin/dlg_ex.h"

const UINT IDD_MESSAGEBOX = 130;
const UINT IDC_MSGBOX_BTN1 = 5000;
const UINT IDC_MSGBOX_BTN2 = 5001;

// The program's only message box. style is MB_OK (0), MB_OKCANCEL (1) or
// MB_YESNO (4); any other value shows the single OK button. The answer is
// IDOK, IDCANCEL, IDYES or IDNO (closing the box answers IDCANCEL), or -1 when
// no box could be shown.
int ShowAppMessage(UINT style, const wchar_t* title, const wchar_t* text, HWND owner);

int RunMessageBox(HWND owner, const wchar_t* text, HBITMAP hBack, HBITMAP hClose, HBITMAP hBtn1,
                  HBITMAP hBtn2, const wchar_t* title, UINT style);

// Sizes itself to its text; Enter and Escape do nothing.
class CMessageBox : public CDlgEx {
public:
    explicit CMessageBox(CWnd* pParent);
    ~CMessageBox() override;

    // Before the dialog is created. Takes over the close and button strips
    // (the background goes on to the dialog base).
    void SetContent(UINT style, const wchar_t* title, const wchar_t* text, HBITMAP hBack, HBITMAP hClose,
                    HBITMAP hBtn1, HBITMAP hBtn2);

    HBITMAP m_hBack = nullptr;
    HBITMAP m_hClose = nullptr;
    HBITMAP m_hBtn1 = nullptr;
    HBITMAP m_hBtn2 = nullptr;
    std::wstring m_strText;
    std::wstring m_strTitle;
    int m_nStyle = 0;
    int m_nLines = 1;
    HFONT m_pFont = nullptr;
    COLORREF m_crText = 0;
    CBtnEx m_btn1;
    CBtnEx m_btn2;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE MeasureText();
    void PaintText();
};
