#include "sitefiles/CLumRssFileListDlg.h"

#include "editor/CLumRssFileConfigDlg.h"
#include "editor/EditorHelp.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/site/LumSiteMgr.h"
#include "mfc/CDC.h"
#include "mfc/CDataExchange.h"
#include "mfc/CWaitCursor.h"
#include "res/ResourceIds.h"
#include "sitefiles/SiteRssInfo.h"
#include "win32/CommCtrl.h"

#include <memory>

BEGIN_MESSAGE_MAP(CLumRssFileListDlg, CKmxResizableDlg)
ON_BN_CLICKED(IDC_RSS_ADD, &CLumRssFileListDlg::OnNewFile)
ON_BN_CLICKED(IDC_RSS_EDIT_FILE, &CLumRssFileListDlg::OnEditFile)
ON_BN_CLICKED(IDC_RSS_DELETE_FILE, &CLumRssFileListDlg::OnDeleteFiles)
ON_BN_CLICKED(IDC_RSS_COPY_FILE, &CLumRssFileListDlg::OnCopyFile)
ON_BN_CLICKED(IDC_RSS_RENAME_FILE, &CLumRssFileListDlg::OnRenameFile)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_RSS_FILE_LIST, &CLumRssFileListDlg::OnItemChanged)
ON_NOTIFY(NM_DBLCLK, IDC_RSS_FILE_LIST, &CLumRssFileListDlg::OnItemDoubleClicked)
ON_WM_PAINT()
END_MESSAGE_MAP()

CLumRssFileListDlg::CLumRssFileListDlg(int mode, CWnd* pParent)
    : CKmxResizableDlg(IDD_RSS_FILE_LIST, pParent, true), m_bSelectMode(mode) {
    loadSiteFeeds();
}

CLumRssFileListDlg::~CLumRssFileListDlg() {
    for (CRSSChannel* channel : m_channels) {
        delete channel;
    }
}

void CLumRssFileListDlg::loadSiteFeeds() {
    // Bringing the database in step and reading every feed can take a while
    // on a large site.
    CWaitCursor wait;
    std::vector<SiteRecCell50>* records = nullptr;
    if (!LumSiteMgr::GetRssInSite(&records) || records == nullptr) {
        return;
    }
    for (const SiteRecCell50& record : *records) {
        auto channel = std::make_unique<CRSSChannel>();
        CString path = record.m_path;
        // A file that no longer reads as a feed is simply not listed.
        if (newsdesk::readRssFile(path, channel.get()) != 0) {
            m_channels.push_back(channel.release());
        }
    }
    LumSiteMgr::DeleteVecRecCell(records);
}

void CLumRssFileListDlg::DoDataExchange(CDataExchange* pDX) {
    CKmxResizableDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RSS_FILE_LIST, m_fileList);
}

