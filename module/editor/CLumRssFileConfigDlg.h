// The feed settings dialog: the file's path, its format and the sheet with
// the channel and items pages. It never writes a channel on its own: after
// OK the caller asks it to apply the edited data to a record.
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "mfc/CDialog.h"
#include "mfc/CString.h"

#include <memory>

class CLumRssFileSheet;

class CLumRssFileConfigDlg : public CDialog {
  public:
    // channel may be null for a new file; it is only read.
    CLumRssFileConfigDlg(CRSSChannel* channel, CWnd* pParent);
    ~CLumRssFileConfigDlg() override;

    // The file path, the format and the pages' data into target (the edited
    // channel itself or a fresh record). Works after the dialog has closed.
    void applyToChannel(CRSSChannel* target) const;

    // Full path of the feed file; a caller making a new file sets it first.
    CString m_strFileName;
    CRSSChannel* m_pChannel;
    int m_nFormat = 0;
    std::unique_ptr<CLumRssFileSheet> m_pSheet;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void selectFormatButton(int buttonId);
    void changeFormat(int buttonId, int format);
    // The site's public URL of a new file's path; empty when there is none.
    CString defaultChannelUrl() const;

    void OnFormatRss10();
    void OnFormatRss20();
    void OnFormatItunes();

    DECLARE_MESSAGE_MAP()
};
