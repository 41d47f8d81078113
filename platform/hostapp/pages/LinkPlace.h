// Whether a link may stand at a place of the page: some places keep only
// text or no content of their own, and a browser would move a link put
// there elsewhere or show it as text.
#pragma once

#include "hostapp/feedxml/DomNode.h"

#include <string>

namespace lum::page {

// node and offset as PageDocument::cursorAt gives them. Empty when a link
// may stand there, else why not ("inside <option>", "directly in <table>").
std::string whyNoLinkAt(Node node, long offset);

}  // namespace lum::page
