// What the writers add to a feed is valid in the format written: each row is
// the smallest feed that once came out invalid, and what its output must
// hold instead. Every output parses back.
#include "TempDir.h"
#include "WrittenXml.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

constexpr const char* kRss2Head =
    R"(<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>T</title>)";
constexpr const char* kRdfHead = R"(<?xml version="1.0" encoding="UTF-8"?>
<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns="http://purl.org/rss/1.0/"
 xmlns:dc="http://purl.org/dc/elements/1.1/">)";

struct Row {
    const char* what;
    std::string input;
    int format;         // written in: 0 RSS 1.0, 1 RSS 2.0, 2 podcast
    const char* xpath;  // counted in the output
    int count;
};

const Row kRows[] = {
    {"a channel and an item without a link get no empty link",
     std::string(kRss2Head) + "<description>D</description><item><title>I</title></item>" +
         "</channel></rss>",
     1, "//link", 0},
    {"an RSS 1.0 channel without a link gets no empty one",
     std::string(kRdfHead) +
         R"(<channel rdf:about="urn:c"><title>T</title><description>D</description>
        </channel></rdf:RDF>)",
     0, "//rss:link", 0},
    {"an RSS 1.0 item without a title gets no empty one",
     std::string(kRss2Head) + "<link>http://e.example/</link><description>D</description>" +
         "<item><link>http://e.example/1</link><description>I</description></item>" +
         "</channel></rss>",
     0, "//rss:item/rss:title", 0},
    {"a title the file held empty stays",
     std::string(kRdfHead) +
         R"(<channel rdf:about="urn:c"><title/><description>D</description></channel>
        <item rdf:about="urn:i"><title/><link>http://e.example/1</link></item></rdf:RDF>)",
     0, "//rss:title[.='']", 2},
    {"a link the file held empty stays, so an unchanged feed is written as it was",
     std::string(kRss2Head) + "<link/><description>D</description></channel></rss>", 1,
     "/rss/channel/link", 1},
    {"an image link the file held empty stays too",
     std::string(kRss2Head) +
         "<description>D</description><image><url>http://e.example/a.png</url><title>T</title>" +
         "<link/></image></channel></rss>",
     1, "/rss/channel/image/link", 1},
    {"an enclosure without a type takes the type of its extension",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><enclosure url="http://e.example/a.mp3?x=1" length="1"/></item>
        </channel></rss>)",
     1, "//enclosure[@type='audio/mpeg']", 1},
    {"an enclosure whose address names no known type gets no empty type",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><enclosure url="http://e.example" length="1"/></item>
        </channel></rss>)",
     1, "//enclosure/@type", 0},
    {"an RSS 1.0 item without a link has no empty rdf:about and no empty place in the sequence",
     std::string(kRss2Head) + "<link>http://e.example/</link><description>D</description>" +
         "<item><title>I</title></item></channel></rss>",
     0, "//@rdf:about[.=''] | //@rdf:resource[.='']", 0},
    {"RSS 1.0's content:items is not carried into RSS 2.0",
     std::string(kRdfHead) + R"(<channel rdf:about="http://e.example/"><title>T</title>
        <link>http://e.example/</link><description>D</description>
        <content:items xmlns:content="http://purl.org/rss/1.0/modules/content/"><rdf:Bag/></content:items>
        </channel></rdf:RDF>)",
     1, "//*[local-name()='items']", 0},
    {"a second dc:language has no place in RSS 1.0",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <dc:language xmlns:dc="http://purl.org/dc/elements/1.1/">en</dc:language>
        <dc:language xmlns:dc="http://purl.org/dc/elements/1.1/">fr</dc:language>
        </channel></rss>)",
     0, "//dc:language", 1},
    {"a dc:date in RFC 822 form becomes a W3C-DTF date",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><link>http://e.example/1</link>
        <dc:date xmlns:dc="http://purl.org/dc/elements/1.1/">Tue, 04 May 2010 10:00:00 GMT</dc:date>
        <dc:date xmlns:dc="http://purl.org/dc/elements/1.1/">last week</dc:date></item>
        </channel></rss>)",
     0, "//rss:item/dc:date[.='2010-05-04T10:00:00Z']", 1},
    {"a dc:date that is no date at all is left out",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><link>http://e.example/1</link>
        <dc:date xmlns:dc="http://purl.org/dc/elements/1.1/">last week</dc:date></item>
        </channel></rss>)",
     1, "//dc:date", 0},
    {"an rdf:about holds a URI: spaces and letters outside ASCII are percent-encoded",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><link>http://e.example/a b/é</link></item></channel></rss>)",
     0, "//rss:item[@rdf:about='http://e.example/a%20b/%C3%A9']", 1},
    {"an author named without an address is a dc:creator in RSS 2.0",
     std::string(kRdfHead) + R"(<channel rdf:about="http://e.example/"><title>T</title>
        <link>http://e.example/</link><description>D</description></channel>
        <item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link>
        <dc:creator>Jane</dc:creator></item></rdf:RDF>)",
     1, "//item[not(author)]/dc:creator[.='Jane']", 1},
    {"an author given as an address stays RSS 2.0's author",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><author>jane@e.example (Jane)</author></item></channel></rss>)",
     1, "//item/author[.='jane@e.example (Jane)']", 1},
    {"an internal entity is written as its text, without its declaration",
     R"(<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY id "tag:e.example,">]>
        <rss version="2.0"><channel><title>T</title><link>http://e.example/</link>
        <description>D</description><item><title>I</title>
        <guid>&id;2006-05-04:/blog/</guid></item></channel></rss>)",
     1, "//guid[.='tag:e.example,2006-05-04:/blog/']", 1},
    {"an attribute read under an undeclared prefix is not written where the prefix is declared",
     R"(<?xml version="1.0"?><rdf:RDF xmlns="http://purl.org/rss/1.0/">
        <channel rdf:aboUt="http://e.example/"><title>T</title>
        <link>http://e.example/</link><description>D</description></channel></rdf:RDF>)",
     0, "//@*[local-name()='aboUt']", 0},
    {"an rdf:resource read under an undeclared prefix is percent-encoded where rdf is declared",
     R"(<?xml version="1.0"?><rdf:RDF xmlns="http://purl.org/rss/1.0/">
        <channel><title>T</title><link>http://e.example/</link><description>D</description>
        <admin:generatorAgent xmlns:admin="http://webns.net/mvcb/" rdf:resource="http://e.example/a b"/>
        </channel></rdf:RDF>)",
     0, "//@*[.='http://e.example/a%20b']", 1},
    {"an element read under an undeclared prefix does not double the writer's of that spelling",
     R"(<rss version="2.0" xmlns:ituneS="http://www.itunes.com/dtds/podcast-1.0.dtd"><channel>
        <title>T</title><link>http://e.example/</link><description>D</description>
        <item><title>I</title><itunes:duration>2730</itunes:duration>
        <itunes:duration>2730</itunes:duration></item></channel></rss>)",
     2, "//item/*[local-name()='duration' or name()='itunes:duration']", 1},
    {"a namespace a kept element declares and does not use is not declared in the file written",
     std::string(kRss2Head) + R"(<link>http://e.example/</link><description>D</description>
        <item><title>I</title><x:a xmlns:x="urn:x" xmlns:unused="urn:unused"/></item>
        </channel></rss>)",
     1, "//namespace::*[.='urn:unused']", 0},
    {"a second dc:language read under an undeclared prefix has no place in RSS 1.0 either",
     R"(<?xml version="1.0"?><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"
        xmlns="http://purl.org/rss/1.0/"><channel rdf:about="urn:c"><title>T</title>
        <description>D</description><dc:language>ja</dc:language><dc:language>fr</dc:language>
        </channel></rdf:RDF>)",
     0, "//dc:language", 1},
    {"an rdf prefix bound to another namespace gives no second rdf:about",
     R"(<?xml version="1.0"?><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#x"
        xmlns="http://purl.org/rss/1.0/"><channel rdf:about="http://e.example/"><title>T</title>
        <link>http://e.example/</link><description>D</description></channel>
        <item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link></item>
        </rdf:RDF>)",
     0, "//rss:item/@rdf:about", 1},
};

