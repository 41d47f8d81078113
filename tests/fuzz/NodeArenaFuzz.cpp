// Any bytes as XML (the first byte picks the parser's options): every
// element the kept markup's arena copies is copied as libxml2 copies it,
// node for node and declaration for declaration, into a document with a
// dictionary as the kept markup's is.
#include "hostapp/feedxml/NodeArena.h"
#include "support/NodeDescription.h"

#include <libxml/parser.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void quiet(void*, const char*, ...) {}

void compareCopies(lum::xml::NodeArena& arena, xmlDoc* into, xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (const xmlNode* copy = arena.copy(node)) {
            xmlNode* theirs = xmlDocCopyNode(node, into, 1);
            if (theirs == nullptr) {
                std::abort();  // out of memory under the fuzzer's limit
            }
            std::string ours = testing_xml::describeTree(copy) + testing_xml::dumped(copy);
            std::string libxml2 = testing_xml::describeTree(theirs) + testing_xml::dumped(theirs);
            if (ours != libxml2 || copy->doc != into) {
                std::fprintf(stderr, "the arena's copy differs:\n%s\nlibxml2's:\n%s\n",
                             ours.c_str(), libxml2.c_str());
                std::abort();
            }
            xmlFreeNode(theirs);
        }
        compareCopies(arena, into, node->children);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 65536) {
        return 0;
    }
    xmlSetGenericErrorFunc(nullptr, quiet);
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    options |= (data[0] & 1) != 0 ? XML_PARSE_RECOVER : 0;
    options |= (data[0] & 2) != 0 ? XML_PARSE_NOENT : 0;
    options |= (data[0] & 4) != 0 ? XML_PARSE_COMPACT : 0;
    options |= (data[0] & 8) != 0 ? XML_PARSE_NOCDATA : 0;
    xmlDoc* doc = xmlReadMemory(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1),
                                "in.xml", nullptr, options);
    if (doc == nullptr) {
        return 0;
    }
    xmlDoc* into = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    into->dict = xmlDictCreate();
    {
        lum::xml::NodeArena arena(into);
        compareCopies(arena, into, xmlDocGetRootElement(doc));
    }
    xmlFreeDoc(into);
    xmlFreeDoc(doc);
    return 0;
}
