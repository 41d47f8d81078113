#include "hostapp/site/CLumUrlManSiteAdapter.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/UrlUtil.h"

bool CLumUrlManSiteAdapter::inSite(const CString& path) {
    SITE_INFO info;
    CString local = conv_std_path(path);
    return LumSiteMgr::getCurrentSiteInfo(info) && isDrivePath(local) &&
           under_root_p(local, info.rootFolder) != 0;
}

bool CLumUrlManSiteAdapter::outSite(const CString& path) {
    return !inSite(path);
}

bool CLumUrlManSiteAdapter::isSiteOpened() {
    return LumSiteMgr::isSiteOpened();
}
