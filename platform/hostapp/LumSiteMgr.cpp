#include "hostapp/LumSiteMgr.h"

#include "hostapp/PathUtil.h"
#include "hostapp/SiteDefinition.h"
#include "hostapp/UrlUtil.h"

#include <optional>

namespace {

std::optional<SITE_INFO>& openSiteInfo() {
    static std::optional<SITE_INFO> info;
    return info;
}

}  // namespace

bool LumSiteMgr::openSite(const CString& folder, std::string& error) {
    auto definition = readSiteDefinition(folder, error);
    if (!definition) {
        return false;
    }
    openSiteInfo() =
        SITE_INFO{definition->name, definition->folder, definition->url, definition->topPage};
    return true;
}

void LumSiteMgr::closeSite() {
    openSiteInfo().reset();
}

bool LumSiteMgr::isSiteOpened() {
    return openSiteInfo().has_value();
}

bool LumSiteMgr::getCurrentSiteInfo(SITE_INFO& info) {
    if (!openSiteInfo()) {
        return false;
    }
    info = *openSiteInfo();
    return true;
}

SiteIF* LumSiteMgr::getOutStandingSiteIF() {
    return openSiteInfo() ? lum::newSiteIF(*openSiteInfo(), false) : nullptr;
}

CString LumSiteMgr::getMySiteUrl(SiteIF* site, const CString& path) {
    if (site == nullptr || site->isOutSite()) {
        return CString();
    }
    const SITE_INFO& info = site->getSiteInfo();
    CString local = conv_std_path(path);
    if (info.rootFolder.IsEmpty() || !isDrivePath(local) || !under_root_p(local, info.rootFolder)) {
        return CString();
    }
    // The path may spell the drive letter in the other case; the root's
    // length is the same either way.
    CString rest = local.GetLength() > info.rootFolder.GetLength()
                       ? local.Mid(info.rootFolder.GetLength())
                       : CString();
    return info.siteUrl + encodeUrlPath(rest);
}

CString LumSiteMgr::getCurrentSiteTopUrl() {
    return openSiteInfo() ? openSiteInfo()->siteUrl + encodeUrlPath(openSiteInfo()->topPage)
                          : CString();
}

SiteIF* OutSMgr::findOutSite() {
    return lum::newSiteIF(SITE_INFO{}, true);
}
