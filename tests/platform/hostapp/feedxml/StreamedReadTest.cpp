// A document read in one streaming pass must answer every getter exactly as
// the same document loaded into a tree: on every fixture, on every
// truncation and on files with bytes changed, kept markup included, and
// through a change made after the read.
#include "Fixtures.h"
#include "TempDir.h"
#include "hostapp/feedxml/XmlFile.h"
#include "support/StreamedAnswers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace newsdesk::testing;

std::string readBytes(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file is parsed on a thread of its own, as a large feed is (0), or in
// the caller's thread, as a small one is.
class StreamedRead : public ::testing::TestWithParam<std::uint64_t> {
  protected:
    StreamedRead() : m_asideFrom(lum::xml::parseAsideFrom(GetParam())) {}
    ~StreamedRead() override { lum::xml::parseAsideFrom(m_asideFrom); }
    // Whether the file was streamed as some kind of document: its channel
    // is found only by the document of its own kind. Streamed or not, each
    // answers as its tree. Every file is read as each kind of document.
    // Oddly, every item is also asked what no reader asks, which costs a walk
    // of the file for each.
    bool expectSameAnswers(const CString& path, const std::string& what, bool oddly = true) {
        bool rss2 = expectSameAnswersOf<CLumRssXmlData>(path, what + " as RSS 2.0", oddly);
        bool podcast = expectSameAnswersOf<CLumiTuneXmlData>(path, what + " as a podcast", oddly);
        bool rdf = expectSameAnswersOf<CLumRdfXmlData>(path, what + " as RSS 1.0", oddly);
        EXPECT_EQ(rss2, podcast) << what;
        return rss2 || rdf;
    }
    template <typename Feed>
    bool expectSameAnswersOf(const CString& path, const std::string& what, bool oddly) {
        Probe<Feed> streamed(path, nullptr);
        Probe<Feed> tree(path, nullptr);
        tree.Document.get();
        bool fromStream = streamed.answersFromStream();
        EXPECT_EQ(readAll(streamed), readAll(tree)) << what;
        // A read does not fall back on the tree on its way.
        EXPECT_EQ(streamed.answersFromStream(), fromStream) << what;
        if (oddly) {
            EXPECT_EQ(askOddly(streamed), askOddly(tree)) << what;
        }
        return fromStream;
    }
    bool expectSameAnswers(const std::string& bytes, const std::string& what, bool oddly = true) {
        m_dir.write("doc.xml", bytes);
        return expectSameAnswers(CString(m_dir.windows("doc.xml")), what, oddly);
    }
    std::uint64_t m_asideFrom;
    TempDir m_dir;
};

INSTANTIATE_TEST_SUITE_P(OnItsOwnThreadAndInTheCallers, StreamedRead,
                         ::testing::Values(std::uint64_t{0},
                                           std::numeric_limits<std::uint64_t>::max()));

TEST_P(StreamedRead, EveryFixtureAnswersAsItsTree) {
    int streamed = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(NEWSDESK_FIXTURES))) {
        if (entry.is_regular_file()) {
            std::string name = entry.path().lexically_relative(NEWSDESK_FIXTURES).string();
            streamed += expectSameAnswers(fixturePath(name), name) ? 1 : 0;
        }
    }
    EXPECT_GE(streamed, 15);  // the streaming pass was taken, not only the tree
}

TEST_P(StreamedRead, EveryTruncationAndChangedByteAnswersAsTheTree) {
    for (const char* name : {"feed/rss20_full.xml", "feed/podcast_full.xml", "feed/rdf_full.xml",
                             "lossless/news_rss2_media_content_image_size.xml"}) {
        std::string whole = readBytes(std::string(NEWSDESK_FIXTURES) + "/" + name);
        for (std::size_t cut = 0; cut <= whole.size(); cut += cut < 100 ? 7 : 61) {
            expectSameAnswers(whole.substr(0, cut),
                              std::string(name) + " cut at " + std::to_string(cut));
        }
        for (std::size_t at = 0; at < whole.size(); at += 29) {
            for (char replacement : {'<', '/', 'T', '\0'}) {
                std::string changed = whole;
                changed[at] = replacement;
                expectSameAnswers(changed, std::string(name) + " byte " + std::to_string(at) +
                                               " made " + std::to_string(replacement));
            }
        }
    }
}

