// The host's site rebuild dialog: brings the open site's database in step
// with its folder, showing how far it got, and closes itself when done. It
// never waits for a person, so a UI script has no entry for it.
#pragma once

#include "hostapp/site/SiteScanner.h"
#include "mfc/CDialog.h"

#include <functional>
#include <string>

class CLumSiteRebuildProgressDlg : public CDialog {
  public:
    // Read every file again, whatever the database says.
    static constexpr int kRebuildFull = 1;
    // Replace a database file that is not a site database or is from a
    // newer schema (it is otherwise never touched).
    static constexpr int kReplaceBroken = 2;

    // flags: 0 or the kRebuild... bits.
    CLumSiteRebuildProgressDlg(CWnd* pParent, int flags);

    // IDOK when the database is in step, IDABORT when the rebuild failed
    // (lastError() says why), IDCANCEL when no site is open.
    INT_PTR DoModal() override;

    const std::string& lastError() const { return m_strError; }
    const lum::site::ScanResult& result() const { return m_result; }

    // Heard by whoever shows progress elsewhere too (the host program's
    // progress bar on a terminal); empty to stop.
    using Listener = std::function<void(size_t done, size_t total, const std::string& path)>;
    static void setProgressListener(Listener listener);

  protected:
    BOOL OnInitDialog() override;
    void OnCancel() override {}  // a half-done rebuild is not left by Esc

  private:
    INT_PTR rebuild(HWND window);

    int m_nFlags;
    bool m_bRan = false;
    INT_PTR m_nResult = IDCANCEL;
    std::string m_strError;
    lum::site::ScanResult m_result;
};
