// The application's site manager: which site is open and where its files
// appear on the web. One site at most is open per process.
#pragma once

#include "hostapp/SITE_INFO.h"
#include "hostapp/SiteIF.h"
#include "mfc/CString.h"

#include <string>

class LumSiteMgr {
  public:
    // Opens the site whose root is folder (Windows path), reading its
    // definition (SiteDefinition.h). false with a one-line reason in error
    // when it cannot be read; the site open before stays open then.
    static bool openSite(const CString& folder, std::string& error);
    static void closeSite();

    // true only while a site is open.
    static bool isSiteOpened();
    // The open site's record; false, with info left as it was, when none is open.
    static bool getCurrentSiteInfo(SITE_INFO& info);
    // The open site's object (the caller releases it), or nullptr.
    static SiteIF* getOutStandingSiteIF();
    // The public URL of a file or folder path inside site ("Z:\site\a b.mp3"
    // -> "https://ann.example/a%20b.mp3"); empty when site is not a real site
    // or the path lies outside its root.
    static CString getMySiteUrl(SiteIF* site, const CString& path);
    // The public URL of the open site's top page; empty when none is open.
    static CString getCurrentSiteTopUrl();
};

class OutSMgr {
  public:
    // The site object standing for files outside every site (the caller
    // releases it).
    static SiteIF* findOutSite();
};
