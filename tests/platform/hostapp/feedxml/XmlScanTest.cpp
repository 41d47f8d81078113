// The streaming pass must answer exactly as the tree does: `newsdesk format`
// relies on it for every file, the malformed and the hostile included.
#include "hostapp/feedxml/XmlFile.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What a document tells about itself: whether it loads, the root's name and
// its "xmlns:itunes" as the tree's accessors read them.
struct Answer {
    bool loads = false;
    std::u16string root;
    std::u16string itunes;
    bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answer& a) {
    return out << (a.loads ? "loads, root " : "does not load, root ") << CString(a.root).toUtf8()
               << ", itunes " << CString(a.itunes).toUtf8();
}

Answer fromTree(const CString& path) {
    Answer answer;
    xmlDoc* doc = lum::xml::loadFile(path);
    answer.loads = doc != nullptr;
    if (doc != nullptr) {
        Element root(xmlDocGetRootElement(doc));
        answer.root = root.getTagName().str();
        answer.itunes = root.getAttribute(u"xmlns:itunes").str();
        xmlFreeDoc(doc);
    }
    return answer;
}

Answer fromScan(const CString& path) {
    Answer answer;
    Answer seen;
    answer.loads = lum::xml::scanFile(path, [&](const Element& root) {
        seen.root = root.getTagName().str();
        seen.itunes = root.getAttribute(u"xmlns:itunes").str();
    });
    if (answer.loads) {
        answer.root = seen.root;
        answer.itunes = seen.itunes;
    }
    return answer;
}

std::string readBytes(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class XmlScan : public ::testing::Test {
  protected:
    // Every file opened up is parsed on a thread of its own, as a large
    // one is.
    XmlScan() : m_asideFrom(lum::xml::parseAsideFrom(0)) {}
    ~XmlScan() override { lum::xml::parseAsideFrom(m_asideFrom); }
    void expectSameAnswer(const std::string& bytes, const std::string& what) {
        m_dir.write("doc.xml", bytes);
        CString path(m_dir.windows("doc.xml"));
        EXPECT_EQ(fromScan(path), fromTree(path)) << what;
    }
    std::uint64_t m_asideFrom;
    TempDir m_dir;
};

TEST_F(XmlScan, EveryFixtureGetsTheTreesAnswer) {
    int loading = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(NEWSDESK_FIXTURES) + "/feed")) {
        CString path = fixturePath("feed/" + entry.path().filename().string());
        Answer tree = fromTree(path);
        EXPECT_EQ(fromScan(path), tree) << entry.path();
        loading += tree.loads;
    }
    EXPECT_GE(loading, 10);  // the corpus has readable feeds, not only broken ones
}

TEST_F(XmlScan, EveryTruncationOfAFeedGetsTheTreesAnswer) {
    for (const char* name : {"podcast_full.xml", "rss20_utf16_bom.xml", "rdf_full.xml"}) {
        std::string whole = readBytes(std::string(NEWSDESK_FIXTURES) + "/feed/" + name);
        for (std::size_t cut = 0; cut <= whole.size(); cut += cut < 200 ? 1 : 37) {
            expectSameAnswer(whole.substr(0, cut),
                             std::string(name) + " cut at " + std::to_string(cut));
        }
    }
}

TEST_F(XmlScan, BytesChangedAnywhereGetTheTreesAnswer) {
    std::string whole = readBytes(std::string(NEWSDESK_FIXTURES) + "/feed/podcast_full.xml");
    for (std::size_t at = 0; at < whole.size(); at += 11) {
        for (char replacement : {'<', '&', '"', '\0', '\xff', ':'}) {
            std::string changed = whole;
            changed[at] = replacement;
            expectSameAnswer(changed, "byte " + std::to_string(at) + " made " +
                                          std::to_string(static_cast<unsigned char>(replacement)));
        }
    }
}

