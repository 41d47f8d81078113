#include "hostapp/site/LumSiteStaff.h"

#include "hostapp/site/CLumSiteDocBaseCore.h"
#include "hostapp/site/LumSiteMgr.h"

CLumSiteDocBaseCore* LumSiteStaff::getSiteDocBase(const CString*, void*) {
    SiteMgr50* siteMgr = LumSiteMgr::getSiteMgr();
    return siteMgr ? new CLumSiteDocBaseCore(siteMgr) : nullptr;
}
