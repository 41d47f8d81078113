#include "feed/MakeRssLinkUrl.h"

#include "hostapp/pages/PageEditIF.h"
#include "hostapp/site/CLumUrlManSiteAdapter.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/Url.h"
#include "hostapp/urls/UrlUtil.h"

namespace newsdesk {

namespace {

// The form of the feed from the site's root: a path from the root when the
// feed lies in the site, else the feed itself without its query.
CString siteForm(const CString& target, const CString& fromRoot, const CString& siteBase) {
    if (siteBase.IsEmpty() && is_docroot_path(target)) {
        return Url(target).get_url_woparams();
    }
    if (!fromRoot.IsEmpty() && fromRoot.GetAt(0) == u'/') {
        return fromRoot;
    }
    CString path = Url(target).get_element(Url::kPath);
    conv_pc_path(path);
    CLumUrlManSiteAdapter adapter;
    return adapter.inSite(path) ? fromRoot : Url(target).get_url_woparams();
}

// The published address of the site's root folder, under which a path from
// the root is joined. The site top names the top page, not its folder.
CString siteRootUrl(const CString& siteBase) {
    if (!siteBase.IsEmpty()) {
        return siteBase;
    }
    SITE_INFO info;
    return LumSiteMgr::getCurrentSiteInfo(info) ? info.siteUrl : CString();
}

}  // namespace

void makeRssLinkUrl(PageEditIF* page, const CString& target, CString& out) {
    if (page == nullptr) {
        return;
    }
    SiteIF* convSite = page->getConvSiteIF();
    if (convSite == nullptr) {
        return;
    }
    CString location = page->getPageLocation();
    CString address = page->getPageAddress();
    CString siteBase = convSite->getSiteBaseText(0);

    CString fromRoot = SIFUtil::getRelUrl(convSite, u"/dummy", target, location, address, siteBase);
    CString form = siteForm(target, fromRoot, siteBase);
    CString relative =
        SIFUtil::getRelUrl(convSite, u"./dummy", target, location, address, siteBase);
    CString converted =
        SIFUtil::convUrl(convSite, target, target, location, address, siteBase, nullptr);
    CString siteTop = LumSiteMgr::isSiteOpened() ? LumSiteMgr::getCurrentSiteTopUrl() : CString();

    // A path from the site's root is published under the site's root (the
    // site top names the top page, not the folder). A web address, or a file
    // outside the site, is referred to by the rules below: an address as it
    // is, query included, and a file relatively.
    if (!target.IsEmpty() && !siteTop.IsEmpty() && is_docroot_path(form)) {
        CString root = siteRootUrl(siteBase);
        if (!root.IsEmpty()) {
            out = concat_path(root, form);
            return;
        }
    }
    // A drive path names a file as a file URL does; its letter is no scheme.
    CString scheme = Url(target).get_element(Url::kScheme);
    if (scheme.IsEmpty() && !isDrivePath(target)) {
        out = relative;
    } else if (isfilescheme(target) || isDrivePath(target)) {
        out = relative.IsEmpty() ? converted : relative;
    } else {
        out = converted;
    }
}

}  // namespace newsdesk
