#include "feed/FeedReaders.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using newsdesk::readRssFile;

TEST(ReadPodcastFile, FillsTheChannelWithTheItunesFields) {
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/podcast_full.xml"), &c), 1);
    EXPECT_EQ(c.m_format, 2);
    EXPECT_EQ(c.m_title, u"ラジオ & 音楽");
    EXPECT_EQ(c.m_description, u"要約文") << "the summary wins over the description";
    EXPECT_EQ(c.m_copyright, u"© Q&A");
    EXPECT_EQ(c.m_ttl, 60);
    EXPECT_EQ(c.m_image, u"http://example.com/pod/art.jpg");
    EXPECT_EQ(c.m_subTitle, u"毎週の番組");
    EXPECT_EQ(c.m_author, u"山田 & 佐藤");
    EXPECT_EQ(c.m_ownerName, u"山田");
    EXPECT_EQ(c.m_ownerEmail, u"yamada@example.com");
    EXPECT_TRUE(c.m_block) << "Yes in mixed case";
    EXPECT_EQ(c.m_pubDate.GetTime(), 0);
}

TEST(ReadPodcastFile, KeepsOnlyTheFirstSubcategoryAndNeverCarriesOneOver) {
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/podcast_full.xml"), &c), 1);
    ASSERT_EQ(c.m_categories.size(), 2u);
    EXPECT_EQ(c.m_categories[0].m_category, u"Arts");
    EXPECT_EQ(c.m_categories[0].m_subCategory, u"Books");
    EXPECT_EQ(c.m_categories[1].m_category, u"Society & Culture");
    EXPECT_TRUE(c.m_categories[1].m_subCategory.IsEmpty());
}

TEST(ReadPodcastFile, ReadsItemsWithoutLinkAuthorOrCategories) {
    CRSSChannel c;
    ASSERT_EQ(readRssFile(fixturePath("feed/podcast_full.xml"), &c), 1);
    ASSERT_EQ(c.m_items.size(), 2u);
    const CRSSItem& first = c.m_items[0];
    EXPECT_EQ(first.m_title, u"第1回");
    EXPECT_EQ(first.m_description, u"第1回の要約");
    EXPECT_EQ(first.m_artist, u"山田");
    EXPECT_EQ(first.m_subTitle, u"はじまり");
    EXPECT_EQ(first.m_comments, u"http://example.com/pod/1#c");
    EXPECT_EQ(first.m_enclosureUrl, u"http://example.com/pod/1.mp3");
    EXPECT_EQ(first.m_enclosureLength, 2048);
    EXPECT_EQ(first.m_pubDate, 1796691600);
    EXPECT_EQ(first.m_keywords, u"音楽, トーク");
    EXPECT_EQ(first.m_duration, 45 * 60 + 30);
    EXPECT_FALSE(first.m_block);
    EXPECT_TRUE(first.m_link.IsEmpty());
    EXPECT_TRUE(first.m_author.IsEmpty());
    EXPECT_TRUE(first.m_categories.empty());

    const CRSSItem& second = c.m_items[1];
    EXPECT_EQ(second.m_description, u"要約なし") << "no summary: the description";
    EXPECT_EQ(second.m_duration, 2730) << "a bare number is seconds";
    EXPECT_TRUE(second.m_block);
    EXPECT_TRUE(second.m_enclosureUrl.IsEmpty());
}

TEST(ReadPodcastFile, AnEmptySummaryLetsTheDescriptionStand) {
    TempDir dir;
    dir.write("p.xml",
              "<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel>"
              "<description>desc</description><itunes:summary/>"
              "<itunes:block>no</itunes:block></channel></rss>");
    CRSSChannel c;
    ASSERT_EQ(readRssFile(CString(dir.windows("p.xml")), &c), 1);
    EXPECT_EQ(c.m_description, u"desc");
    EXPECT_FALSE(c.m_block);
}
