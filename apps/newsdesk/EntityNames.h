// The HTML entity names a feed uses without declaring them, for the line that
// tells its reader what the repair read as characters.
#pragma once

#include <string>
#include <vector>

namespace newsdesk::app {

// The distinct names (without & and ;) of references in the file at `native`
// that HTML knows and the file neither predefines nor declares, in the order
// they first appear; empty when the file cannot be read. Only the first
// `maxBytes` of the file are looked at.
std::vector<std::string> undeclaredHtmlEntityNames(const std::string& native,
                                                   size_t maxBytes = 64u << 20);

// "&eacute;, &nbsp; and 3 more": at most `shown` names, then how many others.
std::string listEntityNames(const std::vector<std::string>& names, size_t shown = 5);

}  // namespace newsdesk::app
