// The window framework driving real dialogs: modal and modeless life cycles,
// control binding, keyboard handling and the PreTranslateMessage chain.
#include <windows.h>

#include <vector>

#include "framework/dialog.h"
#include "framework/win_app.h"
#include "tests/check.h"

namespace {

const UINT IDD_TEST = 1000;
const int IDC_EDIT = 1001;

CWinApp g_app;

// An edit control that records the keys it is given.
class CRecordingEdit : public CWnd {
public:
    std::vector<WPARAM> m_keys;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_KEYDOWN)
            m_keys.push_back(wParam);
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(IDD_TEST) {}

    // What OnInitDialog does once the dialog exists.
    std::vector<MSG> m_toPost;
    bool m_bQuitOnInit = false;
    bool m_bSwallowA = false;
    bool m_bEndFromWorker = false;
    HANDLE m_hWorker = nullptr;

    int m_nInits = 0;
    bool m_bBoundAtInit = false;
    bool m_bNcDestroyed = false;
    std::vector<WPARAM> m_swallowed;
    CRecordingEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_EDIT, m_edit); }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++m_nInits;
        m_bBoundAtInit = CWnd::FromHandlePermanent(GetDlgItem(IDC_EDIT)) == &m_edit;
        ::SetFocus(m_edit.m_hWnd);
        for (const MSG& m : m_toPost)
            ::PostMessageW(m.hwnd ? m.hwnd : m_edit.m_hWnd, m.message, m.wParam, m.lParam);
        if (m_bQuitOnInit)
            ::PostQuitMessage(7);
        if (m_bEndFromWorker)
            m_hWorker = ::CreateThread(nullptr, 0, &CTestDlg::EndFromWorker, this, 0, nullptr);
        return FALSE;
    }

public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_bSwallowA && pMsg->message == WM_KEYDOWN && pMsg->wParam == 'A') {
            m_swallowed.push_back(pMsg->wParam);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void PostNcDestroy() override { m_bNcDestroyed = true; }

private:
    static DWORD WINAPI EndFromWorker(LPVOID param)
    {
        static_cast<CTestDlg*>(param)->EndDialog(42);
        return 0;
    }
};

MSG Key(WPARAM vk)
{
    MSG m = {};
    m.message = WM_KEYDOWN;
    m.wParam = vk;
    return m;
}

} // namespace

TEST(enter_and_escape_end_a_modal_dialog)
{
    struct Row {
        WPARAM key;
        INT_PTR result;
    } rows[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
    for (const Row& r : rows) {
        CTestDlg dlg;
        dlg.m_toPost.push_back(Key(r.key));
        CHECK_EQ_AT(r.key, dlg.DoModal(), r.result);
        CHECK_EQ_AT(r.key, dlg.m_nInits, 1);
        CHECK_EQ_AT(r.key, dlg.m_bBoundAtInit, true);
        // The window is gone and the objects let go of it.
        CHECK_EQ_AT(r.key, dlg.m_hWnd == nullptr, true);
        CHECK_EQ_AT(r.key, dlg.m_edit.m_hWnd == nullptr, true);
        CHECK_EQ_AT(r.key, dlg.m_bNcDestroyed, true);
    }
}

TEST(pretranslate_sees_keys_before_the_control)
{
    CTestDlg dlg;
    dlg.m_bSwallowA = true;
    dlg.m_toPost.push_back(Key('A'));
    dlg.m_toPost.push_back(Key('B'));
    dlg.m_toPost.push_back(Key(VK_ESCAPE));
    CHECK_EQ(dlg.DoModal(), static_cast<INT_PTR>(IDCANCEL));
    CHECK_EQ(dlg.m_swallowed.size(), 1u);
    // 'A' never reached the edit control; 'B' did.
    bool sawA = false, sawB = false;
    for (WPARAM k : dlg.m_edit.m_keys) {
        sawA |= k == 'A';
        sawB |= k == 'B';
    }
    CHECK(!sawA);
    CHECK(sawB);
}

TEST(end_dialog_from_another_thread)
{
    CTestDlg dlg;
    dlg.m_bEndFromWorker = true;
    CHECK_EQ(dlg.DoModal(), static_cast<INT_PTR>(42));
    CHECK(dlg.m_hWorker != nullptr);
    ::WaitForSingleObject(dlg.m_hWorker, INFINITE);
    ::CloseHandle(dlg.m_hWorker);
}

TEST(owner_is_disabled_while_modal)
{
    HWND hOwner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                    nullptr, nullptr, nullptr);
    CWnd owner;
    owner.SubclassWindow(hOwner);
    class CProbeDlg : public CTestDlg {
    public:
        HWND m_hOwner = nullptr;
        bool m_bOwnerEnabled = true;

    protected:
        BOOL OnInitDialog() override
        {
            m_bOwnerEnabled = ::IsWindowEnabled(m_hOwner) != FALSE;
            EndDialog(IDOK);
            return TRUE;
        }
    } dlg;
    dlg.m_hOwner = hOwner;
    g_app.m_pMainWnd = &owner;
    CHECK_EQ(dlg.DoModal(), static_cast<INT_PTR>(IDOK));
    g_app.m_pMainWnd = nullptr;
    CHECK(!dlg.m_bOwnerEnabled);
    CHECK(::IsWindowEnabled(hOwner));
    ::DestroyWindow(hOwner);
    CHECK(owner.m_hWnd == nullptr);
}

TEST(missing_template_gives_minus_one)
{
    CDialog dlg(4242);
    CHECK_EQ(dlg.DoModal(), static_cast<INT_PTR>(-1));
}

TEST(quit_during_a_modal_loop_is_left_for_the_outer_loop)
{
    CTestDlg dlg;
    dlg.m_bQuitOnInit = true;
    CHECK_EQ(dlg.DoModal(), static_cast<INT_PTR>(-1));
    MSG msg;
    CHECK(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK_EQ(msg.wParam, static_cast<WPARAM>(7));
}

TEST(modeless_dialog_runs_in_the_application_loop)
{
    CTestDlg dlg;
    dlg.m_toPost.push_back(Key(VK_ESCAPE));
    CHECK(dlg.Create(IDD_TEST));
    CHECK(dlg.m_hWnd != nullptr);
    CHECK_EQ(dlg.m_nInits, 1);
    // Escape reaches OnCancel, which destroys a modeless dialog.
    for (int i = 0; i < 200 && dlg.m_hWnd; ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (dlg.m_hWnd && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            g_app.PumpMessage();
    }
    CHECK(dlg.m_hWnd == nullptr);
    CHECK(dlg.m_bNcDestroyed);
}

CHECK_MAIN()