TEST_F(XmlScan, MarkupMistakesAndOddRootsGetTheTreesAnswer) {
    const std::vector<std::string> documents = {
        "<rss xmlns:itunes='x'/>",
        "<RSS XMLNS:ITUNES='x' version='2.0'><channel/></RSS>",
        "<rss xmlns:itunes=''/>",
        "<rss xmlns:ITUNES='x'/>",
        "<p:rss xmlns:p='u' xmlns:itunes='i'/>",
        "<rss a='1' a='2'/>",
        "<rss itunes:x='1'/>",
        "<undeclared:rss/>",
        "<rss/><rss/>",
        "<rss/>trailing",
        "<rss/><!-- after --><?pi after?>",
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/>",
        "",
        "   ",
        "<?xml version='1.0' encoding='nonsense'?><rss/>",
        "<?xml version='1.0' encoding='UTF-16'?><rss/>",
        "\xef\xbb\xbf<rss/>",
        "<rss>&undeclared;</rss>",
        "<!DOCTYPE rss [<!ENTITY e 'x'>]><rss a='&e;'>&e;</rss>",
        "<!DOCTYPE rss [<!ENTITY e '<b>'>]><rss>&e;</rss>",
        "<!DOCTYPE rss [<!ENTITY e '<b>'>]><rss>text</rss>",
        "<!DOCTYPE rss SYSTEM 'http://example.com/x.dtd'><rss>&e;</rss>",
        "<rss><![CDATA[ <not markup> ]]></rss>",
        "<rss xmlns:itunes='&amp;'/>",
        // What only a repair reads: undeclared HTML entities, UTF-8 under
        // another declared encoding.
        "<rss>&nbsp;</rss>",
        "<rss xmlns:itunes='&nbsp;'/>",
        "<rss a='&eacute;'><channel>&hellip;</channel></rss>",
        "<!DOCTYPE rss SYSTEM 'x.dtd'><rss>&nbsp;</rss>",
        "<?xml version='1.0' encoding='ISO-8859-1'?><rss xmlns:itunes='caf\xc3\xa9'/>",
        "<?xml version='1.0' encoding='windows-1252'?><rss>\xe6\x97\xa5</rss>",
        "<?xml version='1.0' encoding='Shift_JIS'?><rss>\xe6\x97\xa5\xe6\x9c\xac</rss>",
        "<rss>&nbsp;<unclosed></rss>",
    };
    for (const std::string& document : documents) {
        expectSameAnswer(document, document);
    }
}

TEST_F(XmlScan, MarkupPastTheLimitsFarIntoTheFileIsRefusedAsTheTreeRefusesIt) {
    // The file is read in blocks of 64 KiB: what breaks the limits lies
    // in a later block, across the end of one, or just after it.
    std::string attributes;
    for (int i = 0; i < 300; ++i) {
        attributes += " a" + std::to_string(i) + "='v'";
    }
    for (std::size_t before :
         {std::size_t{200000}, std::size_t{65536 - 40}, std::size_t{65536 - 5}}) {
        const std::string item = "<item><title>t</title></item>";
        std::string file = "<rss><channel>";
        while (file.size() + item.size() <= before) {
            file += item;
        }
        file.resize(before, ' ');
        file += "<item" + attributes + "/></channel></rss>";
        expectSameAnswer(file, "past the limits at " + std::to_string(before));
        EXPECT_FALSE(lum::xml::scanFile(CString(m_dir.windows("doc.xml")), [](const Element&) {}));
    }
}

TEST_F(XmlScan, EntitiesThatExpandPastTheLimitAreRefusedAsTheTreeRefusesThem) {
    // An entity of 100,000 characters in a file of about 100 KB, whose
    // limit is 1 MiB and ten times its size: about twenty references are
    // allowed. Counted in text, in attributes and inside other entities
    // (there once for the declaration and once for the reference).
    std::string big(100000, 'x');
    for (int references = 8; references <= 24; references += references < 18 ? 2 : 1) {
        std::string inText;
        std::string inAttribute;
        std::string inEntity;
        for (int i = 0; i < references; ++i) {
            inText += "&big;";
            inAttribute += "&big;";
            inEntity += "&big;";
        }
        std::string dtd = "<!DOCTYPE rss [<!ENTITY big '" + big + "'>";
        expectSameAnswer(dtd + "]><rss>" + inText + "</rss>", "text " + std::to_string(references));
        expectSameAnswer(dtd + "]><rss a='" + inAttribute + "'/>",
                         "attribute " + std::to_string(references));
        expectSameAnswer(dtd + "<!ENTITY all '" + inEntity + "'>]><rss>&all;</rss>",
                         "nested " + std::to_string(references));
    }
}

