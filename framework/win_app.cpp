#include "win_app.h"

#include <ole2.h>

namespace {

CWinApp* g_pApp = nullptr;
bool g_bControlContainer = false;
bool g_bOleStarted = false;

} // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        m_nExitCode = static_cast<int>(msg.wParam);
        ::PostQuitMessage(m_nExitCode);
        return FALSE;
    }
    if (got == -1)
        return FALSE;
    if (!WalkPreTranslateTree(&msg) && !PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    while (PumpMessage()) {
    }
    // Take the WM_QUIT that PumpMessage left behind.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    return m_nExitCode;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

void AfxEnableControlContainer()
{
    g_bControlContainer = true;
}

BOOL AfxEnsureOleForControls()
{
    if (!g_bControlContainer)
        return FALSE;
    return AfxOleInit();
}

BOOL AfxOleInit()
{
    if (g_bOleStarted)
        return TRUE;
    if (FAILED(::OleInitialize(nullptr)))
        return FALSE;
    g_bOleStarted = true;
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = hInstance;
    if (app->InitInstance())
        app->Run();
    const int code = app->ExitInstance();
    if (g_bOleStarted)
        ::OleUninitialize();
    return code;
}
