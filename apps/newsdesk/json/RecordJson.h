// Channel records as JSON: one key per record member, named as the member
// without its "m_" prefix, in the members' order. Texts are UTF-8; dates are
// seconds since 1970.
#pragma once

#include "hostapp/records/CRSSChannel.h"

#include <nlohmann/json.hpp>

#include <string>

namespace newsdesk::app {

// What a record keeps beyond its fields, for a person to see and for write
// to put back: {"element": "<guid>..</guid>"} (with "place" when it goes into
// the image or beside the channel) and {"attribute": "xml:lang",
// "namespace": "...", "value": "en"}.
nlohmann::ordered_json keptJson(const lum::KeptMarkup& kept);

nlohmann::ordered_json toJson(const CRSSCategory& category);
nlohmann::ordered_json toJson(const CRSSItem& item);
nlohmann::ordered_json toJson(const CRSSChannel& channel);
// The channel's keys after "items", in the same order.
nlohmann::ordered_json toJsonWithoutItems(const CRSSChannel& channel);

// Fills a fresh channel from JSON in the form toJson gives. Missing keys (and
// nulls) keep the record's defaults; "filePath" may be a native path. false,
// with a one-line reason naming the key in error, when the JSON is not an
// object, holds a key the record does not have, or a value has the wrong
// type or range (a negative ttl, duration or length, an unknown format or
// encoding); the channel is then incomplete.
bool fromJson(const nlohmann::json& json, CRSSChannel& channel, std::string& error);

// The channel fields every feed needs that the record leaves out or empty
// ("format, title or link"); empty when it has them all.
std::string missingRequiredFields(const nlohmann::json& json);

}  // namespace newsdesk::app
