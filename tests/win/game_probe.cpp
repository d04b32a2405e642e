// Looks at and drives the primary game window of another process for the
// end-to-end tests. The window is the visible top-level dialog titled
// "8266青砚行记" that has the "登录其他账号" link (control 1005); points are
// in its client coordinates. Output is UTF-8, one fact per line.
// usage: game_probe COMMAND [ARG ...]
//   find MS             wait up to MS for the window
//   state               once the window has taken what was posted to it:
//                       its rectangles, the work area and its foreign child
//                       windows (the game pages) in z-order
//   click|press|release|mclick|dblclick X Y
//                       mouse messages at a point, client or non-client ones
//                       as the window's own hit test says
//   hover X Y           move the pointer there, with its hit test
//   switch              the default window-switch key, Ctrl+Tab
//   key VK              post a key press
//   altf4               post Alt+F4
//   activate            make the window the foreground window, as a click
//                       on it would
//   dialog-key TITLE_HEX ID VK
//                       post a key press to the dialog with that title and
//                       control
//   post MSG WPARAM LPARAM
//   size W H            resize, then print the rectangle it took
//   link                click the add-account link
//   button ID click|dblclick
//                       click or double-click a control of the window
//   dialogs TITLE_HEX   the visible dialogs with that title and their controls
//   xid [TITLE_HEX ID]  the X window that shows the game window, or the
//                       dialog with that title and control (for screenshots)
//   windows             every top-level window: class, visibility, process,
//                       rectangle, title
//   gone MS PID...      wait up to MS until these processes have ended
//   kill PID...         end these processes
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog_search.h"
#include "gamewnd/messages.h"
#include "hex_arg.h"

namespace {

const DWORD kSendTimeoutMs = 30000;

std::wstring g_out;

void Say(const std::wstring& line)
{
    g_out += line + L"\n";
}

void Flush()
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, g_out.data(), static_cast<int>(g_out.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string bytes(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, g_out.data(), static_cast<int>(g_out.size()), &bytes[0], n, nullptr,
                          nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    g_out.clear();
}

std::wstring Num(long long value)
{
    return std::to_wstring(value);
}

std::wstring HandleText(HWND hWnd)
{
    return Num(static_cast<long long>(reinterpret_cast<INT_PTR>(hWnd)));
}

std::wstring RectText(const RECT& rc)
{
    return Num(rc.left) + L" " + Num(rc.top) + L" " + Num(rc.right) + L" " + Num(rc.bottom);
}

HWND FindGameWindow(DWORD waitMs)
{
    return FindDialog(GAME_WINDOW_TITLE, kGameWindowLink, waitMs);
}

DWORD ProcessOf(HWND hWnd)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    return pid;
}

// Returns once the window's thread has taken everything posted before. A
// handler that waits on another process's window still takes sent messages,
// so it may not have finished yet.
void Sync(HWND hWnd)
{
    // A sent message can overtake posted ones inside one GetMessage call; the
    // second is only taken after the posted ones have been dispatched.
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result);
    }
}

void State(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    RECT client;
    ::GetClientRect(hWnd, &client);
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Say(L"rect " + RectText(rc));
    Say(L"client " + Num(client.right) + L" " + Num(client.bottom));
    Say(L"work " + RectText(work));
    Say(L"screen " + Num(::GetSystemMetrics(SM_CXSCREEN)) + L" " + Num(::GetSystemMetrics(SM_CYSCREEN)));
    Say(L"visible " + Num(::IsWindowVisible(hWnd) ? 1 : 0) + L" enabled " + Num(::IsWindowEnabled(hWnd) ? 1 : 0));
    const DWORD own = ProcessOf(hWnd);
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const DWORD pid = ProcessOf(hChild);
        if (pid == own)
            continue;
        RECT cr;
        ::GetWindowRect(hChild, &cr);
        ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&cr), 2);
        wchar_t text[256] = {};
        ::GetWindowTextW(hChild, text, 256);
        Say(L"page " + HandleText(hChild) + L" " + Num(pid) + L" " + Num(::IsWindowVisible(hChild) ? 1 : 0) + L" " +
            Num(cr.left) + L" " + Num(cr.top) + L" " + Num(cr.right - cr.left) + L" " + Num(cr.bottom - cr.top) +
            L" " + text);
    }
}

