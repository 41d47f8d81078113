// The items page of the feed settings sheet: a working copy of the feed's
// items in a five-column list, with add, copy-and-add, edit and delete through
// the item dialog. The items reach a channel only through saveToChannel.
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "hostapp/records/CRSSItem.h"
#include "mfc/CListCtrl.h"
#include "mfc/CPropertyPage.h"

#include <vector>

class CLumFileService;

class CLumRssFilePage2 : public CPropertyPage {
  public:
    explicit CLumRssFilePage2(const CRSSChannel* channel);
    ~CLumRssFilePage2() override;

    void loadFromChannel(const CRSSChannel* channel);
    void saveToChannel(CRSSChannel* channel) const;
    // The host's file-selection object for one item dialog (the caller
    // deletes it), or null when the host has none.
    static CLumFileService* createFileService();

    CListCtrl m_listCtrl;
    // Row i of the list shows element i; its item data is i.
    std::vector<CRSSItem> m_items;
    // Handed to the item dialogs; the settings dialog sets it on a format change.
    int m_nFormat = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void fillList();
    void updateButtons();
    void enable(int id, bool on);
    // The index of the first selected row's item; -1 when none is selected.
    int firstSelectedIndex() const;
    // Runs an item dialog on `item` (loaded first when `load`); true after OK,
    // with the dialog's fields saved into `item`.
    bool editInDialog(CRSSItem& item, bool load);

    void OnAddItem();
    void OnCopyItem();
    void OnEditItem();
    void OnDeleteItems();
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    // A double-clicked row is edited, as its Edit button would.
    void OnItemDoubleClicked(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
