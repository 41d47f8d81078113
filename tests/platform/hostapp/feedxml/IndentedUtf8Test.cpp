#include "hostapp/feedxml/IndentedUtf8.h"
#include "hostapp/feedxml/XmlFile.h"

#include "TempDir.h"
#include "support/XmlTrees.h"

#include <libxml/encoding.h>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlsave.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using lum::xml::ByteSink;
using lum::xml::IndentedUtf8;
using lum::xml::writeIndentedUtf8;

using testing_xml::Doc;
using testing_xml::x;

struct StringSink : ByteSink {
    std::string bytes;
    bool take(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
};

void quiet(void*, const char*, ...) {}

int appendTo(void* context, const char* data, int length) {
    static_cast<std::string*>(context)->append(data, static_cast<std::size_t>(length));
    return length;
}

// What libxml2's own indented save writes in UTF-8.
std::string libxml2Bytes(xmlDoc* doc) {
    std::string bytes;
    xmlOutputBuffer* out = xmlOutputBufferCreateIO(appendTo, nullptr, &bytes, nullptr);
    xmlSaveFormatFileTo(out, doc, "UTF-8", 1);
    return bytes;
}

std::string ourBytes(const xmlDoc* doc, IndentedUtf8* outcome = nullptr) {
    StringSink sink;
    IndentedUtf8 result = writeIndentedUtf8(doc, sink);
    if (outcome != nullptr) {
        *outcome = result;
    }
    return result == IndentedUtf8::Written ? sink.bytes : "(not written: " + sink.bytes + ")";
}

// Random documents with every kind of node a feed may hold, and text with
// everything that is escaped, split or quoted.
class RandomTree {
  public:
    explicit RandomTree(unsigned seed) : m_random(seed) {}

    Doc make() {
        Doc doc(xmlNewDoc(pick(3) == 0 ? nullptr : x(pick(4) == 0 ? "1.1" : "1.0")));
        doc->standalone = static_cast<int>(pick(3)) - 1;
        if (pick(4) == 0) {
            xmlAddChild(reinterpret_cast<xmlNode*>(doc.get()), topLevelExtra(doc.get()));
        }
        xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
        xmlDocSetRootElement(doc.get(), root);
        if (pick(2) == 0) {
            xmlNewNs(root, x(pick(2) == 0 ? "urn:a" : "urn:\"q\""), x("a"));
        }
        if (pick(3) == 0) {
            xmlNewNs(root, x(pick(2) == 0 ? "urn:d" : "urn:'q'\"q\""), nullptr);
        }
        fill(doc.get(), root, 0);
        if (pick(4) == 0) {
            xmlAddNextSibling(root, topLevelExtra(doc.get()));
        }
        return doc;
    }

  private:
    unsigned pick(unsigned n) {
        return std::uniform_int_distribution<unsigned>(0, n - 1)(m_random);
    }

    std::string text() {
        static const char* const pieces[] = {
            "a",    "word", " ", "<",    ">",   "&",  "\"", "'",     "\t",
            "\n",   "\r",   "é", "日本", "]]>", "]]", "]",  "&amp;", "\xF0\x9F\x98\x80",
            "x y z"};
        std::string out;
        for (unsigned n = pick(6); n > 0; --n) {
            out += pieces[pick(std::size(pieces))];
        }
        return out;
    }

    xmlNode* topLevelExtra(xmlDoc* doc) {
        return pick(2) == 0 ? xmlNewDocComment(doc, x(text().c_str()))
                            : xmlNewDocPI(doc, x("pi"), pick(2) == 0 ? nullptr : x("data"));
    }

