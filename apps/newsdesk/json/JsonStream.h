// Records as JSON written while they are walked, in exactly the layout that
// nlohmann::json's dump(2) gives (two-space indent, ": " after keys, texts
// in UTF-8 with only what JSON requires escaped). A feed of a hundred
// thousand items is printed item by item: neither the whole JSON document
// nor its text is ever held in memory.
#pragma once

#include "hostapp/records/CRSSChannel.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

namespace newsdesk::app {

// Appends value to out as dump(2) would print it when it stands at the given
// depth of indentation (in spaces) inside a larger document.
void appendPrettyJson(std::string& out, const nlohmann::ordered_json& value, int indent);

// Appends text as a JSON string, quotes included; text that is not valid
// UTF-8 is passed to nlohmann::json, which replaces the bad bytes.
void appendJsonString(std::string& out, std::string_view text);

// Appends the item as appendPrettyJson(toJson(item), indent) would, straight
// from its fields.
void appendItemJson(std::string& out, const CRSSItem& item, int indent);

// Prints the channel as toJson gives it, with "filePath" replaced by
// filePath, followed by nothing (no newline). Returns false when out failed.
bool writeRecordJson(std::ostream& out, const CRSSChannel& channel, const std::string& filePath);

}  // namespace newsdesk::app
