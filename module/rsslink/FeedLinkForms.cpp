#include "rsslink/FeedLinkForms.h"

#include "feed/MakeRssLinkUrl.h"
#include "hostapp/app/COptionEngineer.h"
#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageEditIF.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"

namespace newsdesk::rsslink {

FeedLinkForms feedLinkForms(PageEditIF& page, const CString& reference) {
    FeedLinkForms forms;
    makeRssLinkUrl(&page, reference, forms.feedUrl);
    SiteIF* site = page.getSiteIF();
    forms.relative = SIFUtil::getRelUrl(site, u"dummy", forms.feedUrl, page.getPageLocation(),
                                        CString(), CString(), 0, nullptr);
    COptionEngineer* options = COptionEngineer::getInstance();
    if (options != nullptr && (options->getFlags() & lum::kOptionSiteFormInAutoDiscovery) != 0 &&
        LumSiteMgr::isSiteOpened()) {
        forms.siteUrl = LumSiteMgr::getMySiteUrl(site, forms.feedUrl);
    }
    return forms;
}

bool pageHasFeedLink(PageEditIF& page, const CString& reference) {
    DomUtil* dom = page.getDomUtil();
    if (dom == nullptr) {
        return false;
    }
    FeedLinkForms forms = feedLinkForms(page, reference);
    return dom->hasRssLink(forms.feedUrl, forms.relative, forms.siteUrl, Node());
}

CString pageReference(PageEditIF& page, const CString& reference) {
    if (reference.IsEmpty()) {
        return reference;
    }
    SiteIF* site = page.getSiteIF();
    CString location = page.getPageLocation();
    CString address = page.getPageAddress();
    CString siteBase = site != nullptr ? site->getSiteBaseText(0) : CString();
    CString relative =
        SIFUtil::getRelUrl(site, u"dummy", reference, location, address, siteBase, 0, nullptr);
    if (!relative.IsEmpty()) {
        return relative;
    }
    CString absolute =
        SIFUtil::convUrl(site, reference, reference, location, address, siteBase, nullptr);
    return absolute.IsEmpty() ? reference : absolute;
}

}  // namespace newsdesk::rsslink
