#pragma once
#include <windows.h>

// What the login and game windows need of an embedded web browser. The
// implementation hosts the WebBrowser control; everything above it talks to
// these two interfaces only.

// Element events the host may cancel: mousedown, mouseup, mousemove,
// mouseover, mouseout, contextmenu.
struct BrowserElementEvent {
    const wchar_t* type;      // "mousedown", ...
    const wchar_t* tagName;   // of the source element
    const wchar_t* className; // of the source element
    POINT ptClient;           // where, in the browser window
};

// How the host site answers the browser's questions about itself.
struct BrowserHostOptions {
    bool bContextMenu = false;   // the browser's own context menu
    bool bScrollBars = true;     // host flags: scroll bars, 3-D border
    bool bBorder3D = false;
    bool bShowMessages = false;  // let the browser show its own message boxes
};

// Events raised by the browser, on the user-interface thread.
class IBrowserEvents {
public:
    // Before every navigation, also those started by page script or links,
    // frames included. Setting *pCancel stops it.
    virtual void OnBeforeNavigate(const wchar_t* url, bool* pCancel) = 0;
    // After every completed navigation, frames included.
    virtual void OnNavigateComplete(const wchar_t* url) = 0;
    // A navigation failed; setting *pCancel suppresses the error page.
    virtual void OnNavigateError(const wchar_t* url, bool* pCancel) = 0;
    virtual void OnTitleChange(const wchar_t* title) = 0;
    // A mouse or context-menu event of a page element; false cancels the
    // page's default action.
    virtual bool OnElementEvent(const BrowserElementEvent& event) = 0;

protected:
    ~IBrowserEvents() = default;
};

class IEmbeddedBrowser {
public:
    virtual ~IEmbeddedBrowser() = default;

    // Creates the browser as a child of hWndParent covering rc; events go to
    // pEvents until Destroy.
    virtual bool Create(HWND hWndParent, const RECT& rc, const BrowserHostOptions& options,
                        IBrowserEvents* pEvents) = 0;
    virtual void Destroy() = 0;
    virtual void SetRect(const RECT& rc) = 0;

    // Loads asynchronously; the events above follow.
    virtual bool Navigate(const wchar_t* url) = 0;
    virtual void Refresh() = 0;
    // True: no script-error dialogs.
    virtual void SetSilent(bool bSilent) = 0;

    // Keys the page should see (Tab, Enter, clipboard) pass through here from
    // the message loop; true when the browser used the message.
    virtual bool TranslateAccelerator(MSG* pMsg) = 0;

    // The document body's "scroll" attribute ("auto": bars only when needed).
    virtual bool SetBodyScroll(const wchar_t* value) = 0;

    // The window whose owned pop-ups (the browser's own message boxes, class
    // "#32770") belong to this browser.
    virtual HWND GetHostWindow() const = 0;
};

