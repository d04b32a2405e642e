#include "gamewnd/velmor3_dlg.h"

#include <shellapi.h>

#include "framework/win_app.h"
#include "gamewnd/hotkeys.h"
#include "gamewnd/messages.h"
#include "logic/product.h"
#include "logic/tab_geometry.h"
#include "res/resource.h"
#include "skin/message_box.h"
#include "skin/skin_image.h"

CVelmor3Dlg* g_pGameWnd = nullptr;

namespace {

const WORD kCloseImage = 132;
const WORD kBackImage = 134;
const WORD kMaxImage = 135;
const WORD kMinImage = 136;
const WORD kRestoreImage = 137;
const WORD kHideImage = 138;
const WORD kSystemImage = 139;
const WORD kTabImage = 140;
const WORD kTabCloseImage = 141;
const WORD kPadlockImage = 142;
const WORD kSoundOffImage = 148;
const WORD kSoundOnImage = 149;
const WORD kHallHiddenImage = 150;
const WORD kHallShownImage = 151;

// Gives a skinned button a new strip, taking the frame size.
void SetButtonImage(CBtnEx& button, WORD id)
{
    const BitmapHandle strip(LoadSkinImage(nullptr, id));
    button.SetImage(strip.get(), TRUE);
}

HIMAGELIST LoadTabImages(WORD id)
{
    const BitmapHandle strip(LoadSkinImage(nullptr, id));
    return MakeStripImageList(strip.get(), 3);
}

} // namespace

CVelmor3Dlg::CVelmor3Dlg() : CDlgEx(IDD_GAME_WINDOW, nullptr)
{
    m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    g_pGameWnd = this;
}

CVelmor3Dlg::~CVelmor3Dlg()
{
    for (const LoginProcess& login : m_arrLoginProcess)
        ::CloseHandle(login.hProcess);
    if (m_hPendingLogin)
        ::CloseHandle(m_hPendingLogin);
    if (g_pGameWnd == this)
        g_pGameWnd = nullptr;
}

void CVelmor3Dlg::DoDataExchange(CDataExchange* pDX)
{
    CDlgEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_HIDE, m_btnHide);
    DDX_Control(pDX, IDC_BTN_SYSTEM, m_btnSystem);
    DDX_Control(pDX, IDC_BTN_SOUND, m_btnSound);
    DDX_Control(pDX, IDC_LNK_ADD_ACCOUNT, m_lnkAddAccount);
    DDX_Control(pDX, IDC_BTN_GAME_HALL, m_btnGameHall);
}

BOOL CVelmor3Dlg::OnInitDialog()
{
    CDlgEx::OnInitDialog();
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    g_hKeyboardHook = ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookProc, AfxGetInstanceHandle(), 0);
    m_osvi.dwOSVersionInfoSize = sizeof m_osvi;
    ::GetVersionExW(&m_osvi);
    SetupSkinAndControls();
    LaunchLogin();
    LoadHotkeys();
    return TRUE;
}

