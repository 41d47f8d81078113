// Channel records as JSON: one key per record member, named as the member
// without its "m_" prefix, in the members' order. Texts are UTF-8; dates are
// seconds since 1970.
#pragma once

#include "hostapp/CRSSChannel.h"

#include <nlohmann/json.hpp>

namespace newsdesk::app {

nlohmann::ordered_json toJson(const CRSSCategory& category);
nlohmann::ordered_json toJson(const CRSSItem& item);
nlohmann::ordered_json toJson(const CRSSChannel& channel);

}  // namespace newsdesk::app
