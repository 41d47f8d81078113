#include "sitefiles/SiteRssInfo.h"

namespace newsdesk {

void updateSiteRssInfo(const CRSSChannel*) {
    // The records live in the site database, and the host does not keep one
    // yet: its site manager hands out no database for an open site. Without
    // one there is nothing to bring up to date, so the work ends here, at its
    // first step, until the host offers the database.
}

}  // namespace newsdesk
