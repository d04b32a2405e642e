#pragma once
#include <windows.h>

// A window object bound to an HWND by subclassing: every message of the window
// passes through the virtual WindowProc, whose default hands it on to the
// window's original procedure.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Binds the object to an existing window; PreSubclassWindow runs first.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();
    BOOL DestroyWindow();

    // Offered every queued message for this window or its children before it
    // is dispatched; return TRUE to swallow it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }

protected:
    // Called once the window handle is known, before its messages arrive here.
    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // A notification the parent reflected back to this control (owner
    // drawing); TRUE with *pResult when the control handled it.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND from a menu, accelerator or child control; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after the window is gone; the object may delete itself here.
    virtual void PostNcDestroy() {}

    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC m_pfnSuper = nullptr;
};

// Offers a message to the PreTranslateMessage of its window and that window's
// parents, up to and including the first top-level window.
BOOL WalkPreTranslateTree(MSG* pMsg);
