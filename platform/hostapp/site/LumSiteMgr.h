// The application's site manager: which site is open and where its files
// appear on the web. One site at most is open per process.
#pragma once

#include "hostapp/site/SITE_INFO.h"
#include "hostapp/site/SiteDatabase.h"
#include "hostapp/site/SiteIF.h"
#include "hostapp/site/SiteMgr50.h"
#include "mfc/CString.h"

#include <string>
#include <vector>

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
    // The open site's name; empty when none is open.
    static CString getCurrentSiteName();

    // The open site's database, opened (and made, when the site has none)
    // on first use; nullptr when no site is open or the database cannot be
    // used, with the reason in siteDatabaseError(). Owned by the manager
    // until the site closes.
    static SiteMgr50* getSiteMgr();
    static const std::string& siteDatabaseError();
    // Opens the open site's database in the given mode (Recreate replaces a
    // file that is not a site database or has a newer schema).
    static bool openSiteDatabase(lum::site::SiteDatabase::OpenMode mode, std::string& error);

    // The site's feeds, in *records (released with DeleteVecRecCell), after
    // bringing the database in step with the folder; false, with *records
    // null, when there is no usable database.
    static bool GetRssInSite(std::vector<SiteRecCell50>** records);
    static void DeleteVecRecCell(std::vector<SiteRecCell50>* records);

    // The site's own feed for its top page: the top page's path with the
    // extension ".rss" ("Z:\site\index.html" -> "Z:\site\index.rss").
    static CString getRssFileName(const CString& topFile);

    // The remembered start folder of folder choosers of a kind; empty when
    // none. shared true: one for the whole application run; false: the open
    // site's own (kept in its database), the run's when no site is open.
    static CString getInitDir(int kind, bool shared);
    static void setInitDir(const CString& folder, int kind, bool shared);
};

class OutSMgr {
  public:
    // The site object standing for files outside every site (the caller
    // releases it).
    static SiteIF* findOutSite();
};
