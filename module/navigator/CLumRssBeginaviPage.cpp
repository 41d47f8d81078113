#include "navigator/CLumRssBeginaviPage.h"

#include "editor/EditorHelp.h"
#include "host/CLumInstance.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/records/FunctionTable.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/FileDialogs.h"
#include "res/ResourceIds.h"
#include "win32/HtmlHelp.h"

namespace {

// The application's function that opens a feed for editing (a new one for
// an empty path).
constexpr int kOpenRssFileFunction = 40153;
constexpr int kRssFileKind = 23;
constexpr int kHelpFolder = 17;
const char16_t kLinkHelpTopic[] = u"lumpage/prc/proc_top_dia_insert_rss_link.htm";
const char16_t kPodcastHelpTopic[] = u"lumpage/prc/proc_create_podcast.htm";
const char16_t kFeatureWord[] = u"Rss";
constexpr COLORREF kIconMask = RGB(0xC0, 0xC0, 0xC0);
constexpr int kIconSide = 32;

// The explanations in index order; the list ends with 0.
constexpr UINT kExplanationIds[] = {IDS_RSS_NAVI_HINT,         IDS_RSS_NAVI_NEW,
                                    IDS_RSS_NAVI_OPEN,         IDS_RSS_NAVI_LINK_HELP,
                                    IDS_RSS_NAVI_PODCAST_HELP, 0};

void openForEditing(CWnd* parent, const CString& path) {
    CLumDllFunctionEngineer* engineer = CLumDllFunctionEngineer::getInstance();
    if (engineer == nullptr) {
        return;
    }
    auto edit =
        reinterpret_cast<lum::EditRssFileEntryFn>(engineer->GetFunctionAddr(kOpenRssFileFunction));
    if (edit == nullptr) {
        return;
    }
    CString target = path;
    // The function writes the address of its dialog here while it runs: a
    // slot of a pointer's width, whatever the build.
    CLumRssFileConfigDlg* dialog = nullptr;
    (void)edit(parent, target, true, &dialog);
}

void showHelpTopic(const char16_t* topic) {
    CString file = CKmxCommon::getProductFolder(kHelpFolder, 0);
    file += CKmxCommon::getHelpFileNameLumpage();
    HtmlHelpW(nullptr, file.GetString(), HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>(topic));
    HtmlHelpW(nullptr, file.GetString(), HH_DISPLAY_TOC, 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CLumRssBeginaviPage, CLumRssNaviDlgBase)
ON_WM_HELPINFO()
ON_BN_CLICKED(IDC_RSS_NAVI_NEW, &CLumRssBeginaviPage::OnNewFile)
ON_BN_CLICKED(IDC_RSS_NAVI_OPEN, &CLumRssBeginaviPage::OnOpenFile)
ON_BN_CLICKED(IDC_RSS_NAVI_LINK_HELP, &CLumRssBeginaviPage::OnLinkHelp)
ON_BN_CLICKED(IDC_RSS_NAVI_PODCAST_HELP, &CLumRssBeginaviPage::OnPodcastHelp)
END_MESSAGE_MAP()

CLumRssBeginaviPage::CLumRssBeginaviPage(UINT nIDTemplate, CWnd* pParent, HICON icon)
    : CLumRssNaviDlgBase(nIDTemplate, pParent, false), m_hIcon(icon) {}

BOOL CLumRssBeginaviPage::OnInitDialog() {
    CLumRssNaviDlgBase::OnInitDialog();
    HICON icon = m_hIcon;
    if (icon == nullptr) {
        if (CLumAppEngineer* app = CLumAppEngineer::getInstance()) {
            icon = app->getAppIcon();
        }
    }
    if (icon != nullptr) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    markInstance(reinterpret_cast<HANDLE>(1));
    return TRUE;
}

void CLumRssBeginaviPage::markInstance(HANDLE value) {
    CLumInstance instance;
    instance.setInstanceProp(m_hWnd, instance.makeInstanceName(kFeatureWord), value);
}

void CLumRssBeginaviPage::OnOK() {
    markInstance(nullptr);
    CLumRssNaviDlgBase::OnOK();
}

void CLumRssBeginaviPage::OnCancel() {
    markInstance(nullptr);
    CLumRssNaviDlgBase::OnCancel();
}

void CLumRssBeginaviPage::initNaviData() {
    CImageList& icons = m_style.m_imageList;
    if (icons.Create(kIconSide, kIconSide, ILC_COLORDDB | ILC_MASK, 0, 4)) {
        CBitmap strip;
        if (strip.LoadBitmap(IDB_RSS_NAVI_ICONS)) {
            icons.Add(&strip, kIconMask);
        }
    }
    for (int index = 0; kExplanationIds[index] != 0; ++index) {
        auto explanation = std::make_unique<NaviExplanation>();
        explanation->m_text.LoadString(kExplanationIds[index]);
        m_explanations[index] = std::move(explanation);
    }
    m_buttonIndex[IDC_RSS_NAVI_NEW] = 1;
    m_buttonIndex[IDC_RSS_NAVI_OPEN] = 2;
    m_buttonIndex[IDC_RSS_NAVI_LINK_HELP] = 3;
    m_buttonIndex[IDC_RSS_NAVI_PODCAST_HELP] = 4;
}

bool CLumRssBeginaviPage::isNaviButton(int id) const {
    if (id >= IDC_RSS_NAVI_NEW && id <= IDC_RSS_NAVI_PODCAST_HELP) {
        return true;
    }
    return CLumRssNaviDlgBase::isNaviButton(id);
}

void CLumRssBeginaviPage::OnNewFile() {
    openForEditing(this, CString());
}

void CLumRssBeginaviPage::OnOpenFile() {
    SiteIF* site = OutSMgr::findOutSite();
    CString path = CLumOpenFileDialog::GetOpenFile(kRssFileKind, site, CString(), this);
    if (site != nullptr) {
        site->release();
    }
    if (!path.IsEmpty()) {
        openForEditing(this, path);
    }
}

void CLumRssBeginaviPage::OnLinkHelp() {
    showHelpTopic(kLinkHelpTopic);
}

void CLumRssBeginaviPage::OnPodcastHelp() {
    showHelpTopic(kPodcastHelpTopic);
}

BOOL CLumRssBeginaviPage::OnHelpInfo(HELPINFO*) {
    return FALSE;
}

void CLumRssBeginaviPage::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
