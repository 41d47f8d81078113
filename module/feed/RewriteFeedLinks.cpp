#include "feed/RewriteFeedLinks.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/site/CRssUrlManipulator.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"

namespace newsdesk {

void rewriteFeedLinks(const CString& path, CLumRssAbstract& document, int format) {
    CString fileUrl = cat_file_colon(conv_std_path(path));
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    CLumUrlManSiteAdapter adapter;
    CRssUrlManipulator manipulator(&adapter, fileUrl, CString(),
                                   document.Document ? document.Document->raw() : nullptr,
                                   info.siteUrl, info.rootFolder, format, 0, false);

    SiteIF* site = nullptr;
    CLumAppEngineer* app = CLumAppEngineer::getInstance();
    if (app != nullptr) {
        site = app->getMySiteIF(fileUrl, nullptr);
        if (site == nullptr) {
            site = app->getOutStandingSiteIF(nullptr);
        }
    }
    SiteIF* outSite = OutSMgr::findOutSite();
    if (site == nullptr) {
        site = outSite;
    }

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
    if (outSite != nullptr) {
        outSite->release();
    }
    if (site != nullptr && site != outSite) {
        site->release();
    }
}

}  // namespace newsdesk
