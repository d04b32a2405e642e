// Stands in for the program's login and game-hall processes while the real
// ones are not built: started by the primary game window as "/newgm /H /N" or
// "/gmhall /H", it plays one line of the script fake_login.script beside
// itself and appends what happens to fake_login.log, one UTF-8 line
// "<pid> <event>" per event. Every process claims the next line not taken
// yet, in start order (blank lines do not count). Actions, left to right:
//   key TEXT  offer TEXT as the login key (WM_COPYDATA); a refused key posts
//             the cancelled-login close request and ends, as a login does
//   attach    become a game page: attach, make itself a child, show itself in
//             the content area once the primary window polls it, then log the
//             messages it gets (poll, hotkeys, keys, system commands) until
//             told to close
//   hall      the same as the game-hall window: shown shortly after attaching,
//             ends by itself when the primary window is gone
//   cancel    post the cancelled-login close request and end
//   hang      stay alive doing nothing (a login still in progress)
//   await F   wait until a file F appears beside it (the test's go-ahead)
//   exit      end
// Started without arguments (a new independent instance) it only logs.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "gamewnd/messages.h"

namespace {

const wchar_t kPageClass[] = L"FakeGamePage";
const UINT_PTR kShowTimer = 1;
const UINT_PTR kParentTimer = 2;

std::wstring g_folder;
HWND g_hPrimary = nullptr;
bool g_bHall = false;
bool g_bShown = false;
std::wstring g_key;
COLORREF g_color = RGB(128, 128, 128);

std::wstring Utf16(const std::string& text)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string Utf8(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Decimal(INT_PTR value)
{
    return std::to_wstring(static_cast<long long>(value));
}

std::wstring HandleText(HWND hWnd)
{
    return Decimal(reinterpret_cast<INT_PTR>(hWnd));
}

// Whole lines, one process at a time: Wine's appends from several processes
// can land on the same offset and overwrite each other.
void Log(const std::wstring& event)
{
    const std::string line = Utf8(std::to_wstring(::GetCurrentProcessId()) + L" " + event + L"\n");
    HANDLE hMutex = ::CreateMutexW(nullptr, FALSE, L"fake_login_log");
    ::WaitForSingleObject(hMutex, INFINITE);
    HANDLE hFile = ::CreateFileW((g_folder + L"fake_login.log").c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        ::CloseHandle(hFile);
    }
    ::ReleaseMutex(hMutex);
    ::CloseHandle(hMutex);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string data;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return data;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(hFile, buf, sizeof buf, &got, nullptr) && got)
        data.append(buf, got);
    ::CloseHandle(hFile);
    return data;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring part = text.substr(start, end - start);
        if (!part.empty() && part.back() == L'\r')
            part.pop_back();
        if (!part.empty())
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

// The index of this process among those started, counted by the pids
// appended to fake_login.claims under a mutex shared by all of them.
size_t ClaimLine()
{
    HANDLE hMutex = ::CreateMutexW(nullptr, FALSE, L"fake_login_claims");
    ::WaitForSingleObject(hMutex, INFINITE);
    const std::wstring path = g_folder + L"fake_login.claims";
    const size_t index = Split(Utf16(ReadFileBytes(path)), L'\n').size();
    HANDLE hFile = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        const std::string line = Utf8(std::to_wstring(::GetCurrentProcessId()) + L"\n");
        DWORD written = 0;
        ::WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        ::CloseHandle(hFile);
    }
    ::ReleaseMutex(hMutex);
    ::CloseHandle(hMutex);
    return index;
}

// Logged first: with no page the primary window ends this process at once.
void PostCancelledLogin()
{
    Log(L"cancel");
    ::PostMessageW(g_hPrimary, WM_SYSCOMMAND, SC_CLOSE, LPARAM_MARKER);
}

// The primary window's content rectangle, as a game window places itself.
void ShowInContent(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(g_hPrimary, &rc);
    const int x = 4, y = 30, w = rc.right - 8, h = rc.bottom - 34;
    ::MoveWindow(hWnd, x, y, w, h, TRUE);
    ::ShowWindow(hWnd, SW_SHOW);
    g_bShown = true;
    Log(L"shown " + Decimal(x) + L" " + Decimal(y) + L" " + Decimal(w) + L" " + Decimal(h));
}

void Paint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(hWnd, &ps);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hBrush = ::CreateSolidBrush(g_color);
    ::FillRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);
    HFONT hFont = ::CreateFontW(-72, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                L"WenQuanYi Micro Hei");
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(255, 255, 255));
    ::DrawTextW(hdc, g_key.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hFont);
    ::EndPaint(hWnd, &ps);
}

