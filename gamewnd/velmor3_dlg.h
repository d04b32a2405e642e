#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gamewnd/add_acc_dlg.h"
#include "logic/label_matcher.h"
#include "logic/skin_geometry.h"
#include "skin/btn_ex.h"
#include "skin/dlg_ex.h"
#include "skin/gdi_handles.h"
#include "skin/static_ex.h"

const UINT IDD_GAME_WINDOW = 102;
const UINT IDC_BTN_HIDE = 1001;
const UINT IDC_BTN_SOUND = 1002;
const UINT IDC_BTN_SYSTEM = 1003;
const UINT IDC_BTN_GAME_HALL = 1004;
const UINT IDC_LNK_ADD_ACCOUNT = 1005;
const UINT_PTR IDT_STATE_POLL = 3;
// Watches the login processes whose game window has not attached yet, to
// drop the label of one that ends without it.
const UINT_PTR IDT_LOGIN_WATCH = 8;

// The primary game window: it holds the game windows of the login processes
// as tabs, shows one at a time in its content area, and coordinates those
// processes through window messages.
class CVelmor3Dlg : public CDlgEx {
public:
    CVelmor3Dlg();
    ~CVelmor3Dlg() override;

    void ExitGame();
    void ToggleHideRestore();
    void BringToFront();
    void SetTrayIcon(bool add);
    void ToggleGameHall();
    void LoadHotkeys();

    // Pages and tabs.
    void ShowPage(HWND hPage);
    void SelectTabAt(POINT point);
    void SwitchToNextPage();
    void ClosePage(int index);

    // Other processes.
    void LaunchLogin();
    void LaunchGameHall();
    LRESULT AttachGameWindow(WPARAM wParam, LPARAM lParam);
    void ShowAddAccountPrompt();

    HICON m_hIcon = nullptr;
    CBtnEx m_btnHide;
    CBtnEx m_btnSystem;
    CBtnEx m_btnSound;
    CBtnEx m_btnGameHall;
    CStaticEx m_lnkAddAccount;
    BOOL m_bMuted = FALSE;
    BOOL m_bHallShown = FALSE;
    OSVERSIONINFOW m_osvi = {};
    HWND m_hWndHall = nullptr;
    HANDLE m_hPendingLogin = nullptr;
    std::vector<HWND> m_arrPageWnd;
    // Labels of the attached pages in tab order, then those accepted for
    // logins still on their way.
    std::vector<std::wstring> m_arrPageLabel;
    ImageListHandle m_imlTabs;
    ImageListHandle m_imlTabClose;
    int m_nCurPage = 0;
    int m_nHotTab = -1;
    int m_nCloseState = -1;
    BOOL m_bTipActive = FALSE;
    HWND m_tipTabs = nullptr;
    BOOL m_bTrackLeave = FALSE;
    CAddAccDlg m_dlgAddAcc;
    // The login processes started here whose game window has not attached
    // yet, and which label goes with which page.
    struct LoginProcess {
        HANDLE hProcess;
        DWORD processId;
    };
    std::vector<LoginProcess> m_arrLoginProcess;
    LabelMatcher m_labelMatcher;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PaintOver(HDC hdc, int width, int height) override;

private:
    int PageCount() const { return static_cast<int>(m_arrPageWnd.size()); }
    // Puts a page or the game hall over the content area, without repainting.
    void MoveToContent(HWND hWnd) const;
    void SetupSkinAndControls();
    // The game hall when shown, else the current page, fills the content area.
    void MoveFrontWindowToContent();
    BOOL OnMinimumSize(WINDOWPOS* pos);
    void OnStatePoll();
    void OnAddAccount(WPARAM newTab);
    BOOL OnCopyData(const COPYDATASTRUCT* data);
    void WatchLogins();
    void AttachPage(HWND hPage);

    // Tab strip.
    void PaintTabs(HDC hdc);
    void InvalidateEdges(const SkinEdges& edges);
    void OnTabHitTest(LRESULT baseHit, POINT client);
    // The strip's mouse messages; TRUE with *pResult when handled here.
    BOOL OnTabMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void ResetHover();
    void ActivateTip(bool active);

    int m_nLastWidth = 0;
    BOOL m_bSoundShownMuted = TRUE;
};

// The one primary window of the process; the keyboard hook reaches it here.
extern CVelmor3Dlg* g_pGameWnd;