void Mouse(HWND hWnd, const std::wstring& action, int x, int y)
{
    POINT screen = {x, y};
    ::ClientToScreen(hWnd, &screen);
    DWORD_PTR hit = 0;
    ::SendMessageTimeoutW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_NORMAL, kSendTimeoutMs,
                          &hit);
    Say(L"hit " + Num(static_cast<long long>(hit)));
    const bool client = hit == HTCLIENT;
    const LPARAM at = client ? MAKELPARAM(x, y) : MAKELPARAM(screen.x, screen.y);
    const WPARAM code = client ? 0 : hit;
    struct Step {
        UINT clientMsg, ncMsg;
        WPARAM keys;
    };
    std::vector<Step> steps;
    const Step down = {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, MK_LBUTTON};
    const Step up = {WM_LBUTTONUP, WM_NCLBUTTONUP, 0};
    if (action == L"click")
        steps = {down, up};
    else if (action == L"press")
        steps = {down};
    else if (action == L"release")
        steps = {up};
    else if (action == L"dblclick")
        steps = {{WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK, MK_LBUTTON}, up};
    else if (action == L"mclick")
        steps = {{WM_MBUTTONDOWN, WM_NCMBUTTONDOWN, MK_MBUTTON}, {WM_MBUTTONUP, WM_NCMBUTTONUP, 0}};
    for (const Step& s : steps)
        ::PostMessageW(hWnd, client ? s.clientMsg : s.ncMsg, client ? s.keys : code, at);
}

// Wine's X11 driver keeps the X window of a top-level window in this
// property.
std::wstring XWindowText(HWND hWnd)
{
    return Num(static_cast<long long>(reinterpret_cast<INT_PTR>(::GetPropW(hWnd, L"__wine_x11_whole_window"))));
}

