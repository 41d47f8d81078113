// The open site's staff: the objects that work on the site's pages.
#pragma once

#include "mfc/CString.h"

class CLumSiteDocBaseCore;

class LumSiteStaff {
  public:
    // The document base of the open site (path and document, when given,
    // narrow it to one page; null for all). The caller ends it with
    // destroy(). nullptr when no site with a usable database is open.
    static CLumSiteDocBaseCore* getSiteDocBase(const CString* path, void* document);
};
