#include "app/velmor3_app.h"

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "app/app_paths.h"
#include "app/crash_dump.h"
#include "app/flash_check.h"
#include "app/install.h"
#include "app/pending_steps.h"
#include "app/settings_store.h"
#include "app/shortcuts.h"
#include "app/usage_ping.h"
#include "gamewnd/velmor3_dlg.h"
#include "logic/operator_hosts.h"
#include "logic/product.h"
#include "skin/message_box.h"

CVelmor3App theApp;

HWND g_hParentWnd = nullptr;
int g_nParentPages = 0;

namespace {

std::vector<std::wstring> CommandArguments()
{
    std::vector<std::wstring> args;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv)
        return args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    ::LocalFree(argv);
    return args;
}

} // namespace

LaunchMode DetectLaunchMode()
{
    const LaunchDecision d = DecideLaunchMode(CommandArguments(), ExePath(), CommonFolder());
    g_hParentWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(d.parentWnd));
    g_nParentPages = d.parentPages;
    return d.mode;
}

CVelmor3App::CVelmor3App() = default;
CVelmor3App::~CVelmor3App() = default;

void CVelmor3App::StartGdiplus()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        m_gdiplusToken = 0;
}

BOOL CVelmor3App::InitInstance()
{
    ::SetUnhandledExceptionFilter(&CrashFilter);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    const LaunchMode mode = DetectLaunchMode();
    m_hPingStarted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hPingDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return RunLaunchMode(mode);
}

BOOL CVelmor3App::RunLaunchMode(LaunchMode mode)
{
    if (mode == LaunchMode::Uninstall) {
        if (ShowAppMessage(MB_YESNO, PRODUCT_TITLE,
                           L"确定要移除 8266青砚行记极速登录器吗？",
                           nullptr) == IDYES) {
            UninstallSelf();
            ::WaitForSingleObject(m_hPingDone, INFINITE);
        }
        return FALSE;
    }

    if (mode == LaunchMode::Update) {
        CheckForUpdate(true);
        if (RunUpdate()) {
            LaunchExecutable();
            StampUpdTime();
            return FALSE;
        }
        // A failed update carries on as the installed copy, without its ping.
    }

    if (mode == LaunchMode::Install || mode == LaunchMode::GameShortcut) {
        if (CheckForUpdate(false) != 0 && RunUpdate()) {
            LaunchExecutable();
            StampUpdTime();
            const HRESULT com = ::CoInitialize(nullptr);
            CreateShortcuts(ExePath());
            if (SUCCEEDED(com))
                ::CoUninitialize();
            return FALSE;
        }
    }

    StartGdiplus();

    if (mode == LaunchMode::Install) {
        InstallSelf();
        WriteDisableDays();
        SendUsagePing(UsagePingAddress(kInstallPing, IncrementUsageCounter(L"Inst")).c_str());
        ::WaitForSingleObject(m_hPingDone, INFINITE);
        return FALSE;
    }

    if (mode == LaunchMode::PortalShortcut) {
        ::ShellExecuteW(nullptr, L"open", PORTAL_HOME_URL, nullptr, nullptr, SW_SHOWMAXIMIZED);
        SendUsagePing(UsagePingAddress(kPortalPing, IncrementUsageCounter(L"8266")).c_str());
        ::WaitForSingleObject(m_hPingDone, INFINITE);
        return FALSE;
    }

    if (mode == LaunchMode::GameShortcut || mode == LaunchMode::InstalledRun)
        SendUsagePing(UsagePingAddress(kGamePing, IncrementUsageCounter(L"Game")).c_str());

    SetIeCacheLimit();

    if (mode == LaunchMode::NewGameWindow || mode == LaunchMode::GameHall) {
        if (!AfxOleInit()) {
            ShowAppMessage(MB_OK, PRODUCT_TITLE, L"初始化OLE库失败", nullptr);
            return FALSE;
        }
        if (mode == LaunchMode::NewGameWindow && RunLoginWindow() == IDCANCEL) {
            ::PostMessageW(g_hParentWnd, WM_SYSCOMMAND, SC_CLOSE, 8266);
            return FALSE;
        }
        return CreateGameFrame() ? TRUE : FALSE;
    }

    if (!IsFlashPlayerRecent() &&
        ShowAppMessage(MB_YESNO, PRODUCT_TITLE,
                       L"您当前的Flash Player版本过低，是否安装更高版本的Flash Player ?",
                       nullptr) == IDYES) {
        ::ShellExecuteW(nullptr, L"open", L"iexplore.exe", L"https://get.adobe.com/flashplayer/",
                        nullptr, SW_SHOWMAXIMIZED);
        return FALSE;
    }
    CVelmor3Dlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CVelmor3App::ExitInstance()
{
    if (m_hPingStarted)
        ::CloseHandle(m_hPingStarted);
    if (m_hPingDone)
        ::CloseHandle(m_hPingDone);
    m_hPingStarted = m_hPingDone = nullptr;
    if (m_gdiplusToken)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    return CWinApp::ExitInstance();
}
