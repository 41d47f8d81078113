// An icon the page shows is published with the page: a picture of this
// machine that lies outside the page's site (the product's default icon,
// the sample icons, a picture chosen elsewhere) is copied into the site's
// folder of RSS icons, and the page names the copy.
#pragma once

#include "mfc/CString.h"

class PageEditIF;

namespace newsdesk::rsslink {

// The site's folder for copied icons, under its root.
inline constexpr char16_t kSiteIconFolder[] = u"rss_icons";

// icon: the icon as the dialog holds it. Returns the icon the page should
// name: the copy's Windows path for a picture outside the site, anything
// else as it was. A copy never replaces a different file: an equal file of
// the name is taken as it is, else the copy gets a free name ("a-2.gif").
// Empty, with the failure reported (lum::reportFailedSave), when the copy
// could not be made. A page outside any site counts its own folder as the
// site's root.
CString iconInSite(PageEditIF& page, const CString& icon);

// Whether a reference of the page names an existing file of its site.
bool namesSiteFile(PageEditIF& page, const CString& reference);

}  // namespace newsdesk::rsslink
