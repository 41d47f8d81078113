// The three forms by which a page knows a feed in its auto-discovery link,
// and the form an anchor or image of the page names a file by.
#pragma once

#include "mfc/CString.h"

class PageEditIF;

namespace newsdesk::rsslink {

struct FeedLinkForms {
    CString feedUrl;   // the URL the page refers to the feed by
    CString relative;  // the same, relative to the page; empty when there is none
    CString siteUrl;   // the feed's published URL, when the site form is asked for
};

// The forms of the feed the user named (as the dialog holds it). A
// reference from the root ("/news.rss") starts at the root of the page's
// site; a query or fragment asked of a file stays on the URL forms.
FeedLinkForms feedLinkForms(PageEditIF& page, const CString& reference);

// Whether the page already has the auto-discovery link of that feed.
bool pageHasFeedLink(PageEditIF& page, const CString& reference);

// How the page's markup names a file or URL the dialog holds (a Windows path,
// a file URL, a URL or a reference relative to the page): relative to the
// page's base when it can be, else the absolute URL; a query or fragment
// stays. A reference from the root names the site's root (kept as typed
// for a page outside any site). Empty stays empty.
CString pageReference(PageEditIF& page, const CString& reference);

}  // namespace newsdesk::rsslink
