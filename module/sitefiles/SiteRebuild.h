// After a command changed files of the open site: the host's rebuild brings
// the site database in step, and the host's panes show it.
#pragma once

namespace newsdesk::sitefiles {

// Nothing happens when no site is open.
void rebuildOpenSite();

}  // namespace newsdesk::sitefiles
