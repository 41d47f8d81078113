// Entity references replaced by what they stand for. A feed that declares
// its own entities in a document type and uses them in its text is written
// back without that document type (the writers build a new document), so a
// reference left in a kept element would no longer parse.
#pragma once

#include <libxml/tree.h>

namespace lum::xml {

// Replaces every entity reference in the document (element content and
// attribute values) with a copy of its internal entity's content; a reference
// to an external entity, which is never loaded, is dropped, and one to a name
// nothing declares is HTML's character of that name or is dropped. Only for
// a document whose expansion is within the entity budget.
struct InlinedUndeclared {
    bool htmlNamed = false;  // a name nothing declares read as HTML's character
    bool dropped = false;    // one HTML does not name either, left out
};
InlinedUndeclared inlineEntityReferences(xmlDoc* doc);

}  // namespace lum::xml
