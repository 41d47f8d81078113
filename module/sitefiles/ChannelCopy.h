// A feed record made as a full copy of another (records are never copied
// implicitly, so a copy is always asked for by name).
#pragma once

#include "hostapp/records/CRSSChannel.h"

namespace newsdesk::sitefiles {

// Every field of source, its categories and items included, into target.
void copyChannel(const CRSSChannel& source, CRSSChannel& target);

}  // namespace newsdesk::sitefiles
