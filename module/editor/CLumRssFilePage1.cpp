#include "editor/CLumRssFilePage1.h"

#include "editor/CLumRssCategoryDlg.h"
#include "editor/CLumRssFileSheet.h"
#include "editor/CLumRssItunesCategoryDlg.h"
#include "editor/CategoryEdits.h"
#include "editor/EditorHelp.h"
#include "feed/FeedReaders.h"
#include "feed/PrepareImage.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/FileDialogs.h"
#include "hostapp/ui/LumMessageBox.h"
#include "hostapp/urls/UrlUtil.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"

namespace {
// The host's file kind for pictures.
constexpr int kPictureFiles = 2;
// Podcast feeds take at most this many categories.
constexpr int kMostItunesCategories = 3;
}  // namespace

CLumRssFilePage1::CLumRssFilePage1(const CRSSChannel* channel) : CPropertyPage(IDD_RSS_FILE_PAGE1) {
    loadFromChannel(channel);
}

CLumRssFilePage1::~CLumRssFilePage1() = default;

BEGIN_MESSAGE_MAP(CLumRssFilePage1, CPropertyPage)
ON_BN_CLICKED(IDC_RSS_ADD, &CLumRssFilePage1::OnAddCategory)
ON_BN_CLICKED(IDC_RSS_CHANNEL_DELETE_CATEGORY, &CLumRssFilePage1::OnDeleteCategory)
ON_BN_CLICKED(IDC_RSS_CHANNEL_BROWSE_IMAGE, &CLumRssFilePage1::OnBrowseImage)
ON_LBN_SELCHANGE(IDC_RSS_CHANNEL_CATEGORIES, &CLumRssFilePage1::OnCategorySelChange)
END_MESSAGE_MAP()

void CLumRssFilePage1::loadFromChannel(const CRSSChannel* channel) {
    if (channel == nullptr) {
        m_strTitle.Empty();
        m_strDescription.Empty();
        m_strLink.Empty();
        m_strCopyright.Empty();
        m_strImage.Empty();
        m_strOwnerName.Empty();
        m_strOwnerEmail.Empty();
        m_strSubtitle.Empty();
        m_strArtist.Empty();
        m_nFormat = 0;
        m_bPrivate = 0;
        return;
    }
    m_strTitle = channel->m_title;
    m_strDescription = channel->m_description;
    m_strLink = channel->m_link;
    m_strCopyright = channel->m_copyright;
    m_categories = channel->getCategory();
    m_strImage = channel->m_image;
    m_nFormat = channel->m_format;
    m_strOwnerName = channel->m_ownerName;
    m_strOwnerEmail = channel->m_ownerEmail;
    m_strSubtitle = channel->m_subTitle;
    m_strArtist = channel->m_author;
    m_bPrivate = channel->m_block ? 1 : 0;
}

void CLumRssFilePage1::saveToChannel(CRSSChannel* channel) const {
    if (channel == nullptr) {
        return;
    }
    channel->m_title = m_strTitle;
    channel->m_description = m_strDescription;
    channel->m_link = m_strLink;
    channel->m_copyright = m_strCopyright;
    channel->setCategory(m_categories);
    channel->m_image = m_strImage;
    channel->m_ownerName = m_strOwnerName;
    channel->m_ownerEmail = m_strOwnerEmail;
    channel->m_subTitle = m_strSubtitle;
    channel->m_author = m_strArtist;
    channel->m_block = m_bPrivate != 0;
}

void CLumRssFilePage1::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_RSS_CHANNEL_PRIVATE, m_bPrivate);
    DDX_Text(pDX, IDC_RSS_CHANNEL_TITLE, m_strTitle);
    DDX_Text(pDX, IDC_RSS_CHANNEL_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_RSS_CHANNEL_LINK, m_strLink);
    DDX_Control(pDX, IDC_RSS_CHANNEL_CATEGORIES, m_categoryList);
    DDX_Text(pDX, IDC_RSS_CHANNEL_IMAGE, m_strImage);
    DDX_Text(pDX, IDC_RSS_OWNER_NAME, m_strOwnerName);
    DDX_Text(pDX, IDC_RSS_OWNER_EMAIL, m_strOwnerEmail);
    DDX_Text(pDX, IDC_RSS_CHANNEL_SUBTITLE, m_strSubtitle);
    DDX_Text(pDX, IDC_RSS_CHANNEL_ARTIST, m_strArtist);
    DDX_Text(pDX, IDC_RSS_CHANNEL_COPYRIGHT, m_strCopyright);
}

BOOL CLumRssFilePage1::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    updateControls(m_nFormat);
    refreshCategoryList();
    return TRUE;
}

void CLumRssFilePage1::setFormat(int format) {
    m_nFormat = format;
    updateControls(format);
}

void CLumRssFilePage1::enable(int id, bool on) {
    if (CWnd* control = GetDlgItem(id)) {
        control->EnableWindow(on ? TRUE : FALSE);
    }
}

