#include "hostapp/ui/CLumSiteRebuildProgressDlg.h"

#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/HostResourceIds.h"
#include "win32/CommCtrl.h"
#include "win32/Dialog.h"

#include <utility>

namespace {

CLumSiteRebuildProgressDlg::Listener& listener() {
    static CLumSiteRebuildProgressDlg::Listener l;
    return l;
}

}  // namespace

CLumSiteRebuildProgressDlg::CLumSiteRebuildProgressDlg(CWnd* pParent, int flags)
    : CDialog(IDD_LUM_SITE_REBUILD, pParent), m_nFlags(flags) {}

void CLumSiteRebuildProgressDlg::setProgressListener(Listener l) {
    listener() = std::move(l);
}

INT_PTR CLumSiteRebuildProgressDlg::DoModal() {
    m_bRan = false;
    INT_PTR shown = CDialog::DoModal();
    if (!m_bRan) {
        // No window could be made (no template, no window system): the
        // database is still brought in step, only without a dialog.
        return rebuild(nullptr);
    }
    return shown;
}

BOOL CLumSiteRebuildProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowWindow(SW_SHOW);
    EndDialog(static_cast<int>(rebuild(m_hWnd)));
    return TRUE;
}

INT_PTR CLumSiteRebuildProgressDlg::rebuild(HWND window) {
    m_bRan = true;
    m_strError.clear();
    m_result = {};
    if (!LumSiteMgr::isSiteOpened()) {
        m_strError = "no site is open";
        return m_nResult = IDCANCEL;
    }
    SiteMgr50* db = nullptr;
    if (m_nFlags & kReplaceBroken) {
        if (LumSiteMgr::openSiteDatabase(lum::site::SiteDatabase::OpenMode::Recreate, m_strError)) {
            db = LumSiteMgr::getSiteMgr();
        }
    } else {
        db = LumSiteMgr::getSiteMgr();
        if (!db) {
            m_strError = LumSiteMgr::siteDatabaseError();
        }
    }
    if (!db) {
        return m_nResult = IDABORT;
    }
    HWND bar = window ? ::GetDlgItem(window, IDC_REBUILD_PROGRESS) : nullptr;
    auto progress = [&](size_t done, size_t total, const std::string& path) {
        if (bar) {
            ::SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
            ::SendMessageW(bar, PBM_SETPOS, done, 0);
            ::SetDlgItemTextW(window, IDC_REBUILD_FILE, CString::fromUtf8(path).GetString());
        }
        if (listener()) {
            listener()(done, total, path);
        }
    };
    bool ok = db->rebuild((m_nFlags & kRebuildFull) != 0, progress, m_result, m_strError);
    return m_nResult = ok ? IDOK : IDABORT;
}