void CVelmor3Dlg::SetupSkinAndControls()
{
    ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
    SetTitle(GAME_WINDOW_TITLE);
    SetFrameMetrics(30, 4, 0, 0, 0);
    m_nTitleWeight = 600;
    // The close and minimize strips stay ours; the buttons keep copies.
    const BitmapHandle close(LoadSkinImage(nullptr, kCloseImage));
    const BitmapHandle minimize(LoadSkinImage(nullptr, kMinImage));
    SetSkin(LoadSkinImage(nullptr, kBackImage), FALSE, TRUE, minimize.get(), LoadSkinImage(nullptr, kMaxImage),
            LoadSkinImage(nullptr, kRestoreImage), close.get());
    m_bResizable = TRUE;
    // Practically invisible until the first game page attaches. Shown right
    // away (the template is visible anyway): a hidden dialog still at its
    // template position, (0, 0) here too, would be centred after this.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_SHOWWINDOW);

    SetButtonImage(m_btnHide, kHideImage);
    SetButtonImage(m_btnSound, kSoundOnImage);
    SetButtonImage(m_btnSystem, kSystemImage);
    m_btnSystem.m_crText = RGB(255, 255, 255);
    SetButtonImage(m_btnGameHall, kHallHiddenImage);

    m_lnkAddAccount.m_crText = RGB(255, 255, 255);
    m_lnkAddAccount.m_bHandCursor = TRUE;
    m_lnkAddAccount.m_bUnderline = TRUE;
    ::SetWindowLongW(m_lnkAddAccount.m_hWnd, GWL_STYLE,
                     ::GetWindowLongW(m_lnkAddAccount.m_hWnd, GWL_STYLE) | SS_NOTIFY);
    const BitmapHandle padlock(LoadSkinImage(nullptr, kPadlockImage));
    m_lnkAddAccount.SetImage(padlock.get());

    m_imlTabs.reset(LoadTabImages(kTabImage));
    m_imlTabClose.reset(LoadTabImages(kTabCloseImage));

    m_tipTabs = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
    if (m_tipTabs) {
        TOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = 0;
        tool.rect = RECT{0, 0, 0x7FFF, 0x7FFF};
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(m_tipTabs, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tipTabs, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 500);
    }
}

void CVelmor3Dlg::OnOK() {}

void CVelmor3Dlg::OnCancel()
{
    if (ShowAppMessage(MB_YESNO, PRODUCT_TITLE, L"窗口即将关闭，确定要退出游戏？", nullptr) == IDYES)
        ExitGame();
}

void CVelmor3Dlg::ExitGame()
{
    if (m_hPendingLogin) {
        ::TerminateProcess(m_hPendingLogin, 0);
        ::CloseHandle(m_hPendingLogin);
        m_hPendingLogin = nullptr;
    }
    if (g_hKeyboardHook) {
        ::UnhookWindowsHookEx(g_hKeyboardHook);
        g_hKeyboardHook = nullptr;
    }
    for (HWND hPage : m_arrPageWnd) {
        ::SetParent(hPage, nullptr);
        ::ShowWindow(hPage, SW_HIDE);
        ::PostMessageW(hPage, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    SetTrayIcon(false);
    ::PostQuitMessage(0);
}

void CVelmor3Dlg::SetTrayIcon(bool add)
{
    // The icon data as current systems define it, with the balloon icon the
    // headers of this build leave out.
    struct {
        NOTIFYICONDATAW data;
        HICON hBalloonIcon;
    } full = {};
    static_assert(sizeof(void*) != 4 || sizeof full == 956, "the full icon data of a 32-bit system");
    NOTIFYICONDATAW& data = full.data;
    data.cbSize = sizeof full;
    data.hWnd = m_hWnd;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = UM_TRAY_NOTIFY;
    data.hIcon = m_hIcon;
    lstrcpynW(data.szTip, GAME_WINDOW_TITLE, 128);
    ::Shell_NotifyIconW(add ? NIM_ADD : NIM_DELETE, &data);
}

void CVelmor3Dlg::ToggleHideRestore()
{
    if (::IsWindowVisible(m_hWnd)) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        if (m_dlgAddAcc.m_hWnd)
            ::ShowWindow(m_dlgAddAcc.m_hWnd, SW_HIDE);
        return;
    }
    ::ShowWindow(m_hWnd, SW_RESTORE);
    BringToFront();
}

void CVelmor3Dlg::BringToFront()
{
    HWND hForeground = ::GetForegroundWindow();
    const DWORD foreignThread = hForeground ? ::GetWindowThreadProcessId(hForeground, nullptr) : 0;
    const DWORD ownThread = ::GetCurrentThreadId();
    const bool attach = foreignThread && foreignThread != ownThread;
    if (attach)
        ::AttachThreadInput(ownThread, foreignThread, TRUE);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(m_hWnd);
    if (attach)
        ::AttachThreadInput(ownThread, foreignThread, FALSE);
}

void CVelmor3Dlg::MoveToContent(HWND hWnd) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::MoveWindow(hWnd, 4, 30, rc.right - 8, rc.bottom - 34, FALSE);
}

