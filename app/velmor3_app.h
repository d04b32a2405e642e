#pragma once
#include <windows.h>

#include <string>

#include "app/prgs_dlg.h"
#include "framework/win_app.h"
#include "logic/launch_mode.h"

extern HWND g_hParentWnd;
extern int g_nParentPages;

// Decides the launch mode from the command line and the executable's folder,
// filling g_hParentWnd and g_nParentPages for "/newgm" and "/gmhall".
LaunchMode DetectLaunchMode();

class CVelmor3App : public CWinApp {
public:
    CVelmor3App();
    ~CVelmor3App() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Non-zero when the update configuration names a different build;
    // refreshes m_szUpdAddr.
    int CheckForUpdate(bool forced);
    // True when the new build has taken the running executable's place.
    bool RunUpdate();
    // Fetches the update configuration: its version key into key (ANSI, 64
    // bytes) and its download address into m_szUpdAddr.
    bool FetchUpdateConfig(char key[64]);

    CPrgsDlg m_dlgUpdate;
    ULONG_PTR m_gdiplusToken = 0;
    wchar_t m_szUpdAddr[512] = {};
    HANDLE m_hPingStarted = nullptr;
    HANDLE m_hPingDone = nullptr;
    std::wstring m_strPageUrl;
    std::wstring m_strPageTitle;
    // The key of the last configuration fetched: a download must match it.
    char m_szUpdKey[64] = {};

private:
    BOOL RunLaunchMode(LaunchMode mode);
    void StartGdiplus();
};

extern CVelmor3App theApp;