// Real input: the window under the pointer gets its hit test and mouse move.
void MovePointer(POINT screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

// Ctrl is held in the window's own key state, which this thread shares for
// the moment, whichever window has the keyboard focus.
void SwitchKey(HWND hWnd)
{
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // a message queue to attach
    const DWORD own = ::GetCurrentThreadId();
    const DWORD target = ::GetWindowThreadProcessId(hWnd, nullptr);
    const bool attached = ::AttachThreadInput(own, target, TRUE) != FALSE;
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE held[256];
    std::memcpy(held, saved, sizeof held);
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    ::SetKeyboardState(held);
    const LPARAM tab = (static_cast<LPARAM>(::MapVirtualKeyW(VK_TAB, 0)) << 16) | 1;
    ::PostMessageW(hWnd, WM_KEYDOWN, VK_TAB, tab);
    Sync(hWnd);
    ::SetKeyboardState(saved);
    if (attached)
        ::AttachThreadInput(own, target, FALSE);
}

BOOL CALLBACK ListDialog(HWND hWnd, LPARAM param)
{
    const std::wstring& wanted = *reinterpret_cast<const std::wstring*>(param);
    if (!IsVisibleDialog(hWnd, wanted))
        return TRUE;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    std::wstring line = L"dialog " + HandleText(hWnd) + L" " + Num(ProcessOf(hWnd)) + L" " + RectText(rc) + L" ids";
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        line += L" " + Num(::GetDlgCtrlID(hChild));
    Say(line);
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND hWnd, LPARAM)
{
    wchar_t className[64] = {};
    wchar_t title[128] = {};
    ::GetClassNameW(hWnd, className, 64);
    ::GetWindowTextW(hWnd, title, 128);
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    Say(L"toplevel " + std::wstring(className) + L" " + Num(::IsWindowVisible(hWnd) ? 1 : 0) + L" " +
        Num(ProcessOf(hWnd)) + L" " + RectText(rc) + L" " + title);
    return TRUE;
}

// True when every process has ended; the survivors are listed.
bool WaitGone(DWORD waitMs, const std::vector<DWORD>& pids)
{
    std::vector<HANDLE> handles;
    for (DWORD pid : pids) {
        // A process that cannot be opened any more has ended.
        handles.push_back(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    }
    const DWORD start = ::GetTickCount();
    bool all = true;
    for (size_t i = 0; i < pids.size(); ++i) {
        if (!handles[i])
            continue;
        const DWORD spent = ::GetTickCount() - start;
        if (::WaitForSingleObject(handles[i], spent < waitMs ? waitMs - spent : 0) != WAIT_OBJECT_0) {
            Say(L"alive " + Num(pids[i]));
            all = false;
        }
        ::CloseHandle(handles[i]);
    }
    return all;
}

std::vector<DWORD> Pids(int argc, wchar_t** argv, int from)
{
    std::vector<DWORD> pids;
    for (int i = from; i < argc; ++i)
        pids.push_back(static_cast<DWORD>(std::wcstoul(argv[i], nullptr, 10)));
    return pids;
}

int Fail(const std::wstring& message)
{
    Say(L"error " + message);
    Flush();
    return 1;
}

long long Arg(wchar_t** argv, int i)
{
    return std::wcstoll(argv[i], nullptr, 0);
}

int Run(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring command = argv[1];
    if (command == L"gone" && argc >= 3)
        return WaitGone(static_cast<DWORD>(Arg(argv, 2)), Pids(argc, argv, 3)) ? 0 : 1;
    if (command == L"kill") {
        for (DWORD pid : Pids(argc, argv, 2)) {
            if (HANDLE h = ::OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
                ::TerminateProcess(h, 1);
                ::CloseHandle(h);
            }
        }
        return 0;
    }
    if (command == L"windows") {
        ::EnumWindows(&ListWindow, 0);
        return 0;
    }
    if (command == L"xid" && argc == 4) {
        HWND hDialog = FindDialog(DecodeHexArg(argv[2]), static_cast<int>(Arg(argv, 3)), 10000);
        if (!hDialog)
            return Fail(L"no such dialog");
        Say(L"xid " + XWindowText(hDialog));
        return 0;
    }
    if (command == L"dialog-key" && argc == 5) {
        HWND hDialog = FindDialog(DecodeHexArg(argv[2]), static_cast<int>(Arg(argv, 3)), 10000);
        if (!hDialog)
            return Fail(L"no such dialog");
        const UINT vk = static_cast<UINT>(Arg(argv, 4));
        ::PostMessageW(hDialog, WM_KEYDOWN, vk, (static_cast<LPARAM>(::MapVirtualKeyW(vk, 0)) << 16) | 1);
        Sync(hDialog);
        return 0;
    }
    if (command == L"dialogs" && argc == 3) {
        std::wstring title = DecodeHexArg(argv[2]);
        ::EnumWindows(&ListDialog, reinterpret_cast<LPARAM>(&title));
        return 0;
    }

    const DWORD waitMs = command == L"find" && argc == 3 ? static_cast<DWORD>(Arg(argv, 2)) : 10000;
    HWND hWnd = FindGameWindow(waitMs);
    if (!hWnd)
        return Fail(L"no game window");
    Say(L"window " + HandleText(hWnd) + L" " + Num(ProcessOf(hWnd)));
    if (command == L"state") {
        Sync(hWnd);
        State(hWnd);
    } else if (argc == 4 && (command == L"click" || command == L"press" || command == L"release" ||
                             command == L"mclick" || command == L"dblclick")) {
        Mouse(hWnd, command, static_cast<int>(Arg(argv, 2)), static_cast<int>(Arg(argv, 3)));
        Sync(hWnd);
    } else if (command == L"hover" && argc == 4) {
        POINT screen = {static_cast<int>(Arg(argv, 2)), static_cast<int>(Arg(argv, 3))};
        ::ClientToScreen(hWnd, &screen);
        MovePointer(screen);
        // Wine does not hit-test for a pointer moved by a program; this is
        // the hit test the move would have caused.
        DWORD_PTR hit = 0;
        ::SendMessageTimeoutW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_NORMAL, kSendTimeoutMs,
                              &hit);
        Say(L"hit " + Num(static_cast<long long>(hit)));
    } else if (command == L"xid") {
        Say(L"xid " + XWindowText(hWnd));
    } else if (command == L"activate") {
        // What a click on the window does to whichever window was active.
        ::SetForegroundWindow(hWnd);
        Sync(hWnd);
        Say(L"foreground " + HandleText(::GetForegroundWindow()));
    } else if (command == L"altf4") {
        const LPARAM f4 = (static_cast<LPARAM>(::MapVirtualKeyW(VK_F4, 0)) << 16) | 1 | (KF_ALTDOWN << 16);
        ::PostMessageW(hWnd, WM_SYSKEYDOWN, VK_F4, f4);
        Sync(hWnd);
    } else if (command == L"switch") {
        SwitchKey(hWnd);
    } else if (command == L"key" && argc == 3) {
        const UINT vk = static_cast<UINT>(Arg(argv, 2));
        ::PostMessageW(hWnd, WM_KEYDOWN, vk, (static_cast<LPARAM>(::MapVirtualKeyW(vk, 0)) << 16) | 1);
        Sync(hWnd);
    } else if (command == L"post" && argc == 5) {
        ::PostMessageW(hWnd, static_cast<UINT>(Arg(argv, 2)), static_cast<WPARAM>(Arg(argv, 3)),
                       static_cast<LPARAM>(Arg(argv, 4)));
    } else if (command == L"size" && argc == 4) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, static_cast<int>(Arg(argv, 2)), static_cast<int>(Arg(argv, 3)),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        Say(L"rect " + RectText(rc));
    } else if (command == L"button" && argc == 4) {
        // A click, or the four messages of a double click, on a control.
        HWND hButton = ::GetDlgItem(hWnd, static_cast<int>(Arg(argv, 2)));
        if (!hButton)
            return Fail(L"no such control");
        const LPARAM at = MAKELPARAM(2, 2);
        ::PostMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hButton, WM_LBUTTONUP, 0, at);
        if (std::wstring(argv[3]) == L"dblclick") {
            ::PostMessageW(hButton, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            ::PostMessageW(hButton, WM_LBUTTONUP, 0, at);
        }
        Sync(hWnd);
    } else if (command == L"link") {
        HWND hLink = ::GetDlgItem(hWnd, kGameWindowLink);
        RECT rc;
        ::GetClientRect(hLink, &rc);
        const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
        ::PostMessageW(hLink, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hLink, WM_LBUTTONUP, 0, at);
    } else if (command != L"find") {
        return 2;
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int code = Run(argc, argv);
    Flush();
    return code;
}
