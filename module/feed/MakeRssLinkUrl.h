// The URL by which a page refers to a feed file: the published address when
// the feed lies in the open site, otherwise a reference the page can follow.
#pragma once

#include "mfc/CString.h"

class PageEditIF;

namespace newsdesk {

// target: the feed as the user gave it (a Windows path, a file URL, a URL or
// a reference relative to the page). out is left as it was when the page has
// no site that converts its URLs.
void makeRssLinkUrl(PageEditIF* page, const CString& target, CString& out);

}  // namespace newsdesk
