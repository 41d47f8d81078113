// The lookups that decide what a read takes and what it keeps as markup walk
// each host's children once for many names; they must pick exactly the
// children that one findChild per name picks, on every element of every
// fixture, of every truncation and of files with bytes changed.
#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumRssXmlData.h"
#include "hostapp/feedxml/CLumiTuneXmlData.h"
#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/feedxml/XmlText.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using FeedName = CLumRssAbstract::FeedName;

// Opens the protected lookup of the documents to the comparison below.
class Probe : public CLumRssXmlData {
  public:
    using CLumRssXmlData::CLumRssXmlData;
    using CLumRssXmlData::takeFirst;

    // What an item keeps, its taken children found one lookup per name.
    void itemKeptOnePerName(Node item, lum::KeptMarkup& out) const {
        constexpr FeedName kAuthor{"author"};
        NodeArray taken;
        for (const char* local :
             {"title", "link", "description", "author", "comments", "enclosure", "pubDate"}) {
            if (Node child = findChild(item, FeedName{local})) {
                taken.push_back(child);
            }
        }
        if (!findChild(item, kAuthor)) {
            if (Node creator = findChild(item, {"creator", kDublinCoreNamespace, "dc"})) {
                taken.push_back(creator);
            }
        }
        takeAll(item, {"category"}, taken);
        keepUntaken(item, taken, lum::KeptPlace::Host, 1, out);
    }
};

// The kept markup as text: each element's XML and each attribute, with where
// it goes back.
std::vector<std::string> describe(const lum::KeptMarkup& kept) {
    std::vector<std::string> out;
    for (const auto& e : kept.elements()) {
        out.push_back(lum::KeptMarkup::toXml(e.node) + " at " +
                      std::to_string(static_cast<int>(e.place)) + "/" + std::to_string(e.family));
    }
    for (const auto& a : kept.attributes()) {
        out.push_back(a.name() + "=" + a.value + " {" + a.nsUri + "} at " +
                      std::to_string(static_cast<int>(a.place)) + "/" + std::to_string(a.family));
    }
    return out;
}

// The name lists the documents ask for, the feed's own vocabulary mixed with
// extension vocabularies.
const std::vector<std::vector<FeedName>>& nameLists() {
    static const std::vector<std::vector<FeedName>> lists = {
        {{"title"},
         {"link"},
         {"description"},
         {"author"},
         {"comments"},
         {"enclosure"},
         {"pubDate"}},
        {{"title"},
         {"link"},
         {"description"},
         {"language"},
         {"copyright"},
         {"ttl"},
         {"image"},
         {"pubDate"}},
        {{"title"},
         {"link"},
         {"description"},
         {"creator", kDublinCoreNamespace, "dc"},
         {"date", kDublinCoreNamespace, "dc"},
         {"items"}},
        {{"author", kItunesNamespace, "itunes"},
         {"author"},
         {"summary", kItunesNamespace, "itunes"},
         {"category", kItunesNamespace, "itunes"},
         {"category"}},
        {{"title"}, {"title"}, {"creator", kDublinCoreNamespace, "dc"}},
    };
    return lists;
}

std::vector<const xmlNode*> inOrder(const NodeArray& nodes) {
    std::vector<const xmlNode*> out;
    for (const Node& n : nodes) {
        out.push_back(n.raw());
    }
    return out;
}

std::vector<const xmlNode*> sorted(const NodeArray& nodes) {
    std::vector<const xmlNode*> out = inOrder(nodes);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

NodeArray taken(Node host, const std::vector<FeedName>& names) {
    NodeArray out;
    // takeFirst takes an initializer list, as the documents call it.
    switch (names.size()) {
        case 3:
            Probe::takeFirst(host, {names[0], names[1], names[2]}, out);
            break;
        case 5:
            Probe::takeFirst(host, {names[0], names[1], names[2], names[3], names[4]}, out);
            break;
        case 6:
            Probe::takeFirst(host, {names[0], names[1], names[2], names[3], names[4], names[5]},
                             out);
            break;
        case 7:
            Probe::takeFirst(
                host, {names[0], names[1], names[2], names[3], names[4], names[5], names[6]}, out);
            break;
        case 8:
            Probe::takeFirst(
                host,
                {names[0], names[1], names[2], names[3], names[4], names[5], names[6], names[7]},
                out);
            break;
        default:
            ADD_FAILURE() << "no call for a list of " << names.size() << " names";
    }
    return out;
}

NodeArray onePerName(Node host, const std::vector<FeedName>& names) {
    NodeArray out;
    for (const FeedName& name : names) {
        if (Node child = CLumRssAbstract::findChild(host, name)) {
            out.push_back(child);
        }
    }
    return out;
}

// The author as one lookup per question: the author element, else dc:creator.
CString authorOnePerName(Node node) {
    constexpr FeedName kAuthor{"author"};
    constexpr FeedName kCreator{"creator", kDublinCoreNamespace, "dc"};
    Node author = CLumRssAbstract::findChild(node, kAuthor);
    Node creator = CLumRssAbstract::findChild(node, kCreator);
    return lum::xml::escapeEntities(!author && creator ? creator.getTextContent()
                                                       : author.getTextContent());
}

void compareBelow(const Probe& doc, xmlNode* node, const std::string& what, int& hosts) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        ++hosts;
        for (const auto& names : nameLists()) {
            NodeArray plain = onePerName(Node(node), names);
            ASSERT_EQ(sorted(taken(Node(node), names)), sorted(plain))
                << what << ", element " << node->name;
            // The same lookups through the list of the element's children.
            CLumRssAbstract::ChildrenListed listed(node);
            ASSERT_EQ(inOrder(onePerName(Node(node), names)), inOrder(plain))
                << what << ", element " << node->name << ", its children listed";
        }
        CString author = u"stale";
        doc.getAuthor(Node(node), author);
        ASSERT_EQ(author, authorOnePerName(Node(node))) << what << ", element " << node->name;
        lum::KeptMarkup kept;
        lum::KeptMarkup expected;
        doc.getItemKept(Node(node), kept);
        doc.itemKeptOnePerName(Node(node), expected);
        ASSERT_EQ(describe(kept), describe(expected)) << what << ", element " << node->name;
        compareBelow(doc, node->children, what, hosts);
    }
}