class ValidOutput : public ::testing::TestWithParam<Row> {
  protected:
    TempDir m_dir;
};

TEST_P(ValidOutput, WritesWhatTheFormatDefines) {
    const Row& row = GetParam();
    m_dir.write("in.xml", row.input);
    CRSSChannel channel;
    ASSERT_EQ(newsdesk::readRssFile(CString(m_dir.windows("in.xml")), &channel), 1) << row.what;
    channel.m_format = row.format;
    ASSERT_EQ(newsdesk::writeRssFile(CString(m_dir.windows("out.xml")), &channel), 1) << row.what;
    WrittenXml xml(m_dir.native("out.xml").string());
    ASSERT_TRUE(xml.ok()) << row.what << "\n" << m_dir.read("out.xml");
    EXPECT_EQ(xml.count(row.xpath), row.count) << row.what << "\n" << m_dir.read("out.xml");
}

std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char* c = info.param.what; *c != '\0' && name.size() < 60; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValidOutput, ::testing::ValuesIn(kRows), rowName);

}  // namespace

namespace {

constexpr const char* kItunesNs = R"( xmlns:itunes="http://www.itunes.com/dtds/podcast-1.0.dtd")";

std::string rss2Item(const char* root, const char* item) {
    return std::string("<rss version=\"2.0\"") + root +
           "><channel><title>T</title><link>http://e.example/</link>"
           "<description>D</description><item><title>I</title>" +
           item + "</item></channel></rss>";
}

// What a feed read back from our own write holds must write to the same
// bytes again (found by fuzzing): a kept attribute whose prefix the writer's
// own namespace takes is renamed; a first field that does not read (a
// duration, an enclosure without a file, a block that is not yes, a picture
// without an address, an empty date) gives way to a later one that does, and
// later ones that do not read are not written; the items of a second channel
// are read once; a kept declaration of the prefix itunes stays where it was.
TEST(ValidOutputAgain, WhatIsReadBackWritesTheSameBytes) {
    struct Case {
        std::string input;
        const char* xpath;
        int count;
    } cases[] = {
        {R"(<?xml version="1.0"?>
<rdf:RDF xmlns:rdf="http://www.w8.org/1999/02/22-rdf-syntax-ns#" xmlns="http://purl.org/rss/1.0/">
<channel rdf:about="http://e.example/"><title>T</title><link>http://e.example/</link>
<description>D</description></channel>
<item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link></item>
</rdf:RDF>)",
         "//@*[local-name()='about']", 4},
        {rss2Item(kItunesNs,
                  "<itunes:duration>:730</itunes:duration><itunes:duration>2730</itunes:duration>"),
         "//*[local-name()='duration'][.='00:45:30']", 1},
        {rss2Item(kItunesNs,
                  "</item><itunes:image hpef=\"x\"/>"
                  "<itunes:image href=\"http://e.example/a.jpg\"/><item>"),
         "//*[local-name()='image'][@href='http://e.example/a.jpg']", 1},
        {rss2Item(kItunesNs, "<itunes:block>no</itunes:block><itunes:block>yEs</itunes:block>"),
         "//*[local-name()='block'][.='yes']", 1},
        {rss2Item("", R"(<enclosure length="1" type="audio/mpeg"/>)"
                      R"(<enclosure url="http://e.example/b.mp3" length="2" type="audio/mpeg"/>)"),
         "//enclosure[@url='http://e.example/b.mp3'][@length='2']", 1},
        {rss2Item("", "<pubDate/><pubDate>Mon, 07 Dec 2026 10:00:00 GMT</pubDate>"), "//pubDate",
         1},
        {rss2Item(kItunesNs,
                  "<pubDate/><pubDate>Mon, 07 Dec 2026 10:00:00 GMT"
                  "</pubDate><pubDate>later</pubDate>"),
         "//pubDate", 1},
        {rss2Item("", "<comments/><comments>http://e.example/c</comments>"),
         "//comments[.='http://e.example/c']", 1},
        // Under a prefix never declared, the name is the field's all the same.
        {rss2Item("", "<dc:creator/><dc:creator>Jane</dc:creator>"),
         "//*[local-name()='creator'][.='Jane']", 1},
        {rss2Item(kItunesNs,
                  "</item><itunes:owner a=\"1\"> </itunes:owner><itunes:owner>"
                  "<itunes:email>o@e.example</itunes:email></itunes:owner><item>"),
         "//*[local-name()='owner']", 1},
        {rss2Item("", "<description><x/></description><description><y/></description>"),
         "//item/description", 1},
        {R"(<rss version="2.0"><channel><title>T</title><item><title>A</title></item></channel>
<channel><title>U</title><item><title>B</title></item></channel></rss>)",
         "//item", 2},
        {std::string(kRdfHead) + R"(<channel rdf:about="http://e.example/"><title>T</title>
</channel><channel><item><title>B</title></item></channel></rdf:RDF>)",
         "//rss:item", 1},
        {std::string(kRdfHead) + R"(<channel rdf:about="http://e.example/"><title>T</title>
<link>http://e.example/</link><description>D</description>
<image/><image><url>http://e.example/i.png</url></image></channel></rdf:RDF>)",
         "//rss:image", 0},
        {R"(<!DOCTYPE rss SYSTEM "rss.dtd"><rss version="2.0"><channel><title>T</title>
<foo>&nbsp;&zz;</foo></channel><channel><title>&zz;</title></channel></rss>)",
         "//foo[.='\u00a0']", 1},
        // A root that declares the prefix itunes makes a podcast of the next read.
        {rss2Item(R"( xmlns:foo="http://www.itunes.com/dtds/podcast-1.0.dtd")",
                  R"(<foo:summary>S</foo:summary><bar xmlns:itunes="http://o.example/">)"
                  R"(<itunes:x/></bar>)"),
         "/rss/namespace::itunes", 0},
        {R"(<rss version="2.0"><channel><title>T</title><item xmlns:itunes="http://o.example/"
itunes:a="1"><title>I</title></item></channel></rss>)",
         "/rss/namespace::itunes", 0},
        // Declared by the kept element itself in another order than it uses them.
        {rss2Item("", R"(</item><x:a xmlns:y="urn:y" xmlns:x="urn:x" y:b="1"><y:c/></x:a><item>)"),
         "/rss/namespace::*", 3},
        // A name under a prefix declared only by a later kept element binds to it.
        {rss2Item("", R"(<content:encoded>x</content:encoded><r:RDF xmlns:r="urn:r")"
                      R"( xmlns:content="urn:c"><r:i><content:e/></r:i></r:RDF>)"),
         "/rss/namespace::*", 3},
        {rss2Item(kItunesNs, R"(<content:encoded>x</content:encoded><r:RDF xmlns:r="urn:r")"
                             R"( xmlns:content="urn:c"><r:i><content:e/></r:i></r:RDF>)"),
         "/rss/namespace::*", 4},
        {std::string(kRdfHead) + R"(<channel rdf:about="http://e.example/"><title>T</title>
<link>http://e.example/</link><description>D</description></channel>
<item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link>
<content:encoded>x</content:encoded><r:RDF xmlns:r="urn:r" xmlns:content="urn:c"><r:i>
<content:e/></r:i></r:RDF></item></rdf:RDF>)",
         "/rdf:RDF/namespace::*", 6},
        // A name in a namespace's value is read as its character, or the save fails.
        {R"(<rss version="2.0" xmlns:c="urn:&mp;"><channel><title>T</title><item><c:e/>
</item></channel></rss>)",
         "/rss/namespace::c[.='urn:\u2213']", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        TempDir dir;
        dir.write("in.xml", c.input);
        CRSSChannel first;
        ASSERT_EQ(newsdesk::readRssFile(CString(dir.windows("in.xml")), &first), 1);
        ASSERT_EQ(newsdesk::writeRssFile(CString(dir.windows("one.xml")), &first), 1);
        CRSSChannel second;
        ASSERT_EQ(newsdesk::readRssFile(CString(dir.windows("one.xml")), &second), 1);
        ASSERT_EQ(newsdesk::writeRssFile(CString(dir.windows("two.xml")), &second), 1);
        EXPECT_EQ(dir.read("one.xml"), dir.read("two.xml"));
        EXPECT_EQ(WrittenXml(dir.native("one.xml").string()).count(c.xpath), c.count)
            << dir.read("one.xml");
    }
}

}  // namespace
