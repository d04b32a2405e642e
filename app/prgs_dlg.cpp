#include "app/prgs_dlg.h"

#include "logic/http_address.h"
#include "skin/gdi_handles.h"
#include "skin/skin_image.h"

namespace {

const WORD kBackImage = 131;
const WORD kCloseImage = 132;
const WORD kTrackImage = 152;
const WORD kFillImage = 153;

} // namespace

CPrgsDlg::CPrgsDlg() : CDlgEx(IDD_UPDATE_PROGRESS, nullptr) {}

void CPrgsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDlgEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_PROGRESS, m_progress);
}

BOOL CPrgsDlg::OnInitDialog()
{
    CDlgEx::OnInitDialog();
    SetFrameMetrics(30, 4, 0, 0, 0);
    SetTitle(L"版本更新中...");
    // The close button keeps a copy of its strip.
    const BitmapHandle close(LoadSkinImage(nullptr, kCloseImage));
    SetSkin(LoadSkinImage(nullptr, kBackImage), FALSE, TRUE, nullptr, nullptr, nullptr, close.get());
    CenterWindow();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_progress.SetImages(LoadSkinImage(nullptr, kTrackImage), LoadSkinImage(nullptr, kFillImage));

    // Both start only once both handles are stored: the watcher closes them.
    m_hDownloadThread = ::CreateThread(nullptr, 0, &UpdateDownloadThread, this, CREATE_SUSPENDED, nullptr);
    m_hWatchThread = ::CreateThread(nullptr, 0, &UpdateWatchThread, this, CREATE_SUSPENDED, nullptr);
    if (!m_hDownloadThread || !m_hWatchThread)
        OnCancel();
    if (m_hDownloadThread)
        ::ResumeThread(m_hDownloadThread);
    if (m_hWatchThread) {
        ::ResumeThread(m_hWatchThread);
    } else if (m_hDownloadThread) {
        ::CloseHandle(m_hDownloadThread);
        m_hDownloadThread = nullptr;
    }
    return TRUE;
}

// Enter must not end the download.
void CPrgsDlg::OnOK() {}

// The dialog ends at once. The download is told to stop and its handles are
// closed, which also ends a read that is still waiting for data; the worker
// then closes its file itself, so nothing is closed under it, and the watcher
// releases both thread handles once the worker is gone.
void CPrgsDlg::OnCancel()
{
    m_bCancelled = true;
    CancelHttpTransfer(&m_transfer);
    EndDialog(IDCANCEL);
}

DWORD WINAPI CPrgsDlg::UpdateDownloadThread(LPVOID param)
{
    CPrgsDlg* dlg = static_cast<CPrgsDlg*>(param);
    if (!IsTrustedUrl(dlg->m_szUrl)) {
        dlg->m_bOk = false;
        return 0;
    }
    dlg->m_bOk = HttpGetToFile(dlg->m_szUrl, dlg->m_szFile, 512, dlg->m_progress.m_hWnd, &dlg->m_transfer);
    return 0;
}

DWORD WINAPI CPrgsDlg::UpdateWatchThread(LPVOID param)
{
    CPrgsDlg* dlg = static_cast<CPrgsDlg*>(param);
    if (dlg->m_hDownloadThread) {
        ::WaitForSingleObject(dlg->m_hDownloadThread, INFINITE);
        ::CloseHandle(dlg->m_hDownloadThread);
    }
    dlg->m_hDownloadThread = nullptr;
    ::CloseHandle(dlg->m_hWatchThread);
    dlg->m_hWatchThread = nullptr;
    if (!dlg->m_bCancelled)
        dlg->EndDialog(dlg->m_bOk ? IDOK : IDCANCEL);
    return 0;
}
