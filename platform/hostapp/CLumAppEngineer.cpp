#include "hostapp/CLumAppEngineer.h"

#include "hostapp/CLumFileService.h"
#include "hostapp/LumSiteMgr.h"

CLumAppEngineer* CLumAppEngineer::getInstance() {
    static CLumAppEngineer application;
    return &application;
}

SiteIF* CLumAppEngineer::getMySiteIF(const CString& url, CWnd*) {
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    if (site != nullptr && LumSiteMgr::getMySiteUrl(site, url).IsEmpty()) {
        site->release();
        site = nullptr;
    }
    return site;
}

SiteIF* CLumAppEngineer::getOutStandingSiteIF(CWnd*) {
    return LumSiteMgr::getOutStandingSiteIF();
}

CLumFileService* CLumAppEngineer::createFileService() {
    return new CLumFileService;
}