    void fill(xmlDoc* doc, xmlNode* parent, int depth) {
        for (unsigned n = pick(depth < 4 ? 5 : 2); n > 0; --n) {
            xmlNode* child = nullptr;
            switch (depth < 4 ? pick(9) : 1 + pick(8)) {
                case 0: {
                    xmlNs* ns = pick(3) == 0 ? xmlSearchNs(doc, parent, x("a")) : nullptr;
                    child = xmlNewDocNode(doc, ns, x(pick(2) == 0 ? "item" : "title"), nullptr);
                    xmlAddChild(parent, child);
                    if (pick(3) == 0) {
                        xmlNewNs(child, x("urn:b"), x("b"));
                    }
                    for (unsigned a = pick(3); a > 0; --a) {
                        std::string name = "at" + std::to_string(a);
                        xmlAttr* attr = xmlNewNsProp(
                            child, pick(4) == 0 ? xmlSearchNs(doc, child, x("a")) : nullptr,
                            x(name.c_str()), x(text().c_str()));
                        if (pick(5) == 0) {
                            xmlAddChild(reinterpret_cast<xmlNode*>(attr),
                                        xmlNewReference(doc, x("&ent;")));
                        }
                    }
                    fill(doc, child, depth + 1);
                    continue;
                }
                case 1:
                case 2:
                    child = xmlNewDocText(doc, x(text().c_str()));
                    if (pick(6) == 0) {
                        child->name = xmlStringTextNoenc;
                    }
                    break;
                case 3: {
                    std::string t = text();
                    child = xmlNewCDataBlock(doc, x(t.c_str()), static_cast<int>(t.size()));
                    break;
                }
                case 4:
                    child = xmlNewDocComment(doc, x(text().c_str()));
                    break;
                case 5:
                    child = xmlNewDocPI(doc, x("pi"), pick(2) == 0 ? nullptr : x(text().c_str()));
                    break;
                case 6:
                    child = xmlNewReference(doc, x("&ent;"));
                    break;
                default:
                    child = xmlNewDocNode(doc, nullptr, x("empty"), nullptr);
                    break;
            }
            xmlAddChild(parent, child);
        }
    }

    std::mt19937 m_random;
};

}  // namespace

TEST(IndentedUtf8, WritesWhatLibxml2WritesForEveryKindOfNodeAndText) {
    for (unsigned seed = 0; seed < 3000; ++seed) {
        Doc doc = RandomTree(seed).make();
        ASSERT_EQ(ourBytes(doc.get()), libxml2Bytes(doc.get())) << "seed " << seed;
    }
}

