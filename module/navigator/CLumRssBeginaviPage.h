// The RSS welcome navigator: four picture buttons that create or open a
// feed and show the help on RSS links and podcast feeds, each explained in
// the pane beside them while the mouse rests on it.
#pragma once

#include "navigator/CLumRssNaviDlgBase.h"

class CLumRssBeginaviPage : public CLumRssNaviDlgBase {
  public:
    CLumRssBeginaviPage(UINT nIDTemplate, CWnd* pParent, HICON icon);

    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void initNaviData() override;
    bool isNaviButton(int id) const override;

    void OnNewFile();
    void OnOpenFile();
    void OnLinkHelp();
    void OnPodcastHelp();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()

  private:
    void markInstance(HANDLE value);
};