TEST_F(XmlScan, TheRootIsReportedOnceAndMissingFilesDoNotLoad) {
    m_dir.write("doc.xml", "<rss><channel><rss/></channel></rss>");
    int roots = 0;
    EXPECT_TRUE(
        lum::xml::scanFile(CString(m_dir.windows("doc.xml")), [&](const Element&) { ++roots; }));
    EXPECT_EQ(roots, 1);
    EXPECT_FALSE(lum::xml::scanFile(CString(m_dir.windows("missing.xml")),
                                    [&](const Element&) { ++roots; }));
    EXPECT_FALSE(lum::xml::scanFile(CString(m_dir.windows()), [&](const Element&) { ++roots; }));
    EXPECT_EQ(roots, 1);
}

// What the pass meets when it opens up only some elements: the root and
// those elements with their children after them, every other element once,
// whole, and nothing below it; in the order of the file.
std::vector<std::string> metOpeningUp(const CString& path, const char* opened,
                                      std::optional<lum::xml::StrictScan>& scan) {
    std::vector<std::string> met;
    scan = lum::xml::scanStrictly(
        path,
        [&](const lum::xml::ScannedElement& element) {
            std::string line =
                std::to_string(element.depth()) + " " + element.element().getTagName().toUtf8();
            if (element.depth() > 0 && element.element().getTagName().toUtf8() != opened) {
                line += " " + element.textContent().toUtf8();
            }
            met.push_back(line);
        },
        [&](const xmlNode* element, int) {
            return std::string(reinterpret_cast<const char*>(element->name)) == opened;
        });
    return met;
}

TEST_F(XmlScan, OpeningUpSomeElementsMeetsEveryOtherOneWholeAndInTurn) {
    std::string items;
    for (int i = 0; i < 3000; ++i) {
        items += "<item a='" + std::to_string(i) + "'><t>" + std::to_string(i) + "</t><x><y>" +
                 (i % 2 != 0 ? "odd" : "") + "</y></x></item>";
    }
    const std::string file = "<rss><c>" + items + "<end/></c><after>a<b>b</b></after><c/></rss>";
    std::vector<std::string> expected = {"0 rss", "1 c"};
    for (int i = 0; i < 3000; ++i) {
        expected.push_back("2 item " + std::to_string(i) + (i % 2 != 0 ? "odd" : ""));
    }
    expected.insert(expected.end(), {"2 end ", "1 after ab", "1 c"});
    // With a document type the reader's pass meets them, and meets them
    // alike.
    for (const std::string& prolog : {std::string(), std::string("<!DOCTYPE rss>")}) {
        m_dir.write("doc.xml", prolog + file);
        std::optional<lum::xml::StrictScan> scan;
        std::vector<std::string> met = metOpeningUp(CString(m_dir.windows("doc.xml")), "c", scan);
        ASSERT_TRUE(scan && scan->loads) << prolog;
        if (prolog.empty()) {
            EXPECT_EQ(met, expected);
        } else {
            // The elements inside those met whole come as well.
            EXPECT_EQ(met.size(), expected.size() + 3000 * 3 + 1) << prolog;
        }
    }
    // A file smaller than the size from which files are parsed aside is
    // parsed in the caller's thread, and met alike.
    m_dir.write("doc.xml", file);
    lum::xml::parseAsideFrom(file.size() + 1);
    std::optional<lum::xml::StrictScan> small;
    EXPECT_EQ(metOpeningUp(CString(m_dir.windows("doc.xml")), "c", small), expected);
    EXPECT_TRUE(small && small->loads);
    lum::xml::parseAsideFrom(0);
    // A file that breaks off after many items does not load, and what was
    // met stands for nothing.
    m_dir.write("doc.xml", file.substr(0, file.size() / 2));
    std::optional<lum::xml::StrictScan> scan;
    metOpeningUp(CString(m_dir.windows("doc.xml")), "c", scan);
    EXPECT_FALSE(scan);
}

