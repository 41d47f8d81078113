#include "feed/FeedReaders.h"

#include "Fixtures.h"
#include "TempDir.h"
#include "TzGuard.h"

#include <gtest/gtest.h>

using newsdesk::readRssFile;

TEST(ReadRss2File, FillsTheChannelUnescapingOnlyTheEscapedFields) {
    CRSSChannel c;
    CString path = fixturePath("feed/rss20_full.xml");
    ASSERT_EQ(readRssFile(path, &c), 1);
    EXPECT_EQ(c.m_format, 1);
    EXPECT_EQ(c.m_filePath, path);
    EXPECT_EQ(c.m_title, u"AT&T ニュース");
    EXPECT_EQ(c.m_description, u"<b>太字</b> &amp; more") << "descriptions are not unescaped";
    EXPECT_EQ(c.m_copyright, u"(c) A & B");
    EXPECT_EQ(c.m_link, u"http://example.com/");
    EXPECT_EQ(c.m_language, u"ja");
    EXPECT_EQ(c.m_ttl, 30);
    EXPECT_EQ(c.m_image, u"http://example.com/logo.png");
    EXPECT_EQ(c.m_pubDate.GetTime(), 1796541146);
    EXPECT_EQ(c.m_encoding, u"UTF-8");
    EXPECT_TRUE(c.m_author.IsEmpty());
    ASSERT_EQ(c.m_categories.size(), 2u);
    EXPECT_EQ(c.m_categories[0].m_category, u"技術");
    EXPECT_EQ(c.m_categories[1].m_category, u"news & views");
    EXPECT_TRUE(c.m_categories[1].m_subCategory.IsEmpty());
}

TEST(ReadRss2File, ReadsItemsWithTheFirstEnclosureAndTheirOwnCategories) {
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/rss20_full.xml"), &c), 1);
    ASSERT_EQ(c.m_items.size(), 2u);
    const CRSSItem& first = c.m_items[0];
    EXPECT_EQ(first.m_title, u"一つ目 <1>");
    EXPECT_EQ(first.m_author, u"ann@example.com (Ann & Bob)");
    EXPECT_EQ(first.m_comments, u"http://example.com/1.html#c");
    EXPECT_EQ(first.m_pubDate, 1796634000);
    EXPECT_EQ(first.m_enclosureUrl, u"http://example.com/a.mp3");
    EXPECT_EQ(first.m_enclosureLength, 12345);
    EXPECT_EQ(first.m_enclosureType, u"audio/mpeg");
    ASSERT_EQ(first.m_categories.size(), 2u);
    EXPECT_EQ(first.m_categories[0].m_category, u"ひとつ");
    const CRSSItem& second = c.m_items[1];
    EXPECT_EQ(second.m_pubDate, 0) << "an unparsable date";
    EXPECT_EQ(second.m_enclosureUrl, u"http://example.com/c.mp3");
    EXPECT_EQ(second.m_enclosureLength, 0) << "an empty length";
    EXPECT_TRUE(second.m_categories.empty());
    EXPECT_TRUE(second.m_author.IsEmpty());
}

TEST(ReadRss2File, AnEmptyChannelIsReadAndMissingFieldsAreEmpty) {
    TempDir dir;
    dir.write("empty.xml", "<rss version='2.0'><channel><ttl>soon</ttl></channel></rss>");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(CString(dir.windows("empty.xml")), &c), 1);
    EXPECT_TRUE(c.m_items.empty());
    EXPECT_EQ(c.m_ttl, 0);
    EXPECT_EQ(c.m_pubDate.GetTime(), 0);
    EXPECT_TRUE(c.m_title.IsEmpty());
    EXPECT_TRUE(c.m_encoding.IsEmpty());
}

TEST(ReadRss2File, DatesPast2038AndLengthsPast2GiBKeepTheirValue) {
    TempDir dir;
    dir.write("late.xml",
              "<rss version='2.0'><channel><pubDate>Sat, 01 Jan 2050 00:00:00 GMT</pubDate>"
              "<item><pubDate>Tue, 19 Jan 2038 03:14:08 +0000</pubDate>"
              "<enclosure url='u' length='5368709120' type='video/mp4'/></item>"
              "<item><pubDate>Fri, 01 Jan 2100 00:00:00 GMT</pubDate></item></channel></rss>");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(CString(dir.windows("late.xml")), &c), 1);
    EXPECT_EQ(c.m_pubDate.GetTime(), 2524608000);
    ASSERT_EQ(c.m_items.size(), 2u);
    EXPECT_EQ(c.m_items[0].m_pubDate, 2147483648);
    EXPECT_EQ(c.m_items[0].m_enclosureLength, 5368709120);
    EXPECT_EQ(c.m_items[1].m_pubDate, 4102444800);
}

TEST(ReadRss2File, JapaneseEncodingsReadTheSameAndKeepTheirName) {
    for (const auto& [file, encoding] : {std::pair{"feed/rss20_shift_jis.xml", u"Shift_JIS"},
                                         {"feed/rss20_euc_jp.xml", u"EUC-JP"},
                                         {"feed/rss20_iso_2022_jp.xml", u"ISO-2022-JP"}}) {
        CRSSChannel c;
        ASSERT_EQ(readRssFile(fixturePath(file), &c), 1) << file;
        EXPECT_EQ(c.m_encoding, encoding);
        EXPECT_EQ(c.m_title, u"日本語のフィード");
        EXPECT_EQ(c.m_description, u"表示と能力（ソ・十・予）");
        ASSERT_EQ(c.m_items.size(), 1u);
        EXPECT_EQ(c.m_items[0].m_title, u"記事その一");
    }
}
