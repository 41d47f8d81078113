#include "feed/FeedReaders.h"

#include "Fixtures.h"
#include "TempDir.h"
#include "TzGuard.h"

#include <gtest/gtest.h>

using newsdesk::readRssFile;

TEST(ReadRdfFile, FillsTheChannelWithTheImageOfTheRoot) {
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/rdf_full.xml"), &c), 1);
    EXPECT_EQ(c.m_format, 0);
    EXPECT_EQ(c.m_title, u"日記 & メモ");
    EXPECT_EQ(c.m_link, u"http://example.com/");
    EXPECT_EQ(c.m_description, u"毎日の記録");
    EXPECT_EQ(c.m_author, u"花子 & 太郎");
    EXPECT_EQ(c.m_copyright, u"Copyright & all");
    EXPECT_EQ(c.m_image, u"http://example.com/root.png");
    EXPECT_EQ(c.m_pubDate.GetTime(), 1796541146);
    EXPECT_EQ(c.m_encoding, u"UTF-8");
    EXPECT_TRUE(c.m_language.IsEmpty());
    EXPECT_TRUE(c.m_categories.empty());
}

TEST(ReadRdfFile, ItemsCarryTheirCreatorAndNothingOfRss20) {
    TzGuard tz("UTC");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/rdf_full.xml"), &c), 1);
    ASSERT_EQ(c.m_items.size(), 2u);
    const CRSSItem& a = c.m_items[0];
    EXPECT_EQ(a.m_title, u"記事A");
    EXPECT_EQ(a.m_link, u"http://example.com/a.html");
    EXPECT_EQ(a.m_author, u"花子");
    EXPECT_EQ(a.m_pubDate, 1796428800);
    EXPECT_TRUE(a.m_comments.IsEmpty());
    EXPECT_TRUE(a.m_enclosureUrl.IsEmpty());
    EXPECT_TRUE(a.m_categories.empty());
    EXPECT_EQ(c.m_items[1].m_author, u"太郎");
    EXPECT_EQ(c.m_items[1].m_pubDate, 0);
}

TEST(ReadRdfFile, WithoutARootImageTheChannelImageIsEmpty) {
    TempDir dir;
    dir.write("noimage.rdf",
              "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
              "xmlns='http://purl.org/rss/1.0/'><channel rdf:about='x'><title>t</title>"
              "<image rdf:resource='http://e/only-in-channel.png'/></channel></rdf:RDF>");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(CString(dir.windows("noimage.rdf")), &c), 1);
    EXPECT_EQ(c.m_title, u"t");
    EXPECT_TRUE(c.m_image.IsEmpty());
}

TEST(ReadRdfFile, TheRss10VocabularyReadsUnderAPrefixToo) {
    TempDir dir;
    dir.write("prefixed.rdf",
              "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
              "xmlns:rss='http://purl.org/rss/1.0/' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
              "<rss:channel rdf:about='http://e/'><rss:title>A &amp; B</rss:title>"
              "<rss:link>http://e/</rss:link><dc:creator>me</dc:creator></rss:channel>"
              "<rss:image rdf:about='http://e/i.png'><rss:url>http://e/i.png</rss:url></rss:image>"
              "<rss:item rdf:about='http://e/1'><rss:title>one</rss:title>"
              "<rss:link>http://e/1</rss:link></rss:item></rdf:RDF>");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(CString(dir.windows("prefixed.rdf")), &c), 1);
    EXPECT_EQ(c.m_title, u"A & B");
    EXPECT_EQ(c.m_link, u"http://e/");
    EXPECT_EQ(c.m_author, u"me");
    EXPECT_EQ(c.m_image, u"http://e/i.png");
    ASSERT_EQ(c.m_items.size(), 1u);
    EXPECT_EQ(c.m_items[0].m_title, u"one");
    EXPECT_EQ(c.m_items[0].m_link, u"http://e/1");
}