TEST_P(StreamedRead, OddShapesAnswerAsTheTree) {
    const std::vector<std::pair<std::string, bool>> documents = {
        // Items beside the channel, a second title, names in other cases and
        // under prefixes, kept markup whose namespaces the root declares.
        {"<rss version='2.0' xmlns:dc='http://purl.org/dc/elements/1.1/' "
         "xmlns:media='http://search.yahoo.com/mrss/' xml:lang='en'><channel a='1'>"
         "<title>T &amp; U</title><Title>second</Title><image><url>i</url><title>T &amp; U</title>"
         "<link>elsewhere</link><width>9</width></image><category domain='d'>c1</category>"
         "<item x='y'><TITLE>a</TITLE><dc:creator>ann</dc:creator><media:content url='m'/>"
         "<category>k<b>bold</b></category><enclosure url='u' length='5'/>"
         "<enclosure url='v'/><guid>g</guid></item><extra>e</extra>"
         "<item/><item><![CDATA[<text>]]></item></channel><item><title>stray</title></item>"
         "<beside>b</beside></rss>",
         true},
        // Undeclared prefixes stay in the names.
        {"<rss><channel><item><itunes:category text='x'/><dc:creator>c</dc:creator>"
         "<ENCLOSURE URL='u'/></item></channel></rss>",
         true},
        // A default namespace on the root, RSS 1.0's under a prefix.
        {"<rss xmlns='http://example.com/' xmlns:r='http://purl.org/rss/1.0/'>"
         "<r:channel><r:item><r:title>t</r:title></r:item></r:channel></rss>",
         true},
        // A podcast's own parts: an owner, nested categories, a summary
        // left empty for the description.
        {"<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel>"
         "<itunes:owner><itunes:name>n</itunes:name></itunes:owner><itunes:image href='h'/>"
         "<itunes:category text='A &amp; B'><itunes:category text='sub'/></itunes:category>"
         "<item><itunes:summary></itunes:summary><description>d</description>"
         "<itunes:author>a</itunes:author><itunes:category text='ic'/><itunes:block>yes"
         "</itunes:block><itunes:duration>1:00</itunes:duration><podcast:x>k</podcast:x>"
         "<enclosure url='e' length='3' type='audio/mpeg'/></item></channel></rss>",
         true},
        // An item's parts nested, declaring their own namespace, under the
        // xml prefix, a second enclosure after the first.
        {"<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel><item>"
         "<itunes:category text='top'><itunes:category text='sub'/></itunes:category>"
         "<c:category xmlns:c='urn:c' c:domain='d'>cc</c:category><xml:enclosure url='x'/>"
         "<enclosure url='a' type='t'/><category><category>in</category></category>"
         "<enclosure url='b'/></item></channel></rss>",
         true},
        // RSS 1.0 with its image beside the channel and an item in it.
        {"<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
         "xmlns='http://purl.org/rss/1.0/' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
         "<channel rdf:about='c'><title>t</title><image rdf:resource='i'/><items><rdf:Seq>"
         "<rdf:li rdf:resource='a'/></rdf:Seq></items><item rdf:about='n'><title>in</title>"
         "</item></channel><image rdf:about='i'><title>t</title><url>u</url><link>x</link>"
         "</image><item rdf:about='a'><title>a</title><dc:date>2024-01-01</dc:date><dc:subject>"
         "s</dc:subject></item><textinput rdf:about='ti'/></rdf:RDF>",
         true},
        // Items declaring namespaces of their own for what they keep, with
        // IDs; a document type without entities.
        {"<rss xmlns:dc='http://purl.org/dc/elements/1.1/'><channel><title>t</title>"
         "<item xmlns:m='urn:m' m:a='1' xml:id='i1'><m:x xml:id='k'>k</m:x><title>t</title>"
         "<dc:creator>c</dc:creator><m:category>mc</m:category></item><item xml:id='i2'>"
         "<m:x xmlns:m='urn:other'>o</m:x><enclosure xmlns:e='urn:e' e:u='1' url='u'/></item>"
         "</channel></rss>",
         true},
        {"<!DOCTYPE rss SYSTEM 'rss.dtd'><rss><channel><item><title>t</title><x:y xmlns:x='u'/>"
         "</item></channel></rss>",
         true},
        // Two channels: the tree answers.
        {"<rss><channel><item><title>1</title></item></channel>"
         "<channel><item><title>2</title></item></channel></rss>",
         false},
        // Entities of its own: the tree answers, with them inlined.
        {"<!DOCTYPE rss [<!ENTITY e 'ee'>]><rss><channel><item><title>&e;</title>"
         "<guid>&e;</guid></item></channel></rss>",
         false},
        // No channel at all.
        {"<rss><item><title>t</title></item></rss>", false},
        // An empty CDATA section in an element kept as markup: the tree holds
        // an empty text there, and writes the element with an end tag.
        {"<rss xmlns:content='http://purl.org/rss/1.0/modules/content/'><channel><item>"
         "<title>t</title><content:encoded><![CDATA[]]></content:encoded><x><![CDATA[]]>"
         "</x></item></channel></rss>",
         true},
        // A letter written in two bytes where UTF-8 takes one, in a CDATA
        // section: the tree refuses the file, and so does the pass.
        {"<rss><channel><item><title>t</title><description><![CDATA[a \xC1\x90w]]>"
         "</description></item></channel></rss>",
         false},
    };
    for (const auto& [document, streams] : documents) {
        EXPECT_EQ(expectSameAnswers(document, document), streams) << document;
    }
}

