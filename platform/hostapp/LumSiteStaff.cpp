#include "hostapp/LumSiteStaff.h"

#include "hostapp/CLumSiteDocBaseCore.h"
#include "hostapp/LumSiteMgr.h"

CLumSiteDocBaseCore* LumSiteStaff::getSiteDocBase(const CString*, void*) {
    SiteMgr50* siteMgr = LumSiteMgr::getSiteMgr();
    return siteMgr ? new CLumSiteDocBaseCore(siteMgr) : nullptr;
}
