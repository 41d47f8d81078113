// A site as the application's services see it: the open site, or the stand-in
// for files outside every site. Reference counted: whoever is handed one
// releases it once.
#pragma once

#include "hostapp/site/SITE_INFO.h"

class SiteIF {
  public:
    virtual bool isOutSite() const = 0;
    virtual void addRef() = 0;
    virtual void release() = 0;
    // The site's record; all texts empty for the outside site.
    virtual const SITE_INFO& getSiteInfo() const = 0;
    // The site's base text: the public URL of its root folder ("https://
    // ann.example/"); empty for the outside site. `which` is reserved (0).
    virtual CString getSiteBaseText(int which) const {
        (void)which;
        return isOutSite() ? CString() : getSiteInfo().siteUrl;
    }

  protected:
    virtual ~SiteIF() = default;
};

namespace lum {

// Makes a site object for info with one reference.
SiteIF* newSiteIF(const SITE_INFO& info, bool outSite);

}  // namespace lum