TEST_P(StreamedRead, LineEndsAnswerAsInTheTree) {
    // A carriage return becomes a line feed wherever the file has one, a
    // CDATA section included; one written as a reference stays.
    const std::string item =
        "<item><title>a\r\nb\rc</title><description><![CDATA[<p>x\r\ny\rz</p>\r]]>"
        "</description><content:encoded><![CDATA[k\r\n]]></content:encoded>"
        "<category domain='d\r\ne'>c&#13;d</category></item>";
    const std::string head =
        "<rss xmlns:content='http://purl.org/rss/1.0/modules/content/'>"
        "<channel><title>t</title>\r\n";
    EXPECT_TRUE(expectSameAnswers(head + item + "</channel></rss>\r\n", "line ends"));
    // One line end across the end of a block the file is read in.
    std::string across = head + "<item><description><![CDATA[";
    across.resize(65535, 'x');
    EXPECT_TRUE(expectSameAnswers(across + "\r\ny]]></description></item></channel></rss>",
                                  "a line end across two blocks", false));
    // UTF-16, where the bytes 0D 0A may be one character (U+0D0A).
    std::u16string wide =
        u"<rss><channel><title>\u0D0A\r\n</title><item><title>"
        u"<![CDATA[\u0D0A\r]]></title></item></channel></rss>";
    std::string utf16 = "\xFE\xFF";
    for (char16_t c : wide) {
        utf16 += static_cast<char>(c >> 8);
        utf16 += static_cast<char>(c & 0xFF);
    }
    // Such a file the tree answers for.
    EXPECT_FALSE(expectSameAnswers(utf16, "UTF-16 with U+0D0A"));
}

TEST_P(StreamedRead, AFeedOfManyItemsAnswersAsItsTree) {
    // Enough items that the parse runs well ahead of the documents' getters,
    // and then waits for them; every few an item of another shape.
    std::string items;
    for (int i = 0; i < 2500; ++i) {
        std::string n = std::to_string(i);
        items += i % 7 == 3 ? "<item><title>" + n + "</title><g:k xmlns:g='urn:g'>" + n +
                                  "</g:k><category>c" + n + "</category></item>"
                 : i % 11 == 5
                     ? "<item/>"
                     : "<item><title>" + n + "</title><link>l" + n + "</link><enclosure url='u" +
                           n + "' length='" + n + "'/></item>";
    }
    EXPECT_TRUE(
        expectSameAnswers("<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'>"
                          "<channel><title>t</title>" +
                              items + "<ttl>5</ttl></channel></rss>",
                          "2,500 items", false));
}

