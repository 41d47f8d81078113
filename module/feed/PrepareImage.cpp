#include "feed/PrepareImage.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/site/CLumElemFunc.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"

namespace newsdesk {

pixImage* prepareImage(const CString& location, CString& out) {
    SiteIF* site = nullptr;
    CLumAppEngineer* app = CLumAppEngineer::getInstance();
    if (app != nullptr) {
        site = app->getMySiteIF(location, nullptr);
        if (site == nullptr) {
            site = app->getOutStandingSiteIF(nullptr);
        }
    }
    if (site == nullptr) {
        site = OutSMgr::findOutSite();
    }
    CString normalized = SIFUtil::normalizeURL(site, location, nullptr);
    BasePropertyIF* property = SIFUtil::getPropertyIF(site, normalized, CString(), nullptr);
    out = normalized;
    if (property != nullptr) {
        BasePropertyIF* converted =
            CLumElemFunc::convertImageFormat(site, property, true, CString());
        if (converted != nullptr) {
            out = SIFUtil::normalizeURL(site, converted->getLocation(), nullptr);
            converted->release();
        }
    }
    if (property == nullptr) {
        if (site != nullptr) {
            site->release();
        }
        return nullptr;
    }
    auto* picture = new pixImage;
    picture->set_monitor(nullptr);
    bool loaded = false;
    // The picture is read from the resource as chosen, also when a converted
    // copy was made: both show the same pixels.
    if (!property->getLocalPath().IsEmpty()) {
        loaded = picture->read(property->getLocalPath());
    } else {
        int size = 0;
        unsigned char* bytes = property->getContent(size);
        if (bytes != nullptr) {
            loaded = picture->read(bytes, size);
            BasePropertyIF::freeContent(bytes);
        }
    }
    if (!loaded) {
        delete picture;
        picture = nullptr;
    }
    property->release();
    if (site != nullptr) {
        site->release();
    }
    return picture;
}

}  // namespace newsdesk
