// The open site's record, as the site manager hands it out.
#pragma once

#include "mfc/CString.h"

struct SITE_INFO {
    CString siteName;
    CString rootFolder;  // Windows path with a trailing backslash; empty: no site
    CString siteUrl;     // public URL of the root folder, ending in "/"
    CString topPage;     // relative to the root folder
};
