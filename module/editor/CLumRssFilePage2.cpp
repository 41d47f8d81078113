#include "editor/CLumRssFilePage2.h"

#include "editor/CLumRssItemConfigDlg.h"
#include "editor/EditorHelp.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/app/CLumFileService.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"
#include "win32/CommCtrl.h"

#include <memory>

CLumRssFilePage2::CLumRssFilePage2(const CRSSChannel* channel) : CPropertyPage(IDD_RSS_FILE_PAGE2) {
    loadFromChannel(channel);
}

CLumRssFilePage2::~CLumRssFilePage2() = default;

BEGIN_MESSAGE_MAP(CLumRssFilePage2, CPropertyPage)
ON_BN_CLICKED(IDC_RSS_ADD, &CLumRssFilePage2::OnAddItem)
ON_BN_CLICKED(IDC_RSS_COPY_ITEM, &CLumRssFilePage2::OnCopyItem)
ON_BN_CLICKED(IDC_RSS_EDIT_ITEM, &CLumRssFilePage2::OnEditItem)
ON_BN_CLICKED(IDC_RSS_DELETE_ITEM, &CLumRssFilePage2::OnDeleteItems)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_RSS_ITEM_LIST, &CLumRssFilePage2::OnItemChanged)
ON_NOTIFY(NM_DBLCLK, IDC_RSS_ITEM_LIST, &CLumRssFilePage2::OnItemDoubleClicked)
END_MESSAGE_MAP()

void CLumRssFilePage2::loadFromChannel(const CRSSChannel* channel) {
    if (channel == nullptr) {
        m_items.clear();
        return;
    }
    m_items = channel->m_items;
    m_nFormat = channel->m_format;
}

void CLumRssFilePage2::saveToChannel(CRSSChannel* channel) const {
    if (channel != nullptr) {
        channel->m_items = m_items;
    }
}

CLumFileService* CLumRssFilePage2::createFileService() {
    CLumAppEngineer* app = CLumAppEngineer::getInstance();
    return app != nullptr ? app->createFileService() : nullptr;
}

void CLumRssFilePage2::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RSS_ITEM_LIST, m_listCtrl);
}

BOOL CLumRssFilePage2::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    RECT client;
    m_listCtrl.GetClientRect(&client);
    int width = (client.right - client.left) / 5;
    const UINT headers[] = {IDS_RSS_COLUMN_ITEM_TITLE, IDS_RSS_COLUMN_DESCRIPTION,
                            IDS_RSS_COLUMN_AUTHOR, IDS_RSS_COLUMN_MEDIA_FILE, IDS_RSS_COLUMN_LINK};
    for (int column = 0; column < 5; ++column) {
        CString header;
        header.LoadString(headers[column]);
        m_listCtrl.InsertColumn(column, header.GetString(), LVCFMT_LEFT, width);
    }
    m_listCtrl.SetExtendedStyle(m_listCtrl.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    fillList();
    return TRUE;
}

BOOL CLumRssFilePage2::OnSetActive() {
    BOOL active = CPropertyPage::OnSetActive();
    UpdateData(TRUE);
    updateButtons();
    return active;
}

void CLumRssFilePage2::fillList() {
    m_listCtrl.DeleteAllItems();
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CRSSItem& item = m_items[i];
        int row = static_cast<int>(i);
        m_listCtrl.InsertItem(row, item.m_title.GetString());
        m_listCtrl.SetItemText(row, 1, item.m_description.GetString());
        m_listCtrl.SetItemText(row, 2, item.m_author.GetString());
        m_listCtrl.SetItemText(row, 3, item.m_enclosureUrl.GetString());
        m_listCtrl.SetItemText(row, 4, item.m_link.GetString());
        m_listCtrl.SetItemData(row, static_cast<DWORD_PTR>(i));
    }
    UpdateData(FALSE);
    updateButtons();
}

void CLumRssFilePage2::enable(int id, bool on) {
    if (CWnd* control = GetDlgItem(id)) {
        control->EnableWindow(on ? TRUE : FALSE);
    }
}

void CLumRssFilePage2::updateButtons() {
    UINT selected = m_listCtrl.GetSelectedCount();
    enable(IDC_RSS_ADD, true);
    enable(IDC_RSS_COPY_ITEM, selected == 1);
    enable(IDC_RSS_EDIT_ITEM, selected == 1);
    enable(IDC_RSS_DELETE_ITEM, selected >= 1);
}

void CLumRssFilePage2::OnItemChanged(NMHDR*, LRESULT* pResult) {
    UpdateData(TRUE);
    updateButtons();
    *pResult = 0;
}

int CLumRssFilePage2::firstSelectedIndex() const {
    int row = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        return -1;
    }
    DWORD_PTR index = m_listCtrl.GetItemData(row);
    return index < m_items.size() ? static_cast<int>(index) : -1;
}

bool CLumRssFilePage2::editInDialog(CRSSItem& item, bool load) {
    std::unique_ptr<CLumFileService> files(createFileService());
    auto dialog = std::make_unique<CLumRssItemConfigDlg>(files.get(), m_nFormat, nullptr);
    if (load) {
        dialog->loadFromItem(item);
    }
    bool ok = dialog->DoModal() == IDOK;
    if (ok) {
        dialog->saveToItem(item);
    }
    // The dialog goes before the file-selection object it was given.
    dialog.reset();
    files.reset();
    return ok;
}

void CLumRssFilePage2::OnAddItem() {
    CRSSItem item;
    if (editInDialog(item, false)) {
        m_items.push_back(item);
    }
    fillList();
}

void CLumRssFilePage2::OnCopyItem() {
    int index = firstSelectedIndex();
    if (index < 0) {
        return;
    }
    CRSSItem copy = m_items[static_cast<size_t>(index)];
    // The copy is a new entry: with the original's guid, feed readers would
    // take the two for one and show only one of them.
    copy.m_kept.removeElements(nullptr, "guid");
    if (editInDialog(copy, true)) {
        m_items.push_back(copy);
    }
    fillList();
}

void CLumRssFilePage2::OnEditItem() {
    int index = firstSelectedIndex();
    if (index < 0) {
        return;
    }
    editInDialog(m_items[static_cast<size_t>(index)], true);
    fillList();
}

void CLumRssFilePage2::OnItemDoubleClicked(NMHDR* pNMHDR, LRESULT* pResult) {
    // A double click below the last row hits no item and does nothing.
    if (reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem >= 0) {
        OnEditItem();
    }
    *pResult = 0;
}

void CLumRssFilePage2::OnDeleteItems() {
    // Rows hold their item's index and the list is never sorted, so each
    // erased item moves the later ones up by one.
    size_t erased = 0;
    for (int row = m_listCtrl.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_listCtrl.GetNextItem(row, LVNI_SELECTED)) {
        DWORD_PTR data = m_listCtrl.GetItemData(row);
        if (data >= erased && data - erased < m_items.size()) {
            m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(data - erased));
            ++erased;
        }
    }
    fillList();
}

void CLumRssFilePage2::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CPropertyPage::WinHelp(dwData, nCmd);
    }
}
