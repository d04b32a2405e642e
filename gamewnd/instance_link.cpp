#include "gamewnd/velmor3_dlg.h"

#include <string>

#include "app/app_paths.h"
#include "gamewnd/messages.h"
#include "logic/product.h"
#include "logic/tab_geometry.h"
#include "skin/message_box.h"

namespace {

const size_t kMaxCommandChars = 288;
const UINT kLabelWatchMs = 500;

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
    if (m_hPendingLogin)
        ::CloseHandle(m_hPendingLogin);
    m_hPendingLogin = hProcess;
    m_dwPendingLoginId = processId;
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
    // The label waits for its game window; the login it belongs to is the
    // one started last.
    PendingLabel pending;
    pending.processId = m_hPendingLogin ? m_dwPendingLoginId : 0;
    if (m_hPendingLogin)
        ::DuplicateHandle(::GetCurrentProcess(), m_hPendingLogin, ::GetCurrentProcess(), &pending.hProcess,
                          SYNCHRONIZE, FALSE, 0);
    m_arrPendingLabel.push_back(pending);
    ::SetTimer(m_hWnd, IDT_LABEL_WATCH, kLabelWatchMs, nullptr);
    return TRUE;
}

void CVelmor3Dlg::DropAbandonedLabels()
{
    const size_t attached = m_arrPageWnd.size();
    for (size_t k = m_arrPendingLabel.size(); k-- > 0;) {
        HANDLE hProcess = m_arrPendingLabel[k].hProcess;
        if (!hProcess || ::WaitForSingleObject(hProcess, 0) != WAIT_OBJECT_0)
            continue;
        // Its login process ended without attaching a window.
        ::CloseHandle(hProcess);
        m_arrPendingLabel.erase(m_arrPendingLabel.begin() + k);
        m_arrPageLabel.erase(m_arrPageLabel.begin() + attached + k);
    }
    if (m_arrPendingLabel.empty())
        ::KillTimer(m_hWnd, IDT_LABEL_WATCH);
}

void CVelmor3Dlg::AttachPage(HWND hPage)
{
    ShowPage(nullptr);
    if (::IsWindow(m_hWndHall))
        ::ShowWindow(m_hWndHall, SW_HIDE);
    // The page's label: the one its own process sent, else one whose login
    // is unknown, else none. It moves to the page's position in the list.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hPage, &processId);
    size_t match = m_arrPendingLabel.size();
    for (size_t k = 0; k < m_arrPendingLabel.size() && match == m_arrPendingLabel.size(); ++k) {
        if (m_arrPendingLabel[k].processId == processId)
            match = k;
    }
    for (size_t k = 0; k < m_arrPendingLabel.size() && match == m_arrPendingLabel.size(); ++k) {
        if (m_arrPendingLabel[k].processId == 0)
            match = k;
    }
    const size_t attached = m_arrPageWnd.size();
    std::wstring label;
    if (match < m_arrPendingLabel.size()) {
        label = m_arrPageLabel[attached + match];
        m_arrPageLabel.erase(m_arrPageLabel.begin() + attached + match);
        if (m_arrPendingLabel[match].hProcess)
            ::CloseHandle(m_arrPendingLabel[match].hProcess);
        m_arrPendingLabel.erase(m_arrPendingLabel.begin() + match);
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
