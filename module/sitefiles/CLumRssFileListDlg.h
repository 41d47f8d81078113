// The list of the open site's feed files: create, copy, edit, rename and
// delete them (manage mode), or pick one (select mode).
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "hostapp/ui/CKmxResizableDlg.h"
#include "mfc/CListCtrl.h"
#include "mfc/CString.h"

#include <vector>

class CLumRssFileListDlg : public CKmxResizableDlg {
  public:
    // mode 0 manages the files, any other value picks one. The site's feeds
    // are read here, before the window exists.
    CLumRssFileListDlg(int mode, CWnd* pParent);
    ~CLumRssFileListDlg() override;

    CListCtrl m_fileList;
    int m_bSelectMode;
    std::vector<CRSSChannel*> m_channels;
    CString m_strSelectedPath;
    int m_bFilesChanged = 0;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    void onDlgResized(int dx, int dy, BOOL redraw) override;
    void initPlacementKey() override;

    void OnNewFile();
    void OnCopyFile();
    void OnEditFile();
    void OnRenameFile();
    void OnDeleteFiles();
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    // A double-clicked feed is edited, or chosen when the list picks one.
    void OnItemDoubleClicked(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

  private:
    void loadSiteFeeds();
    void fillFileList();
    void updateFileButtons();
    CRSSChannel* getSelectedChannel();
    // Applies the settings dialog's data, stamps the time, saves the feed
    // and reads it back into the record.
    void saveEdited(class CLumRssFileConfigDlg& settings, CRSSChannel* channel, bool siteInfo);
};
