// The arena's copies must be what libxml2's deep copy makes, node for node
// and declaration for declaration, and it must leave to libxml2 every
// element it cannot copy that way.
#include "hostapp/feedxml/NodeArena.h"
#include "hostapp/feedxml/XmlParsing.h"
#include "support/NodeDescription.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using lum::xml::NodeArena;

using testing_xml::describeTree;

struct Doc {
    explicit Doc(xmlDoc* d) : doc(d) {}
    ~Doc() { xmlFreeDoc(doc); }
    xmlDoc* doc;
};

// A document to copy into, with a dictionary as the kept markup's has.
std::unique_ptr<Doc> target() {
    auto doc = std::make_unique<Doc>(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    doc->doc->dict = xmlDictCreate();
    return doc;
}

// Copies every element of doc both ways; how many the arena took.
int expectEveryElementCopiedAlike(xmlDoc* doc, const std::string& what) {
    auto into = target();
    NodeArena arena(into->doc);
    int taken = 0;
    auto visit = [&](auto& self, const xmlNode* node) -> void {
        for (; node != nullptr; node = node->next) {
            if (node->type != XML_ELEMENT_NODE) {
                continue;
            }
            if (const xmlNode* copy = arena.copy(node)) {
                ++taken;
                xmlNode* theirs = xmlDocCopyNode(const_cast<xmlNode*>(node), into->doc, 1);
                EXPECT_EQ(copy->doc, into->doc) << what;
                EXPECT_EQ(describeTree(copy), describeTree(theirs)) << what;
                EXPECT_EQ(testing_xml::dumped(copy), testing_xml::dumped(theirs)) << what;
                xmlFreeNode(theirs);
            }
            self(self, node->children);
        }
    };
    visit(visit, xmlDocGetRootElement(doc));
    return taken;
}

xmlDoc* parse(const std::string& xml, int options = XML_PARSE_NONET) {
    return xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "x.xml", nullptr, options);
}

TEST(NodeArenaTest, CopiesEveryPlainElementOfEveryFixtureAsLibxml2Does) {
    lum::xml::QuietErrors quiet;
    int taken = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(NEWSDESK_FIXTURES))) {
        if (!entry.is_regular_file()) {
            continue;
        }
        for (int options : {int{XML_PARSE_NONET}, XML_PARSE_NONET | XML_PARSE_COMPACT}) {
            Doc doc(xmlReadFile(entry.path().c_str(), nullptr,
                                options | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
            if (doc.doc != nullptr) {
                taken += expectEveryElementCopiedAlike(doc.doc, entry.path().string());
            }
        }
    }
    EXPECT_GT(taken, 300);
}

TEST(NodeArenaTest, CopiesTextsOfEveryKindAndSizeAndDeepTrees) {
    std::string deep;
    for (int i = 0; i < 200; ++i) {
        deep += "<d a='" + std::to_string(i) + "'>";
    }
    for (int i = 0; i < 200; ++i) {
        deep += "</d>";
    }
    const std::string large(100000, 'x');
    Doc doc(
        parse("<r><e a='1' b=\"&lt;2&gt;\">text &amp; more<!-- a comment --><?pi data?>"
              "<![CDATA[<cdata>]]><empty/>tail</e><big>" +
              large + "</big><big>" + large + "y</big>" + deep + "</r>"));
    ASSERT_NE(doc.doc, nullptr);
    // Each copy was compared after every copy after it was made: later
    // blocks leave the earlier ones alone.
    EXPECT_EQ(expectEveryElementCopiedAlike(doc.doc, "crafted"), 205);
}

TEST(NodeArenaTest, DeclaresTheNamespacesItsNamesUseAsLibxml2Does) {
    const char* documents[] = {
        // From outside the copy, on elements and attributes, used twice.
        "<r xmlns:a='urn:a'><a:e a:x='1'><a:f/><g a:y='2'/></a:e></r>",
        // The default namespace, from outside and declared inside.
        "<r xmlns='urn:d'><e><f xmlns='urn:e'><g/></f><h/></e></r>",
        // The copy's own declarations first, then those from outside in the
        // order its names first use them.
        "<r xmlns:a='urn:a' xmlns:b='urn:b'><e xmlns:c='urn:c'><b:f/><c:g/><a:h b:z='3'/></e></r>",
        // A prefix bound again inside: each name keeps its own binding.
        "<r xmlns:a='urn:a'><e><a:f xmlns:a='urn:other'><a:g/></a:f><a:h/></e></r>",
        // A declaration nothing uses, and one the parent element uses too.
        "<r xmlns:a='urn:a'><a:e xmlns:u='urn:unused'><a:f xmlns:a='urn:a'/></a:e></r>",
    };
    for (const char* xml : documents) {
        Doc doc(parse(xml));
        ASSERT_NE(doc.doc, nullptr) << xml;
        // Every element of these is the arena's to copy.
        int elements = 0;
        for (const char* at = xml; (at = std::strchr(at, '<')) != nullptr; ++at) {
            elements += at[1] != '/' ? 1 : 0;
        }
        EXPECT_EQ(expectEveryElementCopiedAlike(doc.doc, xml), elements) << xml;
    }
}

TEST(NodeArenaTest, LeavesToLibxml2WhatItsCopyWouldLookUpElsewhere) {
    const char* refused[] = {
        // The xml prefix, which libxml2 binds in the document itself.
        "<r><e xml:lang='en'>x</e></r>",
        "<r><e><f xml:space='preserve'/></e></r>",
        // An ID, which a copy lists in its document's IDs.
        "<!DOCTYPE r [<!ATTLIST e id ID #IMPLIED>]><r><e id='i1'>x</e></r>",
        // An entity reference, which a copy looks up in its document.
        "<!DOCTYPE r [<!ENTITY t 'x'>]><r><e>&t;</e></r>",
        "<!DOCTYPE r [<!ENTITY t 'x'>]><r><e><f a='&t;'/></e></r>",
    };
    for (const char* xml : refused) {
        Doc doc(parse(xml));
        ASSERT_NE(doc.doc, nullptr) << xml;
        const xmlNode* e = xmlDocGetRootElement(doc.doc)->children;
        auto into = target();
        NodeArena arena(into->doc);
        EXPECT_EQ(arena.copy(e), nullptr) << xml;
    }
    auto into = target();
    NodeArena arena(into->doc);
    EXPECT_EQ(arena.copy(nullptr), nullptr);
    Doc doc(parse("<r>text</r>"));
    EXPECT_EQ(arena.copy(xmlDocGetRootElement(doc.doc)->children), nullptr);
}

}  // namespace
