// Describes an RSS link for the page being edited: the feed it points to,
// an icon (the default one or a picture), a text, and whether the page
// announces the feed in its head.
#pragma once

#include "mfc/CDialog.h"
#include "mfc/CString.h"

class COrvHTMLDocUtil;
class PageEditIF;

class CLumRssInsertLinkDlg : public CDialog {
  public:
    CLumRssInsertLinkDlg(PageEditIF* page, COrvHTMLDocUtil* docUtil, CWnd* pParent);

    // Fills the dialog from the link at the cursor before it is shown; a
    // non-empty feed reference makes it the edit dialog.
    void presetForEdit(const CString& rssFile, const CString& iconFile, bool defaultIcon,
                       const CString& linkText);

    int m_bIncludeText = 0;
    int m_bIncludeIcon = 0;
    int m_nDefaultIcon = 1;  // 1 the default icon, 0 a picture of the user's
    CString m_strRssFile;
    CString m_strIconFile;
    CString m_strLinkText;
    int m_bAutoDiscovery = 0;
    COrvHTMLDocUtil* m_pDocUtil;
    PageEditIF* m_pPage;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void OnPickSiteRss();
    void OnBrowseRss();
    void OnChooseIconFromFile();
    void OnChooseDefaultIcon();
    void OnBrowseIcon();
    void OnSampleIcon();
    void OnIncludeIcon();
    void OnIncludeText();
    void OnAutoDiscovery();
    void OnFieldChange();
    DECLARE_MESSAGE_MAP()

  private:
    void updateOk();
    void updateIconControls(int defaultIcon);
    void enable(int id, bool on);
    // Whether the page already announces the feed now named.
    void readAutoDiscovery();
};
