#pragma once
#include <windows.h>

#include <atomic>

#include "app/http_fetch.h"
#include "skin/dlg_ex.h"
#include "skin/img_progress.h"

const UINT IDD_UPDATE_PROGRESS = 156;
const UINT IDC_UPDATE_PROGRESS = 1000;

// The skinned progress dialog of the self-update: downloads m_szUrl into
// m_szFile on a worker while a watcher ends the dialog, IDOK when the whole
// file arrived, IDCANCEL otherwise.
class CPrgsDlg : public CDlgEx {
public:
    CPrgsDlg();
    ~CPrgsDlg() override = default;

    CImgProgress m_progress;
    wchar_t m_szUrl[512] = {};
    wchar_t m_szFile[260] = {};
    HANDLE m_hDownloadThread = nullptr;
    HANDLE m_hWatchThread = nullptr;
    // The running download's handles and output file.
    HttpTransfer m_transfer;
    std::atomic<bool> m_bOk{false};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    static DWORD WINAPI UpdateDownloadThread(LPVOID param);
    static DWORD WINAPI UpdateWatchThread(LPVOID param);

    std::atomic<bool> m_bCancelled{false};
};