LRESULT CALLBACK PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_TIMER:
        if (wParam == kShowTimer) {
            ::KillTimer(hWnd, kShowTimer);
            ShowInContent(hWnd);
        } else if (wParam == kParentTimer && !::IsWindow(g_hPrimary)) {
            Log(L"parent-gone");
            ::DestroyWindow(hWnd);
        }
        return 0;
    case WM_KEYDOWN:
        Log(L"keydown " + Decimal(static_cast<INT_PTR>(wParam)) + L" " + Decimal(lParam));
        return 0;
    case WM_CHAR:
        Log(L"char " + Decimal(static_cast<INT_PTR>(wParam)) + L" " + Decimal(lParam));
        return 0;
    case WM_SYSCOMMAND: {
        const bool child = ::GetAncestor(hWnd, GA_PARENT) == g_hPrimary;
        Log(L"syscommand " + Decimal(static_cast<INT_PTR>(wParam)) + L" " + Decimal(lParam) + L" child " +
            (child ? L"1" : L"0") + L" visible " + (::IsWindowVisible(hWnd) ? L"1" : L"0"));
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            ::DestroyWindow(hWnd);
            return 0;
        }
        break;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        if (msg == UM_SET_MUTE) {
            Log(L"mute " + Decimal(static_cast<INT_PTR>(wParam)));
            // The first poll proves the page is attached: a real page shows
            // itself when its first navigation completes, well after that.
            if (!g_bShown)
                ShowInContent(hWnd);
            return 0;
        }
        if (msg == UM_RELOAD_HOTKEYS) {
            Log(L"reload-hotkeys");
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

int RunGameWindow(size_t line)
{
    static const COLORREF kColors[] = {RGB(176, 48, 48), RGB(40, 128, 56), RGB(40, 72, 176),
                                       RGB(176, 128, 24), RGB(120, 48, 160), RGB(24, 128, 144)};
    g_color = kColors[line % (sizeof kColors / sizeof kColors[0])];
    if (g_key.empty())
        g_key = g_bHall ? L"hall" : L"page";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &PageProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPageClass;
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowExW(0, kPageClass, g_key.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 100, 100,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (!hWnd) {
        Log(L"no-window");
        return 1;
    }
    ::PostMessageW(g_hPrimary, UM_ATTACH_GAME_WND, reinterpret_cast<WPARAM>(hWnd), g_bHall ? 1 : 0);
    ::SetWindowLongW(hWnd, GWL_STYLE, WS_CHILD | WS_CLIPCHILDREN);
    ::SetParent(hWnd, g_hPrimary);
    Log(L"attach " + HandleText(hWnd) + L" " + (g_bHall ? L"1" : L"0"));
    if (g_bHall) {
        ::SetTimer(hWnd, kShowTimer, 300, nullptr);
        ::SetTimer(hWnd, kParentTimer, 300, nullptr);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    Log(L"exit");
    return 0;
}

int RunScript(const std::wstring& line, size_t index)
{
    const std::vector<std::wstring> words = Split(line, L' ');
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& action = words[i];
        if (action == L"key" && i + 1 < words.size()) {
            g_key = words[++i];
            COPYDATASTRUCT data = {};
            data.dwData = 0;
            data.cbData = static_cast<DWORD>((g_key.size() + 1) * sizeof(wchar_t));
            data.lpData = const_cast<wchar_t*>(g_key.c_str());
            const LRESULT accepted =
                ::SendMessageW(g_hPrimary, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
            Log(L"key " + g_key + (accepted ? L" accepted" : L" refused"));
            if (!accepted) {
                PostCancelledLogin();
                Log(L"exit");
                return 0;
            }
        } else if (action == L"attach" || action == L"hall") {
            g_bHall = action == L"hall";
            return RunGameWindow(index);
        } else if (action == L"cancel") {
            PostCancelledLogin();
            break;
        } else if (action == L"await" && i + 1 < words.size()) {
            const std::wstring signal = g_folder + words[++i];
            while (::GetFileAttributesW(signal.c_str()) == INVALID_FILE_ATTRIBUTES)
                ::Sleep(50);
        } else if (action == L"hang") {
            Log(L"hang");
            ::Sleep(INFINITE);
        } else if (action == L"exit") {
            break;
        } else {
            Log(L"bad-action " + action);
            return 2;
        }
    }
    Log(L"exit");
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    wchar_t exe[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    g_folder.assign(exe, n);
    g_folder.erase(g_folder.rfind(L'\\') + 1);
    Log(L"start " + std::wstring(::GetCommandLineW()));

    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv)
        return 1;
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    ::LocalFree(argv);
    if (args.empty()) {
        Log(L"started-alone");
        return 0;
    }
    const bool login = args[0] == L"/newgm" && args.size() == 3;
    const bool hall = args[0] == L"/gmhall" && args.size() == 2;
    if (!login && !hall) {
        Log(L"bad-arguments");
        return 2;
    }
    g_hPrimary = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(args[1].c_str() + 1, nullptr, 10)));

    const size_t index = ClaimLine();
    const std::vector<std::wstring> lines = Split(Utf16(ReadFileBytes(g_folder + L"fake_login.script")), L'\n');
    if (index >= lines.size()) {
        Log(L"unscripted");
        return 0;
    }
    Log(L"script " + lines[index]);
    return RunScript(lines[index], index);
}
