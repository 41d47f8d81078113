#include "rsslink/FeedLinkForms.h"

#include "feed/MakeRssLinkUrl.h"
#include "hostapp/app/COptionEngineer.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageAddress.h"
#include "hostapp/pages/PageEditIF.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"

namespace newsdesk::rsslink {

namespace {

bool inSite(PageEditIF& page) {
    SiteIF* site = page.getSiteIF();
    return site != nullptr && !site->isOutSite();
}

bool isRootRelative(const CString& reference) {
    return reference.Left(1) == u"/" && reference.Left(2) != u"//";
}

// A reference to a file of this machine as its file and what is asked of
// it ("?v=1#top"), which the path conversions would drop.
struct Target {
    CString file;
    CString asked;
};

Target targetOf(PageEditIF& page, const CString& reference) {
    Target target{reference, CString()};
    // "/..." starts at the site's root, as the published site reads it.
    if (isRootRelative(reference) && inSite(page)) {
        if (COrvHTMLDocUtil* doc = page.getDocUtil()) {
            target.file = doc->getFullPath(reference);
        }
    }
    // The URL functions take URLs: a name typed with spaces or characters
    // outside ASCII is encoded as a browser encodes it.
    if (!isDrivePath(target.file)) {
        target.file = CString::fromUtf8(lum::page::PageAddress::escaped(target.file.toUtf8()));
    }
    int cut = target.file.FindOneOf(u"?#");
    if (cut >= 0 && isfilescheme(target.file)) {
        target.asked = target.file.Mid(cut);
        target.file = target.file.Left(cut);
    }
    return target;
}

CString withAsked(const CString& url, const CString& asked) {
    return url.IsEmpty() ? url : url + asked;
}

}  // namespace

FeedLinkForms feedLinkForms(PageEditIF& page, const CString& typed) {
    FeedLinkForms forms;
    Target target = targetOf(page, typed);
    const CString& reference = target.file;
    makeRssLinkUrl(&page, reference, forms.feedUrl);
    SiteIF* site = page.getSiteIF();
    forms.relative = SIFUtil::getRelUrl(site, u"dummy", forms.feedUrl, page.getPageLocation(),
                                        CString(), CString(), 0, nullptr);
    COptionEngineer* options = COptionEngineer::getInstance();
    if (options != nullptr && (options->getFlags() & lum::kOptionSiteFormInAutoDiscovery) != 0 &&
        LumSiteMgr::isSiteOpened()) {
        forms.siteUrl = LumSiteMgr::getMySiteUrl(site, forms.feedUrl);
    }
    forms.feedUrl = withAsked(forms.feedUrl, target.asked);
    forms.relative = withAsked(forms.relative, target.asked);
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

CString pageReference(PageEditIF& page, const CString& typed) {
    // Outside a site nothing says where "/" is: such a reference stays as
    // it was typed.
    if (typed.IsEmpty() || (isRootRelative(typed) && !inSite(page))) {
        return typed;
    }
    Target target = targetOf(page, typed);
    const CString& reference = target.file;
    SiteIF* site = page.getSiteIF();
    CString location = page.getPageLocation();
    CString address = page.getPageAddress();
    CString siteBase = site != nullptr ? site->getSiteBaseText(0) : CString();
    CString relative =
        SIFUtil::getRelUrl(site, u"dummy", reference, location, address, siteBase, 0, nullptr);
    if (!relative.IsEmpty()) {
        return relative + target.asked;
    }
    CString absolute =
        SIFUtil::convUrl(site, reference, reference, location, address, siteBase, nullptr);
    return (absolute.IsEmpty() ? reference : absolute) + target.asked;
}

}  // namespace newsdesk::rsslink