// Each whole element as it is met, written out, against the same element of
// the tree: what the parse hands over is built from nodes it took back from
// the wholes before, and must hold nothing of them.
TEST_F(XmlScan, WholesOfEveryKindOfNodeAreMetAsTheTreeHoldsThem) {
    std::string items;
    for (int i = 0; i < 400; ++i) {
        std::string n = std::to_string(i);
        std::string attributes;
        for (int a = 0; a < (i % 50 == 7 ? 200 : i % 3); ++a) {
            attributes += " a" + std::to_string(a) + "='" + n + "'";
        }
        std::string many;
        for (int k = 0; k < (i == 123 ? 5000 : 0); ++k) {
            many += "<p>" + std::to_string(k) + "</p>";
        }
        items += "<item" + attributes + (i % 4 == 0 ? " xml:id='i" + n + "'" : "") + ">" +
                 "<!-- c" + n + " --><?pi " + n + "?><title>A &amp; " + n +
                 " &#x263A; a rather longer title than a node holds in itself</title>" +
                 "<m:x xmlns:m='urn:m" + n + "' m:y='" + n + "'>" + n + "</m:x>" + many +
                 "<e/></item><!-- between --><?between?>\n  ";
    }
    m_dir.write("doc.xml", "<rss><channel>\n" + items + "</channel></rss>");
    CString path(m_dir.windows("doc.xml"));
    auto written = [](xmlNode* node) {
        xmlBuffer* buffer = xmlBufferCreate();
        xmlNodeDump(buffer, node->doc, node, 0, 0);
        std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)));
        xmlBufferFree(buffer);
        return text;
    };
    std::vector<std::string> met;
    auto scan = lum::xml::scanStrictly(
        path,
        [&](const lum::xml::ScannedElement& element) {
            if (element.depth() == 2) {
                met.push_back(written(element.subtree()));
            }
        },
        [](const xmlNode*, int depth) { return depth < 2; });
    ASSERT_TRUE(scan && scan->loads);
    xmlDoc* tree = lum::xml::loadFile(path);
    ASSERT_NE(tree, nullptr);
    std::vector<std::string> expected;
    for (xmlNode* c = xmlDocGetRootElement(tree)->children->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) {
            expected.push_back(written(c));
        }
    }
    xmlFreeDoc(tree);
    ASSERT_EQ(met.size(), 400u);
    EXPECT_EQ(met, expected);
}

TEST_F(XmlScan, ACallerThatGivesUpWhileOpeningUpLeavesNothingBehind) {
    std::string items;
    for (int i = 0; i < 5000; ++i) {
        items += "<item><title>" + std::to_string(i) + "</title></item>";
    }
    m_dir.write("doc.xml", "<rss><channel>" + items + "</channel></rss>");
    CString path(m_dir.windows("doc.xml"));
    for (int stopAt : {1, 2, 70, 4000}) {
        int met = 0;
        EXPECT_THROW(lum::xml::scanStrictly(
                         path,
                         [&](const lum::xml::ScannedElement&) {
                             if (++met == stopAt) {
                                 throw std::runtime_error("stop");
                             }
                         },
                         [](const xmlNode*, int depth) { return depth == 1; }),
                     std::runtime_error)
            << stopAt;
        EXPECT_EQ(met, stopAt);
    }
    // The file is read again as well as ever.
    int met = 0;
    auto scan = lum::xml::scanStrictly(
        path, [&](const lum::xml::ScannedElement&) { ++met; },
        [](const xmlNode*, int depth) { return depth == 1; });
    EXPECT_TRUE(scan && scan->loads);
    EXPECT_EQ(met, 5002);
}

}  // namespace
