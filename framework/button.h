#pragma once
#include "wnd.h"

// A push button; owner-drawn buttons get their WM_DRAWITEM as DrawItem.
class CButton : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rc, CWnd* pParent, UINT nID);

protected:
    virtual void DrawItem(DRAWITEMSTRUCT* pDis);
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
