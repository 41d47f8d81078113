// The arena's copies must be what libxml2's deep copy makes, node for node
// and declaration for declaration, and it must leave to libxml2 every
// element it cannot copy that way.
#include "hostapp/feedxml/NodeArena.h"
#include "hostapp/feedxml/XmlParsing.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using lum::xml::NodeArena;

std::string text(const xmlChar* s) {
    return s == nullptr ? "(null)" : reinterpret_cast<const char*>(s);
}

std::string dump(const xmlNode* node) {
    xmlBuffer* buffer = xmlBufferCreate();
    xmlNodeDump(buffer, node->doc, const_cast<xmlNode*>(node), 0, 0);
    std::string out = text(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
    return out;
}

// "prefix=href" for each declaration from ns on (or only ns).
std::string declarations(const xmlNs* ns, bool following = true) {
    std::string out;
    for (; ns != nullptr; ns = following ? ns->next : nullptr) {
        out += text(ns->prefix) + "=" + text(ns->href) + " ";
    }
    return out;
}

// Field by field, down the two trees; where reports the first difference.
void expectSameTree(const xmlNode* a, const xmlNode* b, const std::string& where) {
    ASSERT_EQ(a == nullptr, b == nullptr) << where;
    if (a == nullptr) {
        return;
    }
    ASSERT_EQ(a->type, b->type) << where;
    ASSERT_EQ(text(a->name), text(b->name)) << where;
    // Texts are told apart by the very pointer of their name.
    ASSERT_EQ(a->name == xmlStringText, b->name == xmlStringText) << where;
    ASSERT_EQ(a->name == xmlStringTextNoenc, b->name == xmlStringTextNoenc) << where;
    ASSERT_EQ(text(a->content), text(b->content)) << where;
    ASSERT_EQ(a->line, b->line) << where;
    ASSERT_EQ(declarations(a->nsDef), declarations(b->nsDef)) << where;
    ASSERT_EQ(a->ns == nullptr, b->ns == nullptr) << where;
    if (a->ns != nullptr) {
        ASSERT_EQ(declarations(a->ns, false), declarations(b->ns, false)) << where;
        // The very declaration in scope, not a copy of it elsewhere.
        ASSERT_EQ(xmlSearchNs(a->doc, const_cast<xmlNode*>(a), a->ns->prefix), a->ns) << where;
    }
    ASSERT_EQ(a->doc, b->doc) << where;
    ASSERT_EQ(a->extra, b->extra) << where;
    if (a->type == XML_ELEMENT_NODE) {
        const xmlAttr* x = a->properties;
        const xmlAttr* y = b->properties;
        for (; x != nullptr && y != nullptr; x = x->next, y = y->next) {
            ASSERT_EQ(text(x->name), text(y->name)) << where;
            ASSERT_EQ(x->atype, y->atype) << where;
            ASSERT_EQ(x->parent, a) << where;
            ASSERT_EQ(x->doc, y->doc) << where;
            ASSERT_EQ(declarations(x->ns, false), declarations(y->ns, false)) << where;
            const xmlNode* c = x->children;
            const xmlNode* d = y->children;
            for (; c != nullptr && d != nullptr; c = c->next, d = d->next) {
                ASSERT_EQ(c->parent, reinterpret_cast<const xmlNode*>(x)) << where;
                expectSameTree(c, d, where + "@" + text(x->name));
            }
            ASSERT_EQ(c == nullptr, d == nullptr) << where;
        }
        ASSERT_EQ(x == nullptr, y == nullptr) << where;
    }
    const xmlNode* c = a->children;
    const xmlNode* d = b->children;
    const xmlNode* previous = nullptr;
    for (; c != nullptr && d != nullptr; c = c->next, d = d->next) {
        ASSERT_EQ(c->parent, a) << where;
        ASSERT_EQ(c->prev, previous) << where;
        expectSameTree(c, d, where + "/" + text(c->name));
        previous = c;
    }
    ASSERT_EQ(c == nullptr, d == nullptr) << where;
    ASSERT_EQ(a->last, previous) << where;
}

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
                EXPECT_EQ(copy->parent, nullptr);
                expectSameTree(copy, theirs, what + " " + text(node->name));
                EXPECT_EQ(dump(copy), dump(theirs)) << what;
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