TEST_P(StreamedRead, AFieldAskedAgainAnswersAgain) {
    m_dir.write("doc.xml",
                "<rss><channel><item><title>a &amp; b</title><link/></item>"
                "<item><title>c</title></item></channel></rss>");
    Probe<CLumRssXmlData> doc(CString(m_dir.windows("doc.xml")), nullptr);
    NodeArray items;
    doc.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 2u);
    for (int time = 0; time < 2; ++time) {
        CString title;
        CString link = u"stale";
        EXPECT_TRUE(doc.getTitle(items[0], title));
        EXPECT_EQ(title, u"a &amp; b");
        EXPECT_TRUE(doc.getLink(items[0], link));
        EXPECT_EQ(link, u"");
        EXPECT_TRUE(doc.getTitle(items[1], title));
        EXPECT_EQ(title, u"c");
        EXPECT_FALSE(doc.getLink(items[1], link));
    }
}

// Answers are let go as the items are taken in turn: an item asked after a
// later one, for what it was not yet asked, still answers, from the file.
TEST_P(StreamedRead, AnItemAskedAfterALaterOneStillAnswers) {
    m_dir.write("doc.xml",
                "<rss><channel><item><title>a</title><link>l</link><comments>c</comments></item>"
                "<item><title>b</title></item></channel></rss>");
    Probe<CLumRssXmlData> doc(CString(m_dir.windows("doc.xml")), nullptr);
    NodeArray items;
    doc.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 2u);
    CString text;
    // A field the item lacks, asked after one it has, is no question for
    // the file.
    EXPECT_TRUE(doc.getTitle(items[0], text));
    EXPECT_FALSE(doc.getAuthor(items[0], text));
    EXPECT_TRUE(doc.answersFromStream());
    EXPECT_TRUE(doc.getTitle(items[1], text));
    EXPECT_EQ(text, u"b");
    EXPECT_TRUE(doc.getComments(items[0], text));
    EXPECT_EQ(text, u"c");
    EXPECT_TRUE(doc.getLink(items[0], text));
    EXPECT_EQ(text, u"l");
    EXPECT_FALSE(doc.getAuthor(items[0], text));
    EXPECT_FALSE(doc.getLink(items[1], text));
}

TEST_P(StreamedRead, AChangeAfterAStreamedReadSavesWhatTheTreeWouldSave) {
    std::string feed =
        "<rss version='2.0'><channel><title>t</title><item><title>a</title>"
        "<category>c</category></item><item><title>b</title></item></channel></rss>";
    m_dir.write("doc.xml", feed);
    CString path(m_dir.windows("doc.xml"));
    std::vector<std::string> saved;
    std::vector<bool> sameBytes;
    for (bool forceTree : {false, true}) {
        Probe<CLumRssXmlData> doc(path, nullptr);
        if (forceTree) {
            doc.Document.get();
        }
        NodeArray items;
        doc.getItemNodeArray(items);
        ASSERT_EQ(items.size(), 2u);
        NodeArray categories;
        doc.getCategoryNodeArray(items[0], categories);
        ASSERT_EQ(categories.size(), 1u);
        sameBytes.push_back(doc.savesSameBytes(path));
        EXPECT_TRUE(doc.setTitle(items[1], u"changed"));
        EXPECT_TRUE(doc.setCategory(items[0], u"more"));
        CString title;
        EXPECT_TRUE(doc.getTitle(items[1], title));
        EXPECT_EQ(title, u"changed");
        std::string name = forceTree ? "tree.xml" : "streamed.xml";
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(m_dir.windows(name))));
        saved.push_back(m_dir.read(name));
    }
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_EQ(sameBytes[0], sameBytes[1]);
    EXPECT_NE(saved[0].find("changed"), std::string::npos);
}

TEST_P(StreamedRead, AFileChangedAfterItsStreamedReadIsNotSavedFromItsNewContent) {
    m_dir.write("doc.xml", "<rss><channel><item><title>a</title></item></channel></rss>");
    CString path(m_dir.windows("doc.xml"));
    Probe<CLumRssXmlData> doc(path, nullptr);
    NodeArray items;
    doc.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 1u);
    m_dir.write("doc.xml", "<rss><channel><title>other, longer</title></channel></rss>");
    // A change needs the tree of the file the records came from, which is
    // gone: it fails rather than change another document.
    EXPECT_FALSE(doc.setTitle(items[0], u"b"));
    EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(m_dir.windows("out.xml"))));
    // What was read still answers.
    CString title;
    EXPECT_TRUE(doc.getTitle(items[0], title));
    EXPECT_EQ(title, u"a");
}

}  // namespace
