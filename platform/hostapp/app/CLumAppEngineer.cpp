#include "hostapp/app/CLumAppEngineer.h"

#include "hostapp/app/CLumFileService.h"
#include "hostapp/site/CLumFileOperation.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/HostArtIds.h"
#include "win32/Gdi.h"
#include "win32/Loader.h"

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

CLumFileOperation* CLumAppEngineer::getFileOperation() {
    static CLumFileOperation operation;
    return &operation;
}

bool CLumAppEngineer::isAllDocumentSaved(bool) {
    return m_modifiedDocuments.empty();
}

void CLumAppEngineer::setDocumentModified(const void* document, bool modified) {
    if (modified) {
        m_modifiedDocuments.insert(document);
    } else {
        m_modifiedDocuments.erase(document);
    }
}

HICON CLumAppEngineer::getAppIcon() {
    if (m_appIcon == nullptr) {
        m_appIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LUM_APP));
    }
    return m_appIcon;
}
