// What a feed format requires of a record that the record may lack: a
// conversion names it ("missing: 3 item links") rather than writing a file
// that readers and directories refuse.
#pragma once

#include "hostapp/records/CRSSChannel.h"

#include <map>
#include <string>

namespace newsdesk::app {

// "channel link" -> 1, "item links" -> 3: the fields format (0 RSS 1.0,
// 1 RSS 2.0, 2 podcast) requires and channel leaves empty, each counted.
std::map<std::string, int> missingFields(const CRSSChannel& channel, int format);

}  // namespace newsdesk::app