std::string readBytes(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ChildLookup : public ::testing::Test {
  protected:
    // The number of elements compared; 0 when the file does not load.
    int compare(const CString& path, const std::string& what) {
        Probe doc(path, nullptr);
        int hosts = 0;
        if (doc.IsOK()) {
            compareBelow(doc, xmlDocGetRootElement(doc.Document->raw()), what, hosts);
        }
        return hosts;
    }
    int compareBytes(const std::string& bytes, const std::string& what) {
        m_dir.write("doc.xml", bytes);
        return compare(CString(m_dir.windows("doc.xml")), what);
    }
    TempDir m_dir;
};

TEST_F(ChildLookup, EveryElementOfEveryFixtureTakesWhatOneLookupPerNameTakes) {
    int hosts = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(NEWSDESK_FIXTURES) + "/feed")) {
        hosts += compare(fixturePath("feed/" + entry.path().filename().string()),
                         entry.path().filename().string());
    }
    EXPECT_GE(hosts, 100);  // the fixtures were read, not skipped
}

TEST_F(ChildLookup, NamesThatRepeatOrDifferInCaseOrPrefixTakeTheSameChildren) {
    const std::vector<std::string> documents = {
        "<rss><channel><item><Title>a</Title><title>b</title><TITLE/><author>x</author>"
        "<dc:creator xmlns:dc='http://purl.org/dc/elements/1.1/'>c</dc:creator></item>"
        "</channel></rss>",
        "<rss xmlns:dc='http://purl.org/dc/elements/1.1/'><channel><item>"
        "<dc:creator>first</dc:creator><DC:CREATOR>undeclared</DC:CREATOR>"
        "<creator>plain</creator><dc:creator>second</dc:creator></item></channel></rss>",
        "<rss xmlns:i='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel><item>"
        "<i:author>p</i:author><itunes:author>q</itunes:author><author>r &amp; s</author>"
        "<i:category/><category/></item></channel></rss>",
        "<rss><channel><item>text only<!-- a comment --><?pi x?></item><item/></channel></rss>",
        "<rss><channel><item><Itunes:Summary>u</Itunes:Summary><itunes:author>v</itunes:author>"
        "<DC:creator>w</DC:creator><Author>x</Author><Title>y</Title></item></channel></rss>",
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
        "xmlns='http://purl.org/rss/1.0/' xmlns:r='http://purl.org/rss/1.0/'><r:channel>"
        "<r:title>t</r:title><title>u</title><items/></r:channel></rdf:RDF>",
    };
    int hosts = 0;
    for (const std::string& document : documents) {
        hosts += compareBytes(document, document);
    }
    EXPECT_GE(hosts, 30);
}

// An extension element read under a prefix the feed never declared keeps the
// prefix in its name, and still answers to its field, in any letter case.
TEST_F(ChildLookup, AnUndeclaredPrefixStaysPartOfTheNameItAnswersBy) {
    xmlDoc* doc = xmlReadMemory("<x/>", 4, nullptr, nullptr, 0);
    xmlNode* root = xmlDocGetRootElement(doc);
    const FeedName summary{"summary", "http://www.itunes.com/dtds/podcast-1.0.dtd", "itunes"};
    const struct {
        const char* name;
        bool answers;
    } cases[] = {
        {"itunes:summary", true}, {"ITunes:Summary", true},   {"itunes:summaryx", false},
        {"itune:summary", false}, {"itunesx:summary", false}, {"itunes:", false},
        {"itunes", false},        {"summary", false},         {"itunessummary", false},
    };
    for (const auto& c : cases) {
        xmlNode* child = xmlNewChild(root, nullptr, BAD_CAST c.name, nullptr);
        EXPECT_EQ(CLumRssAbstract::isNamed(Node(child), summary), c.answers) << c.name;
    }
    xmlFreeDoc(doc);
}

