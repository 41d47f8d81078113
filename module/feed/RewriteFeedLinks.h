// Link rewriting inside a feed being saved.
#pragma once

#include "hostapp/feedxml/CLumRssAbstract.h"
#include "mfc/CString.h"

namespace newsdesk {

// Makes the URLs of document right for the place path has in the open site:
// those naming files inside the site become the files' public URLs. With no
// site open, or path outside it, nothing changes. format: 0 RSS 1.0,
// 1 RSS 2.0, 2 podcast.
void rewriteFeedLinks(const CString& path, CLumRssAbstract& document, int format);

// Whether rewriteFeedLinks may change a document saved at path: whether the
// file lies in a site whose links it follows.
bool rewritesFeedLinks(const CString& path);

}  // namespace newsdesk
