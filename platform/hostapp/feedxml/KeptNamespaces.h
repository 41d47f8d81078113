// The namespace declarations of kept elements put back into a feed being
// written: declared once, at the root where they may be, in an order that
// the next read of the feed gives again, and bound where a name was read
// under a prefix the feed never declared.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"

#include <libxml/tree.h>

namespace lum {

// Whether a kept declaration may move to the root of a feed written in
// format (0 RSS 1.0, 1 RSS 2.0, 2 podcast).
bool mayDeclareAtRoot(const xmlChar* prefix, const xmlChar* href, int format);

// Marks a declaration on the root as one that kept markup put there.
void markMovedToRoot(xmlNs* ns);

// The copy's own declarations: dropped where nothing in the copy uses one
// or the same one is in scope, the others moved to root where their prefix
// is free.
void tidyNamespaces(xmlNode* copy, xmlNode* root, int format);

// A copy of kept, made in parent's document, whose names read under a prefix
// the feed never declared are bound where parent declares that prefix; null
// when nothing needs binding.
xmlNode* boundCopy(const xmlNode* kept, xmlNode* parent);

}  // namespace lum
