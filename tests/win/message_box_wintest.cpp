// The skinned message box and dialog base driving real windows: answers for
// every style, closing, Enter and Escape, maximize and restore, and
// screenshots for a person to look at (argument: a folder for them).
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/win_app.h"
#include "logic/skin_geometry.h"
#include "skin/message_box.h"
#include "skin/skin_image.h"
#include "tests/check.h"

namespace {

CWinApp g_app;
std::wstring g_shots;

enum Action { kButton1, kButton2, kCaptionClose, kAltF4 };

struct Script {
    const wchar_t* title;
    Action action;
    bool keysFirst;   // Enter and Escape before the action
    const wchar_t* shot; // screenshot file name, or null
    bool secondButtonSeen = false;
};

void SaveScreenshot(HWND hWnd, const wchar_t* name)
{
    if (g_shots.empty() || !name)
        return;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP hBmp = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, w, h, hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    const std::wstring path = g_shots + L"\\" + name;
    FILE* fp = _wfopen(path.c_str(), L"wb");
    if (fp) {
        BITMAPFILEHEADER fh = {};
        const DWORD size = static_cast<DWORD>(w * h * 4);
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bmi.bmiHeader;
        fh.bfSize = fh.bfOffBits + size;
        fwrite(&fh, sizeof fh, 1, fp);
        fwrite(&bmi.bmiHeader, sizeof bmi.bmiHeader, 1, fp);
        fwrite(bits, 1, size, fp);
        fclose(fp);
    }
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
}

// Plays the user: finds the box by its title, then answers it.
DWORD WINAPI PlayUser(LPVOID param)
{
    Script* script = static_cast<Script*>(param);
    HWND hBox = nullptr;
    for (int i = 0; i < 3000 && !hBox; ++i) {
        hBox = ::FindWindowW(L"#32770", script->title);
        if (!hBox || !::IsWindowVisible(hBox)) {
            hBox = nullptr;
            ::Sleep(10);
        }
    }
    if (!hBox)
        return 1;
    // Let it paint once before anything else happens.
    ::SendMessageW(hBox, WM_NULL, 0, 0);
    ::RedrawWindow(hBox, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SendMessageW(hBox, WM_NULL, 0, 0);
    SaveScreenshot(hBox, script->shot);
    script->secondButtonSeen = ::GetDlgItem(hBox, IDC_MSGBOX_BTN2) != nullptr;
    HWND hBtn1 = ::GetDlgItem(hBox, IDC_MSGBOX_BTN1);
    if (script->keysFirst) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            ::PostMessageW(hBtn1, WM_KEYDOWN, key, 0);
            ::PostMessageW(hBtn1, WM_KEYUP, key, 0);
        }
        ::SendMessageW(hBox, WM_NULL, 0, 0);
    }
    switch (script->action) {
    case kButton1:
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDC_MSGBOX_BTN1, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hBtn1));
        break;
    case kButton2:
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDC_MSGBOX_BTN2, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hBox, IDC_MSGBOX_BTN2)));
        break;
    case kCaptionClose:
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDC_SYS_CLOSE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hBox, IDC_SYS_CLOSE)));
        break;
    case kAltF4:
        ::PostMessageW(hBox, WM_CLOSE, 0, 0);
        break;
    }
    return 0;
}

int Answer(UINT style, Script& script, const wchar_t* text)
{
    HANDLE hThread = ::CreateThread(nullptr, 0, &PlayUser, &script, 0, nullptr);
    const int result = ShowAppMessage(style, script.title, text, nullptr);
    ::WaitForSingleObject(hThread, INFINITE);
    ::CloseHandle(hThread);
    return result;
}

// A resizable skinned window with every caption button.
class CResizableDlg : public CDlgEx {
public:
    CResizableDlg() : CDlgEx(IDD_MESSAGEBOX, nullptr) {}

protected:
    BOOL OnInitDialog() override
    {
        CDlgEx::OnInitDialog();
        SetFrameMetrics(30, 4, 0, 0, m_nSysBtnGap);
        m_nTitleWeight = 600;
        m_bResizable = TRUE;
        HMODULE hModule = ::GetModuleHandleW(nullptr);
        m_hClose = LoadSkinImage(hModule, 132);
        m_hMin = LoadSkinImage(hModule, 136);
        SetSkin(LoadSkinImage(hModule, 134), FALSE, TRUE, m_hMin, LoadSkinImage(hModule, 135),
                LoadSkinImage(hModule, 137), m_hClose);
        SetTitle(L"8266\u9752\u781A\u884C\u8BB0");
        ::MoveWindow(m_hWnd, 100, 100, 480, 300, TRUE);
        return TRUE;
    }
    void OnCancel() override {}
    void PostNcDestroy() override
    {
        ::DeleteObject(m_hClose);
        ::DeleteObject(m_hMin);
    }

private:
    HBITMAP m_hClose = nullptr;
    HBITMAP m_hMin = nullptr;
};

