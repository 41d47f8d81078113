#include "feed/RewriteFeedLinks.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/site/CRssUrlManipulator.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"

namespace newsdesk {

namespace {

// The site a feed's links follow (null: none), held while the feed is
// written.
class FeedSite {
  public:
    explicit FeedSite(const CString& fileUrl) {
        CLumAppEngineer* app = CLumAppEngineer::getInstance();
        if (app != nullptr) {
            m_site = app->getMySiteIF(fileUrl, nullptr);
            if (m_site == nullptr) {
                m_site = app->getOutStandingSiteIF(nullptr);
            }
        }
        m_outSite = OutSMgr::findOutSite();
        if (m_site == nullptr) {
            m_site = m_outSite;
        }
    }
    ~FeedSite() {
        if (m_outSite != nullptr) {
            m_outSite->release();
        }
        if (m_site != nullptr && m_site != m_outSite) {
            m_site->release();
        }
    }
    FeedSite(const FeedSite&) = delete;
    FeedSite& operator=(const FeedSite&) = delete;

    SiteIF* site() const { return m_site; }
    SiteIF* outSite() const { return m_outSite; }

  private:
    SiteIF* m_site = nullptr;
    SiteIF* m_outSite = nullptr;
};

}  // namespace

bool rewritesFeedLinks(const CString& path) {
    CString fileUrl = cat_file_colon(conv_std_path(path));
    FeedSite site(fileUrl);
    return SIFUtil::takesResources(site.site(), fileUrl);
}

void rewriteFeedLinks(const CString& path, CLumRssAbstract& document, int format) {
    CString fileUrl = cat_file_colon(conv_std_path(path));
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    CLumUrlManSiteAdapter adapter;
    CRssUrlManipulator manipulator(&adapter, fileUrl, CString(),
                                   document.Document ? document.Document->raw() : nullptr,
                                   info.siteUrl, info.rootFolder, format, 0, false);
    FeedSite feedSite(fileUrl);
    SiteIF* site = feedSite.site();
    SiteIF* outSite = feedSite.outSite();

    // A feed outside every site has no links to follow: its addresses are
    // not gathered only to be dropped.
    if (SIFUtil::takesResources(site, fileUrl)) {
        URL_ITEM_LIST items;
        manipulator.enumNodeUrls(site, nullptr);
        manipulator.GetSaveListMember(site, items, fileUrl, true);
        if (SIFUtil::addResources(site, outSite, fileUrl, 0, items, 0, nullptr) != 0) {
            manipulator.SetSaveListMember(items);
            manipulator.ConvertAllUrl(site, fileUrl, false);
            manipulator.UpdateUrls(site, fileUrl, false);
        }
        for (URL_ITEM* item : items) {
            delete item;
        }
    }
}

}  // namespace newsdesk