void CVelmor3Dlg::ToggleGameHall()
{
    if (!::IsWindow(m_hWndHall)) {
        LaunchGameHall();
        ShowPage(nullptr);
    } else if (::IsWindowVisible(m_hWndHall)) {
        if (m_nCurPage >= 0 && m_nCurPage < PageCount())
            ShowPage(m_arrPageWnd[m_nCurPage]);
        ::ShowWindow(m_hWndHall, SW_HIDE);
    } else {
        MoveToContent(m_hWndHall);
        ::ShowWindow(m_hWndHall, SW_SHOW);
        ShowPage(nullptr);
    }
}

void CVelmor3Dlg::LoadHotkeys()
{
    g_hkBoss = ReadHotkey(L"ShortKey", L"0,121");
    g_hkSwitch = ReadHotkey(L"AltWndKey", L"2,9");
    for (HWND hPage : m_arrPageWnd)
        ::PostMessageW(hPage, UM_RELOAD_HOTKEYS, 0, 0);
    if (m_hWndHall)
        ::PostMessageW(m_hWndHall, UM_RELOAD_HOTKEYS, 0, 0);
    g_hkSound = ReadHotkey(L"SndKey", L"2,81");
}

void CVelmor3Dlg::MoveFrontWindowToContent()
{
    if (::IsWindowVisible(m_hWndHall))
        MoveToContent(m_hWndHall);
    else if (m_nCurPage >= 0 && m_nCurPage < PageCount())
        MoveToContent(m_arrPageWnd[m_nCurPage]);
}

BOOL CVelmor3Dlg::OnMinimumSize(WINDOWPOS* pos)
{
    if (pos->flags & SWP_NOSIZE)
        return FALSE;
    const std::optional<SkinSize> raised = RaiseToMinimumSize(SkinSize{pos->cx, pos->cy}, PageCount());
    if (!raised)
        return FALSE;
    pos->cx = raised->w;
    pos->cy = raised->h;
    return TRUE;
}

void CVelmor3Dlg::OnStatePoll()
{
    for (HWND hPage : m_arrPageWnd)
        ::PostMessageW(hPage, UM_SET_MUTE, m_bMuted ? 1 : 0, 0);
    if (m_bMuted != m_bSoundShownMuted) {
        m_bSoundShownMuted = m_bMuted;
        SetButtonImage(m_btnSound, m_bMuted ? kSoundOffImage : kSoundOnImage);
        ::InvalidateRect(m_btnSound.m_hWnd, nullptr, TRUE);
    }
    const BOOL hallVisible = ::IsWindowVisible(m_hWndHall);
    if (hallVisible != m_bHallShown) {
        m_bHallShown = hallVisible;
        SetButtonImage(m_btnGameHall, m_bHallShown ? kHallShownImage : kHallHiddenImage);
        ::InvalidateRect(m_btnGameHall.m_hWnd, nullptr, TRUE);
    }
}

BOOL CVelmor3Dlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The tool buttons and the link also report double clicks: a double click
    // is one press, not two.
    if (HIWORD(wParam) != BN_CLICKED)
        return CDlgEx::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_BTN_HIDE:
        ToggleHideRestore();
        return TRUE;
    case IDC_BTN_SOUND:
        m_bMuted = !m_bMuted;
        return TRUE;
    case IDC_BTN_GAME_HALL:
        ToggleGameHall();
        return TRUE;
    case IDC_LNK_ADD_ACCOUNT:
        ShowAddAccountPrompt();
        return TRUE;
    }
    return CDlgEx::OnCommand(wParam, lParam);
}

