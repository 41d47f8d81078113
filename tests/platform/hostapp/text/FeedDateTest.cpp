#include "hostapp/records/CRSSChannel.h"
#include "hostapp/text/CXMLSitemapUtil.h"
#include "hostapp/text/FeedDate.h"

#include "TzGuard.h"

#include <gtest/gtest.h>

namespace {

// 2026-12-06 07:12:26 UTC
constexpr std::int64_t kMoment = 1796541146;

std::optional<std::int64_t> parse(const char16_t* text) {
    CTime time(-1);
    if (!CXMLSitemapUtil::getOleDateTimeFromString(text, time, false)) {
        EXPECT_EQ(time.GetTime(), -1) << "a failed parse must leave the time alone";
        return std::nullopt;
    }
    return time.GetTime();
}

}  // namespace

TEST(FeedDates, Rfc822FormsAndZonesGiveTheSameMoment) {
    TzGuard tz("Asia/Tokyo");
    for (const char16_t* text : {
             u"Sun, 06 Dec 2026 16:12:26 +0900",
             u"06 Dec 2026 16:12:26 +0900",
             u"Sun, 6 Dec 26 16:12:26 +0900",
             u"Sunday, 06 Dec 2026 07:12:26 GMT",
             u"sun, 06 dec 2026 07:12:26 utc",
             u"Sun, 06 Dec 2026 07:12:26 UT",
             u"Sun, 06 Dec 2026 07:12:26 Z",
             u"Sun, 06 Dec 2026 02:12:26 EST",
             u"Sat, 05 Dec 2026 23:12:26 PST",
             u"Sun, 06 Dec 2026 16:12:26 JST",
             u"Sun, 06 Dec 2026 02:42:26 -0430",
             u"  Sun, 06 Dec 2026 16:12:26 +0900  ",
         }) {
        EXPECT_EQ(parse(text), kMoment) << CString(text);
    }
    EXPECT_EQ(parse(u"Sun, 06 Dec 2026 16:12 +0900"), kMoment - 26);
    EXPECT_EQ(parse(u"Thu, 01 Jan 70 00:00:00 GMT"), 0);
    EXPECT_EQ(parse(u"Fri, 01 Jan 99 00:00:00 GMT"), 915148800);
}

TEST(FeedDates, W3cDtfFromTheYearAloneToFractionsOfSeconds) {
    TzGuard tz("UTC");
    EXPECT_EQ(parse(u"2026-12-06T16:12:26+09:00"), kMoment);
    EXPECT_EQ(parse(u"2026-12-06T07:12:26Z"), kMoment);
    EXPECT_EQ(parse(u"2026-12-06T07:12:26.75Z"), kMoment);
    EXPECT_EQ(parse(u"2026-12-06T02:12:26-05:00"), kMoment);
    EXPECT_EQ(parse(u"2026-12-06T16:12+09:00"), kMoment - 26);
    EXPECT_EQ(parse(u"2026-12-06"), kMoment - 7 * 3600 - 12 * 60 - 26);
    EXPECT_EQ(parse(u"2026-12"), 1796083200);
    EXPECT_EQ(parse(u"2026"), 1767225600);
}

TEST(FeedDates, TextsWithoutAZoneAreLocalTime) {
    TzGuard tz("Asia/Tokyo");
    EXPECT_EQ(parse(u"2026-12-06T16:12:26"), kMoment);
    EXPECT_EQ(parse(u"Sun, 06 Dec 2026 16:12:26"), kMoment);
    CTime utc;
    ASSERT_TRUE(CXMLSitemapUtil::getOleDateTimeFromString(u"2026-12-06T07:12:26", utc, true));
    EXPECT_EQ(utc.GetTime(), kMoment);
}

TEST(FeedDates, AnythingElseIsRefused) {
    TzGuard tz("UTC");
    for (const char16_t* text : {
             u"",
             u"not a date",
             u"Sun, 32 Dec 2026 00:00:00 GMT",
             u"Sun, 29 Feb 2026 00:00 GMT",
             u"Sun, 06 Foo 2026 16:12:26 GMT",
             u"Sun, 06 Dec 2026 24:00:00 GMT",
             u"Sun, 06 Dec 2026 16:12:26 XYZ",
             u"Sun, 06 Dec 2026 16:12:26 +09",
             u"Sun, 06 Dec 2026 16:12:26 GMT trailing",
             u"06/12/2026",
             u"2026-13-01",
             u"2026-12-06T16:12:26+25:00",
             u"2026-12-06T",
             u"12345",
             u"Sun 06 Dec",
             u"2026-12-06T16:12:26+0900x",
             u"Sun, 06 Dec 2026 16:12:26 J",
             u"Sun, 06 Dec 2026 16:12:26 GMT+9",
             u"Sun, 06 Dec 2026 16:12:26 +0900 (JST",
             u"2026-12-06T24:00:00Z",
             u"2026-12-06T16:12:26 XYZ",
             u"Sun Dec  6 16:12:26",
             u"2026/13/06 16:12:26",
         }) {
        EXPECT_FALSE(parse(text)) << CString(text);
    }
    EXPECT_TRUE(parse(u"Tue, 29 Feb 2028 00:00:00 GMT"));
}

TEST(FeedDates, EveryTextTheRecordsWriteParsesBackToTheSameTime) {
    for (const char* zone : {"Asia/Tokyo", "America/New_York", "UTC", "Asia/Kolkata"}) {
        TzGuard tz(zone);
        for (std::int64_t t : {std::int64_t{1}, kMoment, std::int64_t{2147483647},
                               std::int64_t{4102444800}, std::int64_t{253402128000}}) {
            CRSSChannel channel;
            channel.m_pubDate = CTime(t);
            CString text = channel.getModifiedTimeStr();
            EXPECT_EQ(parse(text), t) << zone << " " << text;
            auto date = lum::parseRfc822Date(text.view());
            ASSERT_TRUE(date);
            EXPECT_EQ(parse(CString(lum::formatW3cDtf(*date))), t) << zone << " " << text;
        }
    }
}

TEST(FeedDates, ALocalOffsetWithSecondsIsWrittenInUtcAndStillParsesBack) {
    TzGuard tz("Africa/Monrovia");  // -0:44:30 until 1972
    CRSSItem item;
    item.m_pubDate = 31536000;  // 1971-01-01 00:00:00 UTC
    EXPECT_EQ(item.getModifiedTimeStr(), u"Fri, 01 Jan 1971 00:00:00 +0000");
    EXPECT_EQ(parse(item.getModifiedTimeStr()), 31536000);
    item.m_pubDate = kMoment;
    EXPECT_EQ(item.getModifiedTimeStr(), u"Sun, 06 Dec 2026 07:12:26 +0000");
}

TEST(FeedDates, TheW3cFormKeepsTheZoneOfTheRfc822Text) {
    auto date = lum::parseRfc822Date(u"Sun, 06 Dec 2026 16:12:26 +0900");
    ASSERT_TRUE(date);
    EXPECT_EQ(lum::formatW3cDtf(*date), u"2026-12-06T16:12:26+09:00");
    date = lum::parseRfc822Date(u"Sun, 06 Dec 2026 02:42:26 -0430");
    EXPECT_EQ(lum::formatW3cDtf(*date), u"2026-12-06T02:42:26-04:30");
    date = lum::parseRfc822Date(u"Sun, 06 Dec 2026 07:12:26 GMT");
    EXPECT_EQ(lum::formatW3cDtf(*date), u"2026-12-06T07:12:26Z");
}
