// Where a file of the site may go: a typed folder and name are first made
// into one plain path, and only then compared with the site's folder, so a
// name like "..\..\x.rss" cannot reach out of the site.
#pragma once

#include "mfc/CString.h"

namespace newsdesk::sitefiles {

// The path with '/' made '\', and "." and ".." parts and doubled separators
// resolved ("Z:\site\a\..\b.rss" -> "Z:\site\b.rss"). Empty when ".." climbs
// above the path's first part, which then names nothing there is. A path
// from the root ("/home/ann/site/a.rss") is one on drive Z:.
CString normalizedPath(const CString& path);

// true when no site is open, or the normalised path lies inside the open
// site's folder.
bool insideOpenSite(const CString& normalized);

}  // namespace newsdesk::sitefiles