BOOL CVelmor3Dlg::PreTranslateMessage(MSG* pMsg)
{
    const UINT msg = pMsg->message;
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && pMsg->lParam != LPARAM_MARKER &&
        HotkeyMatches(g_hkSwitch, static_cast<int>(pMsg->wParam), CurrentModifiers())) {
        SwitchToNextPage();
        return TRUE;
    }
    if (msg == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_SPACE))
        return TRUE;
    if (msg == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE) {
        if (pMsg->lParam == LPARAM_MARKER) {
            // A login process reports that its login was cancelled.
            if (PageCount() == 0) {
                ExitGame();
                return TRUE;
            }
            if (m_hPendingLogin) {
                ::CloseHandle(m_hPendingLogin);
                m_hPendingLogin = nullptr;
                return TRUE;
            }
        } else if (pMsg->lParam == 0 && PageCount() == 0) {
            if (m_hPendingLogin)
                ::TerminateProcess(m_hPendingLogin, 0);
            ExitGame();
            return TRUE;
        }
    }
    if (PageCount() > 0 && ((msg == WM_KEYDOWN && pMsg->wParam == VK_F5) ||
                            (msg == WM_CHAR && pMsg->wParam == 4 && HIWORD(pMsg->lParam) == 0x0020))) {
        HWND hPage = m_nCurPage >= 0 && m_nCurPage < PageCount() ? m_arrPageWnd[m_nCurPage] : nullptr;
        if (hPage && ::IsWindowVisible(hPage))
            ::PostMessageW(hPage, msg, pMsg->wParam, pMsg->lParam);
        else if (::IsWindowVisible(m_hWndHall))
            ::PostMessageW(m_hWndHall, msg, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    if (msg == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_RESTORE && PageCount() == 0)
        ::ShowWindow(m_hWnd, SW_RESTORE);
    if (m_tipTabs)
        ::SendMessageW(m_tipTabs, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CDlgEx::PreTranslateMessage(pMsg);
}

LRESULT CVelmor3Dlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        if (::IsIconic(m_hWnd)) {
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(m_hWnd, &ps);
            ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            ::DrawIcon(hdc, (rc.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                       (rc.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_SIZE: {
        const int cx = LOWORD(lParam);
        MoveFrontWindowToContent();
        const LRESULT result = CDlgEx::WindowProc(msg, wParam, lParam);
        if (cx != m_nLastWidth && m_btnHide.m_hWnd) {
            struct Place {
                CWnd* control;
                int x, y, w, h;
            } places[] = {
                {&m_btnHide, cx - 114, 0, 27, 27},      {&m_btnSound, cx - 141, 0, 27, 27},
                {&m_btnSystem, cx - 185, 0, 44, 28},    {&m_btnGameHall, cx - 264, 0, 79, 28},
                {&m_lnkAddAccount, cx - 360, 7, 92, 16},
            };
            for (const Place& p : places) {
                ::MoveWindow(p.control->m_hWnd, p.x, p.y, p.w, p.h, TRUE);
                ::InvalidateRect(p.control->m_hWnd, nullptr, TRUE);
            }
            RedrawSysButtons();
        }
        if (m_osvi.dwMajorVersion < 6 && cx < m_nLastWidth) {
            // Older systems leave a trace where the shrinking region was.
            RECT wr;
            ::GetWindowRect(m_hWnd, &wr);
            RECT corner = {wr.right - 4, wr.top, wr.right, wr.top + 4};
            ::RedrawWindow(::GetDesktopWindow(), &corner, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        m_nLastWidth = cx;
        return result;
    }
    case WM_WINDOWPOSCHANGING:
        if (OnMinimumSize(reinterpret_cast<WINDOWPOS*>(lParam)))
            return 0;
        break;
    case WM_TIMER:
        if (wParam == IDT_STATE_POLL)
            OnStatePoll();
        else if (wParam == IDT_LOGIN_WATCH)
            WatchLogins();
        break;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case UM_ATTACH_GAME_WND:
        return AttachGameWindow(wParam, lParam);
    case UM_ADD_ACCOUNT:
        OnAddAccount(wParam);
        return 0;
    case UM_HOTKEYS_CHANGED:
        LoadHotkeys();
        return 0;
    case WM_NCHITTEST: {
        const LRESULT hit = CDlgEx::WindowProc(msg, wParam, lParam);
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(m_hWnd, &pt);
        OnTabHitTest(hit, pt);
        return hit;
    }
    default: {
        LRESULT result = 0;
        if (OnTabMouse(msg, wParam, lParam, &result))
            return result;
        break;
    }
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}