void Pump()
{
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

RECT WindowRect(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

} // namespace

TEST(answers_for_every_style)
{
    struct Row {
        UINT style;
        Action action;
        int answer;
        bool twoButtons;
        const wchar_t* shot;
    } rows[] = {
        {MB_OK, kButton1, IDOK, false, L"message_box_ok.bmp"},
        {MB_OK, kCaptionClose, IDCANCEL, false, nullptr},
        {MB_OKCANCEL, kButton1, IDOK, true, L"message_box_okcancel.bmp"},
        {MB_OKCANCEL, kButton2, IDCANCEL, true, nullptr},
        {MB_OKCANCEL, kAltF4, IDCANCEL, true, nullptr},
        {MB_YESNO, kButton1, IDYES, true, L"message_box_yesno.bmp"},
        {MB_YESNO, kButton2, IDNO, true, nullptr},
        {MB_YESNO, kCaptionClose, IDCANCEL, true, nullptr},
        {MB_YESNO | MB_ICONQUESTION, kButton1, IDOK, false, nullptr}, // flags make it the OK form
    };
    int n = 0;
    for (const Row& r : rows) {
        wchar_t title[64];
        swprintf(title, 64, L"\u6D4B\u8BD5 %d", ++n);
        Script script = {title, r.action, false, r.shot};
        const int answer = Answer(r.style, script,
                                  L"\u786E\u5B9A\u8981\u79FB\u9664 8266\u9752\u781A\u884C\u8BB0"
                                  L"\u6781\u901F\u767B\u5F55\u5668\u5417\uFF1F");
        CHECK_EQ_AT(n, answer, r.answer);
        CHECK_EQ_AT(n, script.secondButtonSeen, r.twoButtons);
    }
}

TEST(enter_and_escape_leave_the_box_open)
{
    Script script = {L"\u6D4B\u8BD5 keys", kButton2, true, nullptr};
    // Had Enter or Escape answered, the result would be 1 or 2, not 7.
    CHECK_EQ(Answer(MB_YESNO, script, L"line one\nline two"), IDNO);
}

TEST(resizable_dialog_maximizes_to_the_work_area_and_restores)
{
    CResizableDlg dlg;
    CHECK(dlg.Create(IDD_MESSAGEBOX));
    ::ShowWindow(dlg.m_hWnd, SW_SHOW);
    Pump();
    SaveScreenshot(dlg.m_hWnd, L"skinned_dialog.bmp");
    CHECK(dlg.m_btnClose.m_hWnd && dlg.m_btnMax.m_hWnd && dlg.m_btnMin.m_hWnd);
    const RECT normal = WindowRect(dlg.m_hWnd);
    CHECK_EQ(normal.right - normal.left, 480);

    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SYS_MAX, BN_CLICKED), 0);
    Pump();
    const RECT max = WindowRect(dlg.m_hWnd);
    CHECK(dlg.m_bMaximized);
    CHECK_EQ(max.left, work.left);
    CHECK_EQ(max.top, work.top);
    CHECK_EQ(max.right, work.right);
    CHECK_EQ(max.bottom, work.bottom);
    // The caption buttons moved to the new right edge, edge to edge.
    RECT close = WindowRect(dlg.m_btnClose.m_hWnd), maxBtn = WindowRect(dlg.m_btnMax.m_hWnd);
    CHECK_EQ(close.right, max.right);
    CHECK_EQ(maxBtn.right, close.left);
    SaveScreenshot(dlg.m_hWnd, L"skinned_dialog_maximized.bmp");

    ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SYS_MAX, BN_CLICKED), 0);
    Pump();
    const RECT restored = WindowRect(dlg.m_hWnd);
    CHECK(!dlg.m_bMaximized);
    const SkinEdges expected = InitialRestoreRect(SkinEdges{work.left, work.top, work.right, work.bottom});
    CHECK_EQ(restored.left, expected.left);
    CHECK_EQ(restored.top, expected.top);
    CHECK_EQ(restored.right, expected.right);
    CHECK_EQ(restored.bottom, expected.bottom);

    // The close button asks the window to close, through the system command.
    ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SYS_CLOSE, BN_CLICKED), 0);
    MSG msg;
    CHECK(::PeekMessageW(&msg, dlg.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    CHECK_EQ(msg.wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
    dlg.DestroyWindow();
}

int main(int argc, char** argv)
{
    if (argc > 1) {
        wchar_t buf[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, buf, MAX_PATH);
        g_shots = buf;
        ::CreateDirectoryW(buf, nullptr);
    }
    char* rest[2] = {argv[0], argc > 2 ? argv[2] : nullptr};
    return check::RunAll(argc > 2 ? 2 : 1, rest);
}
