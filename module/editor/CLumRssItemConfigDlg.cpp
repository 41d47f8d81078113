#include "editor/CLumRssItemConfigDlg.h"

#include "editor/CLumRssCategoryDlg.h"
#include "editor/CategoryEdits.h"
#include "editor/EditorHelp.h"
#include "feed/FeedReaders.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"
#include "win32/SysTime.h"

#include <limits>
#include <type_traits>

CLumRssItemConfigDlg::CLumRssItemConfigDlg(CLumFileService* fileService, int format, CWnd* pParent)
    : CDialog(IDD_RSS_ITEM_CONFIG, pParent),
      m_nFormat(format),
      m_date(CTime::GetCurrentTime()),
      m_time(m_date),
      m_pFileService(fileService) {
    m_durationTime.SetTime(0, 0, 0);
}

CLumRssItemConfigDlg::~CLumRssItemConfigDlg() = default;

BEGIN_MESSAGE_MAP(CLumRssItemConfigDlg, CDialog)
ON_LBN_SELCHANGE(IDC_RSS_ITEM_CATEGORIES, &CLumRssItemConfigDlg::OnCategorySelChange)
ON_BN_CLICKED(IDC_RSS_ADD, &CLumRssItemConfigDlg::OnAddCategory)
ON_BN_CLICKED(IDC_RSS_ITEM_DELETE_CATEGORY, &CLumRssItemConfigDlg::OnDeleteCategory)
ON_BN_CLICKED(IDC_RSS_ITEM_BROWSE_MEDIA, &CLumRssItemConfigDlg::onBrowseMedia)
END_MESSAGE_MAP()

void CLumRssItemConfigDlg::loadFromItem(const CRSSItem& item) {
    m_strTitle = item.m_title;
    m_strDescription = item.m_description;
    m_strLink = item.m_link;
    m_date = CTime(static_cast<__time64_t>(item.m_pubDate));
    m_time = m_date;
    m_strAuthor = item.m_author;
    m_strMediaFile = item.m_enclosureUrl;
    m_strMimeType = item.m_enclosureType;
    m_nLength = item.m_enclosureLength;
    m_strComments = item.m_comments;
    m_strSubtitle = item.m_subTitle;
    m_strArtist = item.m_artist;
    m_strKeywords = item.m_keywords;
    setDuration(item.m_duration);
    m_bPrivate = item.m_block ? 1 : 0;
    m_categories = item.m_categories;
}

namespace {

// A 64-bit value in a record field of either width; -1 when the field is
// too narrow for it, as a time outside a 32-bit count has always been stored.
template <typename Field>
Field fitted(std::int64_t value) {
    if (value < std::numeric_limits<Field>::min() || value > std::numeric_limits<Field>::max()) {
        return static_cast<Field>(-1);
    }
    return static_cast<Field>(value);
}

}  // namespace

void CLumRssItemConfigDlg::saveToItem(CRSSItem& item) const {
    item.m_title = m_strTitle;
    item.m_description = m_strDescription;
    item.m_link = m_strLink;
    // The date picker gives the day, the time picker the time of day, both
    // in local time.
    CTime when(m_date.GetYear(), m_date.GetMonth(), m_date.GetDay(), m_time.GetHour(),
               m_time.GetMinute(), m_time.GetSecond());
    // A date left as it was keeps the item's own, with a date text no reader
    // could parse; a new date replaces that text.
    if (when.GetTime() != static_cast<std::int64_t>(item.m_pubDate)) {
        item.m_pubDate = fitted<std::remove_cvref_t<decltype(item.m_pubDate)>>(when.GetTime());
        item.m_pubDateText.Empty();
    }
    item.m_author = m_strAuthor;
    item.setCategory(m_categories);
    item.m_enclosureUrl = m_strMediaFile;
    item.m_enclosureType = m_strMimeType;
    using Length = std::remove_cvref_t<decltype(item.m_enclosureLength)>;
    item.m_enclosureLength = m_nLength > std::numeric_limits<Length>::max()
                                 ? std::numeric_limits<Length>::max()
                                 : static_cast<Length>(m_nLength);
    item.m_comments = m_strComments;
    item.m_subTitle = m_strSubtitle;
    item.m_artist = m_strArtist;
    item.m_keywords = m_strKeywords;
    // A picker value that does not convert counts as no playing time rather
    // than as a negative one.
    int seconds = 0;
    if (m_durationTime.GetStatus() == COleDateTime::valid) {
        seconds = (m_durationTime.GetHour() * 60 + m_durationTime.GetMinute()) * 60 +
                  m_durationTime.GetSecond();
    }
    item.m_duration = seconds;
    item.m_block = m_bPrivate != 0;
}

void CLumRssItemConfigDlg::setDuration(int seconds) {
    if (seconds < 1) {
        m_durationTime.SetTime(0, 0, 0);
        return;
    }
    SYSTEMTIME st{};
    st.wYear = 1899;
    st.wMonth = 12;
    st.wDay = 30;
    st.wHour = static_cast<WORD>((seconds % 86400) / 3600);
    st.wMinute = static_cast<WORD>((seconds % 3600) / 60);
    st.wSecond = static_cast<WORD>(seconds % 60);
    DATE value = 0;
    SYSTEMTIME back{};
    bool ok = SystemTimeToVariantTime(&st, &value) && VariantTimeToSystemTime(value, &back) &&
              back.wHour == st.wHour && back.wMinute == st.wMinute && back.wSecond == st.wSecond;
    m_durationTime.m_dt = value;
    m_durationTime.SetStatus(ok ? COleDateTime::valid : COleDateTime::invalid);
}

void CLumRssItemConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RSS_ITEM_COMMENTS, m_strComments);
    DDX_Text(pDX, IDC_RSS_ITEM_SUBTITLE, m_strSubtitle);
    DDX_Text(pDX, IDC_RSS_ITEM_ARTIST, m_strArtist);
    DDX_Text(pDX, IDC_RSS_ITEM_KEYWORDS, m_strKeywords);
    DDX_Check(pDX, IDC_RSS_ITEM_PRIVATE, m_bPrivate);
    DDX_DateTimeCtrl(pDX, IDC_RSS_ITEM_DURATION, m_durationTime);
    DDX_Text(pDX, IDC_RSS_ITEM_TITLE, m_strTitle);
    DDX_Text(pDX, IDC_RSS_ITEM_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_RSS_ITEM_LINK, m_strLink);
    DDX_DateTimeCtrl(pDX, IDC_RSS_ITEM_DATE, m_date);
    DDX_DateTimeCtrl(pDX, IDC_RSS_ITEM_TIME, m_time);
    DDX_Text(pDX, IDC_RSS_ITEM_AUTHOR, m_strAuthor);
    DDX_Control(pDX, IDC_RSS_ITEM_CATEGORIES, m_categoryList);
    DDX_Text(pDX, IDC_RSS_ITEM_MEDIA_FILE, m_strMediaFile);
}

BOOL CLumRssItemConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    refreshCategoryList();
    updateControls();
    updateDeleteButton();
    return FALSE;
}

void CLumRssItemConfigDlg::enable(int id, bool on) {
    if (CWnd* control = GetDlgItem(id)) {
        control->EnableWindow(on ? TRUE : FALSE);
    }
}

void CLumRssItemConfigDlg::updateControls() {
    // Codes other than these three get the RSS 2.0 rules.
    bool rss10 = m_nFormat == newsdesk::kFormatRss10;
    bool podcast = m_nFormat == newsdesk::kFormatPodcast;
    bool rss20 = !rss10 && !podcast;
    for (int id : {IDC_RSS_ITEM_LINK, IDC_RSS_ITEM_AUTHOR}) {
        enable(id, !podcast);
    }
    for (int id : {IDC_RSS_ITEM_CATEGORIES, IDC_RSS_ADD, IDC_RSS_ITEM_DELETE_CATEGORY}) {
        enable(id, rss20);
    }
    for (int id : {IDC_RSS_ITEM_MEDIA_FILE, IDC_RSS_ITEM_BROWSE_MEDIA, IDC_RSS_ITEM_COMMENTS}) {
        enable(id, !rss10);
    }
    for (int id : {IDC_RSS_ITEM_SUBTITLE, IDC_RSS_ITEM_ARTIST, IDC_RSS_ITEM_KEYWORDS,
                   IDC_RSS_ITEM_DURATION, IDC_RSS_ITEM_PRIVATE}) {
        enable(id, podcast);
    }
}

void CLumRssItemConfigDlg::updateDeleteButton() {
    enable(IDC_RSS_ITEM_DELETE_CATEGORY, m_categoryList.GetSelCount() > 0);
}

void CLumRssItemConfigDlg::refreshCategoryList() {
    m_categoryList.ResetContent();
    for (size_t i = 0; i < m_categories.size(); ++i) {
        int at = m_categoryList.AddString(m_categories[i].m_category.GetString());
        m_categoryList.SetItemData(at, static_cast<DWORD_PTR>(i));
    }
    updateDeleteButton();
}

void CLumRssItemConfigDlg::OnCategorySelChange() {
    updateDeleteButton();
}

void CLumRssItemConfigDlg::OnAddCategory() {
    CLumRssCategoryDlg dlg(m_categories, this);
    if (dlg.DoModal() == IDOK) {
        refreshCategoryList();
    }
}

void CLumRssItemConfigDlg::OnDeleteCategory() {
    newsdesk::editor::deleteSelectedCategories(m_categoryList, m_categories);
    refreshCategoryList();
}

void CLumRssItemConfigDlg::OnOK() {
    UpdateData(TRUE);
    if (m_nFormat == newsdesk::kFormatRss10 || m_nFormat == newsdesk::kFormatRss20) {
        if (m_strTitle.IsEmpty() || m_strLink.IsEmpty() || m_strDescription.IsEmpty()) {
            lum::afxMessageBox(IDS_RSS_ITEM_REQUIRED, MB_OK);
            return;
        }
    } else if (m_nFormat == newsdesk::kFormatPodcast) {
        if (m_strTitle.IsEmpty() || m_strDescription.IsEmpty()) {
            lum::afxMessageBox(IDS_RSS_ITUNES_ITEM_REQUIRED, MB_OK);
            return;
        }
    }
    EndDialog(IDOK);
}

void CLumRssItemConfigDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
