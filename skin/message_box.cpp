#include "skin/message_box.h"

#include <vector>

#include "framework/win_app.h"
#include "logic/skin_geometry.h"
#include "skin/skin_image.h"

int ShowAppMessage(UINT style, const wchar_t* title, const wchar_t* text, HWND owner)
{
    HMODULE hModule = AfxGetInstanceHandle();
    HBITMAP hBtn1 = LoadSkinImage(hModule, 133);
    HBITMAP hBtn2 = LoadSkinImage(hModule, 133);
    HBITMAP hClose = LoadSkinImage(hModule, 132);
    HBITMAP hBack = LoadSkinImage(hModule, 131);
    return RunMessageBox(owner, text, hBack, hClose, hBtn1, hBtn2, title, style);
}

int RunMessageBox(HWND owner, const wchar_t* text, HBITMAP hBack, HBITMAP hClose, HBITMAP hBtn1,
                  HBITMAP hBtn2, const wchar_t* title, UINT style)
{
    CWnd ownerWnd;
    ownerWnd.m_hWnd = owner;
    CMessageBox box(owner ? &ownerWnd : nullptr);
    box.SetContent(style, title, text, hBack, hClose, hBtn1, hBtn2);
    const INT_PTR result = box.DoModal();
    ownerWnd.m_hWnd = nullptr;
    return static_cast<int>(result);
}

CMessageBox::CMessageBox(CWnd* pParent) : CDlgEx(IDD_MESSAGEBOX, pParent) {}

CMessageBox::~CMessageBox()
{
    // A box that never reached SetSkin still owns its background.
    if (m_hBack && m_hBack != m_bmpBack)
        ::DeleteObject(m_hBack);
    for (HBITMAP h : {m_hClose, m_hBtn1, m_hBtn2}) {
        if (h)
            ::DeleteObject(h);
    }
}

void CMessageBox::SetContent(UINT style, const wchar_t* title, const wchar_t* text, HBITMAP hBack,
                             HBITMAP hClose, HBITMAP hBtn1, HBITMAP hBtn2)
{
    m_nStyle = static_cast<int>(style);
    m_strTitle = title ? title : L"";
    m_strText = text ? text : L"";
    m_hBack = hBack;
    m_hClose = hClose;
    m_hBtn1 = hBtn1;
    m_hBtn2 = hBtn2;
    m_crText = RGB(0, 0, 0);
}

SIZE CMessageBox::MeasureText()
{
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hdc, m_pFont);
    RECT rc = {0, 0, 0, 0};
    ::DrawTextW(hdc, m_strText.c_str(), static_cast<int>(m_strText.size()), &rc, DT_CALCRECT);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

BOOL CMessageBox::OnInitDialog()
{
    CDlgEx::OnInitDialog();
    SetFrameMetrics(30, 4, 0, 0, 0);
    SetSkin(m_hBack, FALSE, TRUE, nullptr, nullptr, nullptr, m_hClose);
    SetTitle(m_strTitle.c_str());
    m_nLines = MessageLineCount(m_strText);

    m_pFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    const SIZE text = MeasureText();
    const SkinSize strip = BitmapSize(m_hBtn1);
    const SkinSize frame{StripFrameWidth(strip.w, 4), strip.h};
    const SkinSize window = MessageBoxWindowSize(SkinSize{text.cx, text.cy}, m_nLines, frame);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.w, window.h, SWP_NOMOVE | SWP_NOZORDER);

    RECT client;
    ::GetClientRect(m_hWnd, &client);
    for (const MessageBoxButton& b : MessageBoxButtons(SkinSize{client.right, client.bottom}, frame, m_nStyle)) {
        CBtnEx& button = b.id == kMsgBoxBtn1 ? m_btn1 : m_btn2;
        HBITMAP hStrip = b.id == kMsgBoxBtn1 ? m_hBtn1 : m_hBtn2;
        RECT rc = {b.rect.x, b.rect.y, b.rect.x + b.rect.w, b.rect.y + b.rect.h};
        if (!button.Create(b.windowText, WS_CHILD | WS_VISIBLE, rc, this, static_cast<UINT>(b.id)))
            continue;
        button.SetImage(hStrip, TRUE);
        button.m_strText = b.text;
        ::InvalidateRect(button.m_hWnd, nullptr, TRUE);
    }
    return TRUE;
}

void CMessageBox::PaintText()
{
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hdc, m_pFont);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_crText);
    RECT measure = {0, 0, 0, 0};
    ::DrawTextW(hdc, m_strText.c_str(), static_cast<int>(m_strText.size()), &measure, DT_CALCRECT);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const SkinSize text{measure.right - measure.left, measure.bottom - measure.top};
    const std::vector<std::wstring> parts = MessageLineParts(m_strText);
    for (size_t i = 0; i < parts.size(); ++i) {
        const SkinRect box = MessageLineBox(client.right, text, m_nLines, static_cast<int>(i));
        RECT rc = {box.x, box.y, box.x + box.w, box.y + box.h};
        ::DrawTextW(hdc, parts[i].c_str(), static_cast<int>(parts[i].size()), &rc, 0);
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
}

BOOL CMessageBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int answer = MessageBoxAnswer(m_nStyle, LOWORD(wParam));
    if (answer != 0 && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(answer);
        return TRUE;
    }
    return CDlgEx::OnCommand(wParam, lParam);
}

LRESULT CMessageBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        const LRESULT result = CDlgEx::WindowProc(msg, wParam, lParam);
        PaintText();
        return result;
    }
    case WM_CLOSE:
        EndDialog(IDCANCEL);
        return 0;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}
