// What the link manipulator asks about the open site.
#pragma once

#include "mfc/CString.h"

class CLumUrlManSiteAdapterIF {
  public:
    // true when the path (or file URL) lies inside the open site's root.
    virtual bool inSite(const CString& path) = 0;
    // true when the path lies outside the open site, or no site is open.
    virtual bool outSite(const CString& path) = 0;
    virtual bool isSiteOpened() = 0;

  protected:
    ~CLumUrlManSiteAdapterIF() = default;
};

// The application's adapter, on the site manager.
class CLumUrlManSiteAdapter final : public CLumUrlManSiteAdapterIF {
  public:
    bool inSite(const CString& path) override;
    bool outSite(const CString& path) override;
    bool isSiteOpened() override;
};