TEST(IndentedUtf8, WritesWhatLibxml2WritesForEveryFixtureAndAcrossBlocks) {
    // Fixtures in encodings libxml2 cannot convert say so on their own.
    xmlSetGenericErrorFunc(nullptr, quiet);
    int written = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(NEWSDESK_FIXTURES))) {
        if (!entry.is_regular_file()) {
            continue;
        }
        Doc doc(xmlReadFile(entry.path().c_str(), nullptr,
                            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
        if (doc == nullptr) {
            continue;
        }
        IndentedUtf8 outcome;
        std::string ours = ourBytes(doc.get(), &outcome);
        if (doc->intSubset != nullptr) {
            // A document type is left to libxml2.
            EXPECT_EQ(outcome, IndentedUtf8::NotOurs) << entry.path();
            continue;
        }
        EXPECT_EQ(ours, libxml2Bytes(doc.get())) << entry.path();
        ++written;
    }
    xmlSetGenericErrorFunc(nullptr, nullptr);
    EXPECT_GE(written, 20);

    // A text of some blocks, with characters of two to four bytes across
    // their edges.
    Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    std::string big;
    for (int i = 0; big.size() < 300000; ++i) {
        big += i % 3 == 0 ? "日本&" : i % 3 == 1 ? "é<\xF0\x9F\x98\x80" : "ab";
        if (i % 1000 == 0) {
            xmlNewTextChild(root, nullptr, x("t"), x(big.c_str()));
        }
    }
    EXPECT_EQ(ourBytes(doc.get()), libxml2Bytes(doc.get()));
}

TEST(IndentedUtf8, LeavesToLibxml2WhatItDoesNotWriteAlike) {
    Doc withType(
        xmlReadMemory("<!DOCTYPE rss [<!ENTITY e 'x'>]><rss>&e;</rss>", 46, nullptr, nullptr, 0));
    ASSERT_NE(withType, nullptr);
    IndentedUtf8 outcome;
    ourBytes(withType.get(), &outcome);
    EXPECT_EQ(outcome, IndentedUtf8::NotOurs);

    Doc doc(xmlReadMemory("<rss><a/></rss>", 15, nullptr, nullptr, 0));
    const char* indent = xmlTreeIndentString;
    xmlTreeIndentString = "\t";
    ourBytes(doc.get(), &outcome);
    xmlTreeIndentString = indent;
    EXPECT_EQ(outcome, IndentedUtf8::NotOurs);
    xmlIndentTreeOutput = 0;
    ourBytes(doc.get(), &outcome);
    xmlIndentTreeOutput = 1;
    EXPECT_EQ(outcome, IndentedUtf8::NotOurs);

    // An attribute of another document would be written with references.
    Doc other(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlDocGetRootElement(doc.get());
    xmlAttr* foreign = xmlNewDocProp(other.get(), x("b"), x("é"));
    root->properties = foreign;
    foreign->parent = root;
    ourBytes(doc.get(), &outcome);
    root->properties = nullptr;
    xmlFreeProp(foreign);
    EXPECT_EQ(outcome, IndentedUtf8::NotOurs);
}

TEST(IndentedUtf8, ASinkThatWantsNoMoreStopsTheWriting) {
    struct FirstBlockOnly : ByteSink {
        int blocks = 0;
        bool take(const char*, std::size_t) override { return ++blocks < 1; }
    } sink;
    Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (int i = 0; i < 20000; ++i) {
        xmlNewTextChild(root, nullptr, x("title"), x("some words"));
    }
    EXPECT_EQ(writeIndentedUtf8(doc.get(), sink), IndentedUtf8::Stopped);
    EXPECT_EQ(sink.blocks, 1);
}

// savesSameBytes answers from this writer for a document saved in UTF-8,
// comparing what a save would write: the bytes without what it drops.
TEST(SavesSameBytes, FindsEveryChangedByteAndEveryCharacterASaveDrops) {
    TempDir dir;
    CString path(dir.windows("feed.xml"));
    Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNewTextChild(root, nullptr, x("title"), x("a < b & c"));
    xmlNewProp(root, x("version"), x("2.0"));
    ASSERT_TRUE(lum::xml::saveFile(doc.get(), path, u"UTF-8"));
    const std::string saved = dir.read("feed.xml");
    EXPECT_TRUE(lum::xml::savesSameBytes(doc.get(), path, u"UTF-8"));
    for (std::size_t i = 0; i < saved.size(); ++i) {
        std::string changed = saved;
        changed[i] = static_cast<char>(changed[i] ^ 0x20);
        dir.write("feed.xml", changed);
        EXPECT_FALSE(lum::xml::savesSameBytes(doc.get(), path, u"UTF-8")) << i;
    }
    dir.write("feed.xml", saved + "\n");
    EXPECT_FALSE(lum::xml::savesSameBytes(doc.get(), path, u"UTF-8"));
    dir.write("feed.xml", saved.substr(0, saved.size() - 1));
    EXPECT_FALSE(lum::xml::savesSameBytes(doc.get(), path, u"UTF-8"));

    // A character XML cannot carry is not saved: the file without it is the
    // same, one that holds it is not, wherever it falls against the blocks
    // the bytes are compared in.
    std::string filler(65536 - 47, 'x');
    for (int shift = 0; shift < 6; ++shift) {
        for (const char* dropped : {"\x01", "\xEF\xBF\xBE"}) {
            Doc withDropped(xmlNewDoc(x("1.0")));
            xmlNode* rss = xmlNewDocNode(withDropped.get(), nullptr, x("rss"), nullptr);
            xmlDocSetRootElement(withDropped.get(), rss);
            std::string text = filler.substr(0, filler.size() - static_cast<std::size_t>(shift)) +
                               dropped + "tail";
            xmlNewTextChild(rss, nullptr, x("t"), x(text.c_str()));
            ASSERT_TRUE(lum::xml::saveFile(withDropped.get(), path, u"UTF-8"));
            EXPECT_EQ(dir.read("feed.xml").find(dropped), std::string::npos);
            EXPECT_TRUE(lum::xml::savesSameBytes(withDropped.get(), path, u"UTF-8")) << shift;
            dir.write("feed.xml", libxml2Bytes(withDropped.get()));
            EXPECT_FALSE(lum::xml::savesSameBytes(withDropped.get(), path, u"UTF-8")) << shift;
        }
    }
}

// A save in UTF-8 is written by the same writer; a document it gives up on
// half-way, after blocks already reached the file, is written again by
// libxml2 from the start.
TEST(SaveInUtf8, WritesLibxml2sBytesAndStartsOverWhereTheWriterGivesUp) {
    TempDir dir;
    CString path(dir.windows("feed.xml"));
    int saved = 0;
    for (unsigned seed = 0; seed < 200; ++seed) {
        // Not every random tree parses back (references to entities nothing
        // declares, text left unescaped): those are not saved.
        Doc doc = RandomTree(seed).make();
        if (lum::xml::saveFile(doc.get(), path, u"UTF-8")) {
            ASSERT_EQ(dir.read("feed.xml"), libxml2Bytes(doc.get())) << seed;
            ++saved;
        }
    }
    EXPECT_GT(saved, 20);

    Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (int i = 0; i < 20000; ++i) {
        xmlNewTextChild(root, nullptr, x("title"), x("some words"));
    }
    xmlNode* last = xmlNewTextChild(root, nullptr, x("last"), x("é"));
    Doc other(xmlNewDoc(x("1.0")));
    xmlAttr* foreign = xmlNewDocProp(other.get(), x("b"), x("é"));
    last->properties = foreign;
    foreign->parent = last;
    IndentedUtf8 outcome;
    ourBytes(doc.get(), &outcome);
    ASSERT_EQ(outcome, IndentedUtf8::NotOurs);
    EXPECT_TRUE(lum::xml::saveFile(doc.get(), path, u"UTF-8"));
    std::string expected = libxml2Bytes(doc.get());
    last->properties = nullptr;
    xmlFreeProp(foreign);
    EXPECT_GT(expected.size(), std::size_t{1} << 17);
    EXPECT_NE(expected.find("b=\"&#xE9;\""), std::string::npos);
    EXPECT_EQ(dir.read("feed.xml"), expected);
}

// Another spelling of UTF-8 keeps its name in the declaration: the bytes are
// those libxml2 writes through its UTF-8 converter, the characters XML
// cannot carry taken from the tree first.
TEST(SaveInUtf8, AnotherSpellingOfUtf8IsWrittenAndComparedAsLibxml2WritesIt) {
    TempDir dir;
    CString path(dir.windows("feed.xml"));
    int saves = 0;
    for (const char* spelling : {"utf-8", "UTF8"}) {
        for (unsigned seed = 0; seed < 100; ++seed) {
            Doc doc = RandomTree(seed).make();
            xmlNewTextChild(xmlDocGetRootElement(doc.get()), nullptr, x("t"), x("a\x01b"));
            if (!lum::xml::saveFile(doc.get(), path, CString::fromUtf8(spelling))) {
                continue;
            }
            // The save took the character out of the tree.
            std::string expected;
            xmlSaveFormatFileTo(xmlOutputBufferCreateIO(appendTo, nullptr, &expected,
                                                        xmlFindCharEncodingHandler(spelling)),
                                doc.get(), spelling, 1);
            const std::string saved = dir.read("feed.xml");
            ASSERT_EQ(saved, expected) << spelling << " " << seed;
            ASSERT_NE(saved.find(std::string("encoding=\"") + spelling + "\""), std::string::npos);
            EXPECT_TRUE(lum::xml::savesSameBytes(doc.get(), path, CString::fromUtf8(spelling)));
            std::string changed = saved;
            changed[changed.size() / 2] ^= 0x20;
            dir.write("feed.xml", changed);
            EXPECT_FALSE(lum::xml::savesSameBytes(doc.get(), path, CString::fromUtf8(spelling)));
            ++saves;
        }
    }
    EXPECT_GT(saves, 20);
}
