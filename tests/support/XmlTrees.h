// Building libxml2 trees in tests: names and texts as xmlChar, a document
// freed with its owner.
#pragma once

#include <libxml/tree.h>

#include <memory>

namespace testing_xml {

inline const xmlChar* x(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

}  // namespace testing_xml
