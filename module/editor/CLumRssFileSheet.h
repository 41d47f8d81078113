// The two-page sheet inside the feed settings dialog: the channel page and
// the items page. Created as a child of the dialog, it shows tabs and pages
// only; the dialog's buttons serve for the whole.
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "mfc/CPropertySheet.h"

#include <memory>

class CLumRssFilePage1;
class CLumRssFilePage2;

class CLumRssFileSheet : public CPropertySheet {
  public:
    // Both pages load the channel (defaults without one) at once.
    CLumRssFileSheet(const CRSSChannel* channel, CWnd* pOwner);
    ~CLumRssFileSheet() override;

    // The pages' data into the channel: the channel page, then the items page.
    void applyToChannel(CRSSChannel* channel) const;

    BOOL OnInitDialog() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    std::unique_ptr<CLumRssFilePage1> m_pChannelPage;
    std::unique_ptr<CLumRssFilePage2> m_pItemsPage;
};
