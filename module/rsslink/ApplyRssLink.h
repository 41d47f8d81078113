// Puts what the insert-link dialog describes into the page: the anchor with
// its icon and text, and the page's auto-discovery link of the feed.
#pragma once

#include "hostapp/feedxml/DomNode.h"

class CLumRssInsertLinkDlg;
class PageEditIF;

namespace newsdesk::rsslink {

// The ID that marks the default icon in a link; a link made by an older
// version may carry more after it, so only the beginning is compared.
inline constexpr const char16_t* kDefaultIconId = u"LumDefaultRssIcon";

// anchor and image: the link being edited and its icon, or null elements for
// a new link. Returns true when the page was changed (the page has then been
// told so).
bool applyRssLink(PageEditIF* page, const CLumRssInsertLinkDlg& dialog, Element anchor,
                  Element image);

}  // namespace newsdesk::rsslink
