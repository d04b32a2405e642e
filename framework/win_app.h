#pragma once
#include "wnd.h"

// The application object: one global instance of a class derived from it.
// The entry point runs InitInstance, then the message loop when it returned
// TRUE, and ExitInstance in either case; ExitInstance's result is the exit code.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // Last chance for a queued message after the window tree declined it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Fetches and dispatches one message; FALSE on WM_QUIT, which it leaves
    // for the outermost loop.
    BOOL PumpMessage();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// Lets windows host ActiveX controls; OLE then starts with the first control.
void AfxEnableControlContainer();
// Starts OLE on this thread for a control about to be created, once.
BOOL AfxEnsureOleForControls();
// Starts OLE for the whole process run; it is shut down after ExitInstance.
BOOL AfxOleInit();

// Runs the application object: InitInstance, the loop, ExitInstance.
int AfxWinMain(HINSTANCE hInstance);
