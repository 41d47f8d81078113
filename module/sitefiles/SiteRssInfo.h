// The site's records of a feed: the site profile's title and description
// and the RSS information of the pages the feed's items link to.
#pragma once

#include "hostapp/records/CRSSChannel.h"

namespace newsdesk {

// Brings the open site's records up to date with a feed that was created or
// edited. Ends silently where the site or a piece of its profile is missing.
void updateSiteRssInfo(const CRSSChannel* channel);

}  // namespace newsdesk
