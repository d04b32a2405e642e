#include "gamewnd/velmor3_dlg.h"

#include <string>

#include "app/app_paths.h"
#include "gamewnd/messages.h"
#include "logic/product.h"
#include "logic/tab_geometry.h"
#include "skin/message_box.h"

namespace {

const size_t kMaxCommandChars = 288;
const UINT kLoginWatchMs = 500;

// Starts the running executable with the given arguments, idle and shown
// normally; the process handle, or none.
HANDLE StartSelf(const std::wstring& arguments, DWORD* processId)
{
    const std::wstring exe = ExePath();
    if (exe.empty())
        return nullptr;
    const std::wstring command = L"\"" + exe + L"\"" + arguments;
    if (command.size() > kMaxCommandChars)
        return nullptr;
    return StartProgramProcess(command, processId);
}

std::wstring HandleText(HWND hWnd)
{
    return std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(hWnd)));
}

} // namespace

void CVelmor3Dlg::LaunchLogin()
{
    DWORD processId = 0;
    HANDLE hProcess =
        StartSelf(L" /newgm /" + HandleText(m_hWnd) + L" /" + std::to_wstring(PageCount()), &processId);
    if (!hProcess)
        return;
    HANDLE hWatch = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), hProcess, ::GetCurrentProcess(), &hWatch, SYNCHRONIZE, FALSE, 0)) {
        m_arrLoginProcess.push_back(LoginProcess{hWatch, processId});
        m_labelMatcher.LoginStarted(processId);
        ::SetTimer(m_hWnd, IDT_LOGIN_WATCH, kLoginWatchMs, nullptr);
    }
    if (m_hPendingLogin)
        ::CloseHandle(m_hPendingLogin);
    m_hPendingLogin = hProcess;
}

void CVelmor3Dlg::LaunchGameHall()
{
    if (HANDLE hProcess = StartSelf(L" /gmhall /" + HandleText(m_hWnd), nullptr))
        ::CloseHandle(hProcess);
}

BOOL CVelmor3Dlg::OnCopyData(const COPYDATASTRUCT* data)
{
    // The text ends at its terminator or at the end of the data, whichever
    // comes first: a sender that forgot the terminator is not read past.
    if (!data || !data->lpData || data->cbData < sizeof(wchar_t))
        return FALSE;
    const wchar_t* text = static_cast<const wchar_t*>(data->lpData);
    const size_t limit = data->cbData / sizeof(wchar_t);
    size_t length = 0;
    while (length < limit && text[length])
        ++length;
    const std::wstring label(text, length);
    for (const std::wstring& existing : m_arrPageLabel) {
        if (existing == label)
            return FALSE;
    }
    m_arrPageLabel.push_back(label);
    m_labelMatcher.LabelAccepted();
    return TRUE;
}

void CVelmor3Dlg::WatchLogins()
{
    for (size_t i = m_arrLoginProcess.size(); i-- > 0;) {
        const LoginProcess login = m_arrLoginProcess[i];
        if (::WaitForSingleObject(login.hProcess, 0) != WAIT_OBJECT_0)
            continue;
        // It ended without attaching a game window.
        ::CloseHandle(login.hProcess);
        m_arrLoginProcess.erase(m_arrLoginProcess.begin() + i);
        for (int k : m_labelMatcher.LoginEnded(login.processId))
            m_arrPageLabel.erase(m_arrPageLabel.begin() + PageCount() + k);
    }
    if (m_arrLoginProcess.empty())
        ::KillTimer(m_hWnd, IDT_LOGIN_WATCH);
}

void CVelmor3Dlg::AttachPage(HWND hPage)
{
    ShowPage(nullptr);
    if (::IsWindow(m_hWndHall))
        ::ShowWindow(m_hWndHall, SW_HIDE);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hPage, &processId);
    for (size_t i = 0; i < m_arrLoginProcess.size(); ++i) {
        if (m_arrLoginProcess[i].processId == processId) {
            ::CloseHandle(m_arrLoginProcess[i].hProcess);
            m_arrLoginProcess.erase(m_arrLoginProcess.begin() + i);
            break;
        }
    }
    // The page's label moves from the waiting ones to the page's position.
    const size_t attached = m_arrPageWnd.size();
    std::wstring label;
    const int k = m_labelMatcher.PageAttached(processId);
    if (k >= 0) {
        label = m_arrPageLabel[attached + k];
        m_arrPageLabel.erase(m_arrPageLabel.begin() + attached + k);
    }
    m_arrPageLabel.insert(m_arrPageLabel.begin() + attached, label);
    m_arrPageWnd.push_back(hPage);
    m_nCurPage = PageCount() - 1;
    InvalidateEdges(TabStripRedrawRect(PageCount()));
}

LRESULT CVelmor3Dlg::AttachGameWindow(WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (m_arrPageWnd.empty()) {
        OnSysMaxRestore();
        SetTrayIcon(true);
        ::SetTimer(m_hWnd, IDT_STATE_POLL, 400, nullptr);
    }
    if (lParam != 0) {
        m_hWndHall = hWnd;
        return 0;
    }
    AttachPage(hWnd);
    if (m_hPendingLogin) {
        ::CloseHandle(m_hPendingLogin);
        m_hPendingLogin = nullptr;
    }
    return 0;
}

void CVelmor3Dlg::ShowAddAccountPrompt()
{
    if (!m_dlgAddAcc.m_hWnd && !m_dlgAddAcc.Create(IDD_ADD_ACCOUNT, this))
        return;
    RECT link;
    RECT prompt;
    ::GetWindowRect(m_lnkAddAccount.m_hWnd, &link);
    ::GetWindowRect(m_dlgAddAcc.m_hWnd, &prompt);
    const int width = prompt.right - prompt.left, height = prompt.bottom - prompt.top;
    ::MoveWindow(m_dlgAddAcc.m_hWnd, link.right - width, link.bottom, width, height, TRUE);
    ::ShowWindow(m_dlgAddAcc.m_hWnd, SW_SHOW);
}

void CVelmor3Dlg::OnAddAccount(WPARAM newTab)
{
    if (newTab == 1) {
        if (PageCount() >= 3)
            ShowAppMessage(MB_OK, PRODUCT_TITLE, L"当前窗体只支持3个游戏页", nullptr);
        else
            LaunchLogin();
    } else if (newTab == 0) {
        LaunchExecutable();
    }
}