void CLumRssFilePage1::updateControls(int format) {
    if (m_hWnd == nullptr) {
        return;
    }
    bool podcast = format == newsdesk::kFormatPodcast;
    enable(IDC_RSS_OWNER_NAME, podcast);
    enable(IDC_RSS_OWNER_EMAIL, podcast);
    enable(IDC_RSS_CHANNEL_ARTIST, podcast);
    enable(IDC_RSS_CHANNEL_SUBTITLE, podcast);
    enable(IDC_RSS_CHANNEL_PRIVATE, podcast);
    bool categories = format != newsdesk::kFormatRss10;
    enable(IDC_RSS_CHANNEL_CATEGORIES, categories);
    enable(IDC_RSS_ADD, categories);
    updateDeleteButton();
}

void CLumRssFilePage1::updateDeleteButton() {
    if (m_hWnd == nullptr) {
        return;
    }
    enable(IDC_RSS_CHANNEL_DELETE_CATEGORY,
           m_nFormat != newsdesk::kFormatRss10 && m_categoryList.GetSelCount() > 0);
}

void CLumRssFilePage1::OnCategorySelChange() {
    updateDeleteButton();
}

void CLumRssFilePage1::refreshCategoryList() {
    m_categoryList.ResetContent();
    CString format;
    if (m_nFormat == newsdesk::kFormatPodcast) {
        format.LoadString(IDS_RSS_CATEGORY_WITH_SUB);
    }
    for (size_t i = 0; i < m_categories.size(); ++i) {
        const CRSSCategory& category = m_categories[i];
        CString row;
        if (m_nFormat != newsdesk::kFormatPodcast) {
            row = category.m_category;
        } else if (category.m_subCategory.IsEmpty()) {
            row = lookupCategoryLabel(category.m_category);
        } else {
            row.Format(format.GetString(), lookupCategoryLabel(category.m_category),
                       lookupCategoryLabel(category.m_subCategory));
        }
        int at = m_categoryList.AddString(row.GetString());
        m_categoryList.SetItemData(at, static_cast<DWORD_PTR>(i));
    }
}

CString CLumRssFilePage1::lookupCategoryLabel(const CString& name) {
    if (!m_pCategoryXml) {
        m_pCategoryXml = newsdesk::editor::loadItunesCategoryList();
        if (!m_pCategoryXml) {
            return name;
        }
    }
    NodeArray top;
    m_pCategoryXml->getCategoryNodeArray(m_pCategoryXml->getTopNode(), top);
    CString text;
    for (const Node& node : top) {
        if (m_pCategoryXml->getCategoryName(node, text) && text == name) {
            m_pCategoryXml->getCategoryLabel(node, text);
            return text;
        }
        NodeArray children;
        m_pCategoryXml->getCategoryNodeArray(node, children);
        for (const Node& child : children) {
            if (m_pCategoryXml->getCategoryName(child, text) && text == name) {
                m_pCategoryXml->getCategoryLabel(child, text);
                return text;
            }
        }
    }
    return name;
}

void CLumRssFilePage1::OnAddCategory() {
    if (m_nFormat == newsdesk::kFormatPodcast) {
        if (m_categoryList.GetCount() >= kMostItunesCategories) {
            lum::afxMessageBox(IDS_RSS_ITUNES_CATEGORY_LIMIT, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        CLumRssItunesCategoryDlg dlg(m_categories, this);
        dlg.DoModal();
    } else if (m_nFormat == newsdesk::kFormatRss20) {
        CLumRssCategoryDlg dlg(m_categories, this);
        dlg.DoModal();
    }
    refreshCategoryList();
}

void CLumRssFilePage1::OnDeleteCategory() {
    newsdesk::editor::deleteSelectedCategories(m_categoryList, m_categories);
    refreshCategoryList();
}

void CLumRssFilePage1::OnBrowseImage() {
    UpdateData(TRUE);
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    CString path = CLumOpenFileDialog::GetOpenFile(kPictureFiles, site, CString(), this);
    if (!path.IsEmpty()) {
        conv_std_path(path);
        CString reference = cat_file_colon(path);
        CString prepared;
        if (pixImage* image = newsdesk::prepareImage(reference, prepared)) {
            delete image;
            m_strImage = prepared;
        } else {
            m_strImage = reference;
        }
    }
    UpdateData(FALSE);
    if (site != nullptr) {
        site->release();
    }
}

bool CLumRssFilePage1::checkRequiredFields() {
    UpdateData(TRUE);
    int empty = 0;
    if (m_strTitle.IsEmpty()) {
        empty = IDC_RSS_CHANNEL_TITLE;
    } else if (m_strDescription.IsEmpty()) {
        empty = IDC_RSS_CHANNEL_DESCRIPTION;
    } else if (m_strLink.IsEmpty()) {
        empty = IDC_RSS_CHANNEL_LINK;
    } else {
        return false;
    }
    auto* sheet = dynamic_cast<CLumRssFileSheet*>(GetParent());
    if (sheet != nullptr && sheet->GetActivePage() != this) {
        sheet->SetActivePage(this);
    }
    if (CWnd* control = GetDlgItem(empty)) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
    }
    return true;
}

void CLumRssFilePage1::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CPropertyPage::WinHelp(dwData, nCmd);
    }
}