// A list answers only while it lives: an element changed after it, or listed
// while another list lived, is looked through as it is.
TEST_F(ChildLookup, AListAnswersOnlyWhileItLivesAndOnlyForItsElement) {
    const std::string text =
        "<rss><channel><item><title>a</title></item>"
        "<item><link>b</link></item></channel></rss>";
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, 0);
    ASSERT_NE(doc, nullptr);
    xmlNode* first = xmlDocGetRootElement(doc)->children->children;
    xmlNode* second = first->next;
    const FeedName title{"title"};
    const FeedName link{"link"};
    {
        CLumRssAbstract::ChildrenListed listed(first);
        {
            CLumRssAbstract::ChildrenListed another(second);
            EXPECT_EQ(CLumRssAbstract::findChild(Node(second), link).raw(), second->children);
            EXPECT_EQ(CLumRssAbstract::findChild(Node(first), title).raw(), first->children);
        }
        EXPECT_EQ(CLumRssAbstract::findChild(Node(first), title).raw(), first->children);
        EXPECT_FALSE(CLumRssAbstract::findChild(Node(first), link));
    }
    xmlNode* added = xmlNewChild(first, nullptr, BAD_CAST "link", BAD_CAST "c");
    EXPECT_EQ(CLumRssAbstract::findChild(Node(first), link).raw(), added);
    {
        // Listed again, the element's new child is among its children.
        CLumRssAbstract::ChildrenListed listed(first);
        EXPECT_EQ(CLumRssAbstract::findChild(Node(first), link).raw(), added);
    }
    xmlFreeDoc(doc);
}

// Whether an element holds text, asked without its text, answers as its
// text does: on every element of the fixtures and of odd shapes.
void expectHoldsTextAsItsTextSays(xmlNode* node, const std::string& what, int& elements) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            ++elements;
            EXPECT_EQ(Node(node).hasTextContent(), !Node(node).getTextContent().IsEmpty())
                << what << ", element " << node->name;
            expectHoldsTextAsItsTextSays(node->children, what, elements);
        }
    }
}

TEST_F(ChildLookup, AnElementHoldsTextExactlyWhenItsTextIsNotEmpty) {
    int elements = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(NEWSDESK_FIXTURES) + "/feed")) {
        Probe doc(fixturePath("feed/" + entry.path().filename().string()), nullptr);
        if (doc.IsOK()) {
            expectHoldsTextAsItsTextSays(xmlDocGetRootElement(doc.Document->raw()),
                                         entry.path().filename().string(), elements);
        }
    }
    const std::string odd =
        "<!DOCTYPE r [<!ENTITY e 'x'><!ENTITY n ''>]><r><a></a><b> </b><c><![CDATA[]]></c>"
        "<d><![CDATA[x]]></d><e><f/></e><g><h>x</h></g><i>&e;</i><j>&n;</j><k>&amp;</k>"
        "<l><!-- c --></l><m><?p x?></m><n>a<o/>b</n></r>";
    xmlDoc* doc = xmlReadMemory(odd.data(), static_cast<int>(odd.size()), nullptr, nullptr, 0);
    ASSERT_NE(doc, nullptr);
    expectHoldsTextAsItsTextSays(xmlDocGetRootElement(doc), odd, elements);
    xmlFreeDoc(doc);
    EXPECT_GE(elements, 300);
}

// An attribute read at once answers as asking for it and for its value do:
// present, empty, missing, a namespace declaration, a name in capitals.
TEST_F(ChildLookup, AnAttributeReadAtOnceAnswersAsItsTwoQuestions) {
    const std::string text =
        "<r xmlns:itunes='urn:i' XMLNS:DC='urn:d' a='1' b='' c='x &amp; y' itunes:d='i'/>";
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, 0);
    ASSERT_NE(doc, nullptr);
    Element root(xmlDocGetRootElement(doc));
    for (const char16_t* name : {u"a", u"A", u"b", u"c", u"itunes:d", u"d", u"xmlns:itunes",
                                 u"xmlns:dc", u"XMLNS:DC", u"missing", u""}) {
        CString value = u"left over";
        bool present = root.readAttribute(name, value);
        EXPECT_EQ(present, root.hasAttribute(name)) << CString(name).toUtf8();
        EXPECT_EQ(value, root.getAttribute(name)) << CString(name).toUtf8();
    }
    xmlFreeDoc(doc);
}

TEST_F(ChildLookup, EveryTruncationAndChangedByteTakesWhatOneLookupPerNameTakes) {
    for (const char* name : {"podcast_full.xml", "rss20_full.xml", "rdf_full.xml"}) {
        std::string whole = readBytes(std::string(NEWSDESK_FIXTURES) + "/feed/" + name);
        for (std::size_t cut = 0; cut <= whole.size(); cut += cut < 100 ? 1 : 29) {
            compareBytes(whole.substr(0, cut),
                         std::string(name) + " cut at " + std::to_string(cut));
        }
        for (std::size_t at = 0; at < whole.size(); at += 13) {
            for (char replacement : {'<', '>', '/', 'T', '\0'}) {
                std::string changed = whole;
                changed[at] = replacement;
                compareBytes(changed, std::string(name) + " byte " + std::to_string(at) + " made " +
                                          std::to_string(replacement));
            }
        }
    }
}

}  // namespace