BOOL CLumRssFileListDlg::OnInitDialog() {
    CKmxResizableDlg::OnInitDialog();
    CLumAppEngineer* app = CLumAppEngineer::getInstance();
    if (app == nullptr) {
        return FALSE;
    }
    if (HICON icon = app->getAppIcon()) {
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    if (m_bSelectMode == 0) {
        if (CWnd* ok = GetDlgItem(IDOK)) {
            ok->ShowWindow(SW_HIDE);
        }
        CString close;
        close.LoadString(IDS_RSS_CLOSE);
        SetDlgItemText(IDCANCEL, close.GetString());
    }
    initDlgOK();
    RECT client;
    m_fileList.GetClientRect(&client);
    int width = (client.right - client.left) / 3;
    const UINT headers[] = {IDS_RSS_COLUMN_FILE_NAME, IDS_RSS_COLUMN_TITLE, IDS_RSS_COLUMN_FORMAT};
    for (int column = 0; column < 3; ++column) {
        CString header;
        header.LoadString(headers[column]);
        m_fileList.InsertColumn(column, header.GetString(), LVCFMT_LEFT, width);
    }
    m_fileList.SetExtendedStyle(m_fileList.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    fillFileList();
    return FALSE;
}

void CLumRssFileListDlg::initPlacementKey() {
    m_strPlacementKey = CKmxCommon::getHKCULumpageBase() + CString(u"\\dlg\\RssFileListDlg");
}

void CLumRssFileListDlg::fillFileList() {
    m_fileList.DeleteAllItems();
    const UINT formats[] = {IDS_RSS_FORMAT_RSS10, IDS_RSS_FORMAT_RSS20, IDS_RSS_FORMAT_ITUNES};
    for (size_t i = 0; i < m_channels.size(); ++i) {
        CRSSChannel* channel = m_channels[i];
        int row = static_cast<int>(i);
        m_fileList.InsertItem(row, channel->m_filePath.GetString());
        m_fileList.SetItemText(row, 1, channel->m_title.GetString());
        CString format;
        if (channel->m_format >= 0 && channel->m_format <= 2) {
            format.LoadString(formats[channel->m_format]);
        }
        m_fileList.SetItemText(row, 2, format.GetString());
        m_fileList.SetItemData(row, reinterpret_cast<DWORD_PTR>(channel));
    }
    UpdateData(FALSE);
    updateFileButtons();
}

void CLumRssFileListDlg::updateFileButtons() {
    UINT selected = m_fileList.GetSelectedCount();
    auto enable = [this](int id, bool on) {
        if (CWnd* control = GetDlgItem(id)) {
            control->EnableWindow(on ? TRUE : FALSE);
        }
    };
    bool manage = m_bSelectMode == 0;
    enable(IDC_RSS_ADD, manage);
    enable(IDC_RSS_COPY_FILE, manage && selected == 1);
    enable(IDC_RSS_EDIT_FILE, manage && selected == 1);
    enable(IDC_RSS_RENAME_FILE, manage && selected == 1);
    enable(IDC_RSS_DELETE_FILE, manage && selected >= 1);
    if (!manage) {
        enable(IDOK, selected == 1);
    }
}

CRSSChannel* CLumRssFileListDlg::getSelectedChannel() {
    UpdateData(TRUE);
    int row = m_fileList.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        return nullptr;
    }
    return reinterpret_cast<CRSSChannel*>(m_fileList.GetItemData(row));
}

void CLumRssFileListDlg::OnItemChanged(NMHDR*, LRESULT* pResult) {
    UpdateData(TRUE);
    updateFileButtons();
    *pResult = 0;
}

void CLumRssFileListDlg::OnItemDoubleClicked(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem < 0 ||
        m_fileList.GetSelectedCount() != 1) {
        return;
    }
    if (m_bSelectMode == 0) {
        OnEditFile();
    } else {
        OnOK();
    }
}

void CLumRssFileListDlg::OnPaint() {
    CPaintDC dc(this);
}

void CLumRssFileListDlg::onDlgResized(int dx, int dy, BOOL redraw) {
    const int sideButtons[] = {IDC_RSS_ADD, IDC_RSS_COPY_FILE, IDC_RSS_EDIT_FILE,
                               IDC_RSS_RENAME_FILE, IDC_RSS_DELETE_FILE};
    const int bottomButtons[] = {IDOK, IDCANCEL, ID_HELP};
    if (dx != 0) {
        for (int id : sideButtons) {
            resizeDlgItems(id, dx, true, false, redraw);
        }
        for (int id : bottomButtons) {
            resizeDlgItems(id, dx, true, false, redraw);
        }
        resizeDlgItems(IDC_RSS_FILE_LIST, dx, true, true, redraw);
    }
    if (dy != 0) {
        for (int id : bottomButtons) {
            resizeDlgItems(id, dy, false, false, redraw);
        }
        resizeDlgItems(IDC_RSS_FILE_LIST, dy, false, true, redraw);
    }
    if (redraw) {
        Invalidate();
    }
}

void CLumRssFileListDlg::OnOK() {
    if (CRSSChannel* channel = getSelectedChannel()) {
        m_strSelectedPath = channel->m_filePath;
    }
    CKmxResizableDlg::OnOK();
}

void CLumRssFileListDlg::OnCancel() {
    saveDlgPlacementInfo();
    CKmxResizableDlg::OnCancel();
}

void CLumRssFileListDlg::saveEdited(CLumRssFileConfigDlg& settings, CRSSChannel* channel,
                                    bool siteInfo) {
    settings.applyToChannel(channel);
    channel->m_pubDate = CTime::GetCurrentTime();
    channel->m_pubDateText.Empty();
    if (siteInfo) {
        newsdesk::updateSiteRssInfo(channel);
    }
    CString path = channel->m_filePath;
    newsdesk::writeRssFile(path, channel);
    newsdesk::readRssFile(path, channel);
}

void CLumRssFileListDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CKmxResizableDlg::WinHelp(dwData, nCmd);
    }
}
