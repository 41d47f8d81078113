#include "hostapp/CRSSChannel.h"

#include "TzGuard.h"

#include <gtest/gtest.h>

TEST(CRSSItem, ANewItemIsEmpty) {
    CRSSItem item;
    EXPECT_TRUE(item.m_categories.empty());
    EXPECT_FALSE(item.m_block);
    EXPECT_EQ(item.m_pubDate, 0);
    EXPECT_EQ(item.m_enclosureLength, 0);
    EXPECT_EQ(item.m_duration, 0);
    EXPECT_TRUE(item.m_title.IsEmpty());
    EXPECT_TRUE(item.getModifiedTimeStr().IsEmpty());
}

TEST(CRSSItem, CopiesCarryTheirOwnCategories) {
    CRSSItem item;
    CRSSCategory category;
    category.m_category = u"ニュース";
    item.addCategory(category);
    CRSSItem copy = item;
    copy.getCategory()[0].m_category = u"changed";
    copy.addCategory(category);
    ASSERT_EQ(item.m_categories.size(), 1u);
    EXPECT_EQ(item.m_categories[0].m_category, u"ニュース");
    EXPECT_EQ(copy.m_categories.size(), 2u);

    CRSSChannel channel;
    channel.addItem(item);
    item.m_categories.clear();
    EXPECT_EQ(channel.m_items[0].m_categories.size(), 1u);
}

TEST(CRSSItem, ADateAfter2038IsCutToThirtyTwoBits) {
    const std::int64_t year2040 = 2208988800LL;  // 2040-01-01 UTC
    CRSSItem item;
    item.m_pubDate = static_cast<std::int32_t>(static_cast<std::uint32_t>(year2040));
    EXPECT_EQ(static_cast<std::uint32_t>(item.m_pubDate), static_cast<std::uint32_t>(year2040));
    EXPECT_LT(item.m_pubDate, 0);
}

TEST(CRSSChannel, ResetDataEmptiesItemsCategoriesAndTexts) {
    CRSSChannel channel;
    channel.addItem(CRSSItem());
    channel.setCategory({CRSSCategory()});
    channel.m_title = u"題名";
    channel.m_format = 2;
    channel.m_ttl = 60;
    channel.m_pubDate = CTime(1000);
    channel.resetData();
    EXPECT_TRUE(channel.m_items.empty());
    EXPECT_TRUE(channel.m_categories.empty());
    EXPECT_TRUE(channel.m_title.IsEmpty());
    EXPECT_EQ(channel.m_ttl, 0);
    EXPECT_EQ(channel.m_pubDate.GetTime(), 0);
}

TEST(CRSSChannel, SetCategoryReplacesAndGetCategoryCopies) {
    CRSSChannel channel;
    CRSSCategory c;
    c.m_category = u"Technology";
    c.m_subCategory = u"Podcasting";
    channel.setCategory({c, c});
    auto copy = channel.getCategory();
    copy.clear();
    EXPECT_EQ(channel.m_categories.size(), 2u);
    channel.setCategory({c});
    EXPECT_EQ(channel.m_categories.size(), 1u);
}

TEST(ModifiedTimeStr, IsRfc822InLocalTimeWithNumericOffset) {
    TzGuard tz("JST-9");
    CRSSChannel channel;
    channel.m_pubDate = CTime(1796541146);
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Sun, 06 Dec 2026 16:12:26 +0900");

    CRSSItem item;
    item.m_pubDate = 1796541146;
    EXPECT_EQ(item.getModifiedTimeStr(), u"Sun, 06 Dec 2026 16:12:26 +0900");
}

TEST(ModifiedTimeStr, NegativeOffsetsAndSummerTime) {
    TzGuard tz("EST5EDT,M3.2.0,M11.1.0");
    CRSSChannel channel;
    channel.m_pubDate = CTime(1783000000);  // 2026-07-02, summer time
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Thu, 02 Jul 2026 09:46:40 -0400");
    channel.m_pubDate = CTime(1796541146);
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Sun, 06 Dec 2026 02:12:26 -0500");
}

TEST(ModifiedTimeStr, ChannelUsesTheKeptTimeOnlyWhileAsked) {
    TzGuard tz("UTC0");
    CRSSChannel channel;
    channel.m_pubDate = CTime(1796541146);
    channel.m_keptTime = CTime(86400);
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Sun, 06 Dec 2026 07:12:26 +0000");
    channel.m_useKeptTime = true;
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Fri, 02 Jan 1970 00:00:00 +0000");
    channel.m_keptTime = CTime();
    EXPECT_TRUE(channel.getModifiedTimeStr().IsEmpty());
}
