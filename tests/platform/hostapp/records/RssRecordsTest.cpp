#include "hostapp/records/CRSSChannel.h"

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

TEST(CRSSChannel, ResetDataEmptiesItemsCategoriesAndTexts) {
    CRSSChannel channel;
    channel.addItem(CRSSItem());
    channel.setCategory({CRSSCategory()});
    channel.m_title = u"題名";
    channel.m_format = 2;
    channel.m_ttl = 60;
    channel.m_pubDate = CTime(1000);
    channel.m_pubDateText = u"heute";
    channel.resetData();
    EXPECT_TRUE(channel.m_items.empty());
    EXPECT_TRUE(channel.m_categories.empty());
    EXPECT_TRUE(channel.m_title.IsEmpty());
    EXPECT_EQ(channel.m_ttl, 0);
    EXPECT_EQ(channel.m_pubDate.GetTime(), 0);
    EXPECT_TRUE(channel.m_pubDateText.IsEmpty());
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

TEST(ModifiedTimeStr, DatesPast2038KeepAllTheirBits) {
    TzGuard tz("UTC0");
    CRSSItem item;
    item.m_pubDate = 2147483648;  // one second past the 32-bit range
    EXPECT_EQ(item.getModifiedTimeStr(), u"Tue, 19 Jan 2038 03:14:08 +0000");
    item.m_pubDate = 4102444800;
    EXPECT_EQ(item.getModifiedTimeStr(), u"Fri, 01 Jan 2100 00:00:00 +0000");
}

TEST(ModifiedTimeStr, AKeptTextStandsInOnlyForADateThatCannotBeWritten) {
    TzGuard tz("UTC0");
    CRSSItem item;
    item.m_pubDateText = u"2024年1月15日";
    EXPECT_EQ(item.getModifiedTimeStr(), u"2024年1月15日");
    item.m_pubDate = 86400;  // an editor set a date: it wins
    EXPECT_EQ(item.getModifiedTimeStr(), u"Fri, 02 Jan 1970 00:00:00 +0000");
    item.m_pubDate = 253402300800;  // year 10000, which no RFC 822 text holds
    EXPECT_EQ(item.getModifiedTimeStr(), u"2024年1月15日");

    CRSSChannel channel;
    channel.m_pubDateText = u"someday";
    EXPECT_EQ(channel.getModifiedTimeStr(), u"someday");
    channel.m_useKeptTime = true;
    channel.m_keptTime = CTime(86400);
    EXPECT_EQ(channel.getModifiedTimeStr(), u"Fri, 02 Jan 1970 00:00:00 +0000");
    channel.m_keptTime = CTime();
    EXPECT_EQ(channel.getModifiedTimeStr(), u"someday");
}
