#include "hostapp/UrlUtil.h"

#include <gtest/gtest.h>

TEST(UrlUtil, FileUrlOfAPathEncodesSpacesAndJapaneseAndReadsBack) {
    CString path = u"Z:\\home\\ann\\サイト\\a b#1.mp3";
    CString url = cat_file_colon(path);
    EXPECT_EQ(url, u"file:///Z:/home/ann/%E3%82%B5%E3%82%A4%E3%83%88/a%20b%231.mp3");
    EXPECT_EQ(fileUrlToPath(url), path);
}

TEST(UrlUtil, FileUrlsInTheirCommonSpellingsNameTheSamePath) {
    EXPECT_EQ(fileUrlToPath(u"file:///Z:/a/b.rss"), u"Z:\\a\\b.rss");
    EXPECT_EQ(fileUrlToPath(u"FILE://localhost/Z:/a/b.rss"), u"Z:\\a\\b.rss");
    EXPECT_EQ(fileUrlToPath(u"file:/Z:/a/b.rss?x=1#top"), u"Z:\\a\\b.rss");
    EXPECT_EQ(fileUrlToPath(u"file://server/share/b.rss"), u"");
    EXPECT_EQ(fileUrlToPath(u"http://example.com/b.rss"), u"");
    EXPECT_EQ(fileUrlToPath(u"file:///home/ann/a%20b.mp3"), u"Z:\\home\\ann\\a b.mp3");
}

TEST(UrlUtil, StandardPathFormResolvesDotSegmentsWithoutLeavingTheDrive) {
    EXPECT_EQ(conv_std_path(u"Z:/site/./news/../a.rss"), u"Z:\\site\\a.rss");
    EXPECT_EQ(conv_std_path(u"Z:\\..\\..\\a.rss"), u"Z:\\a.rss");
    EXPECT_EQ(conv_std_path(u"Z:\\site\\"), u"Z:\\site\\");
    EXPECT_EQ(conv_std_path(u"file:///Z:/site/x/../b%20c.rss"), u"Z:\\site\\b c.rss");
    EXPECT_EQ(conv_std_path(u"a/b.rss"), u"a\\b.rss");
}

TEST(UrlUtil, ADriveLetterIsNoScheme) {
    EXPECT_EQ(urlScheme(u"HTTPS://example.com/"), u"https");
    EXPECT_EQ(urlScheme(u"Z:\\a.rss"), u"");
    EXPECT_EQ(urlScheme(u"a/b:c"), u"");
    EXPECT_EQ(urlScheme(u"mailto:ann@example.com"), u"mailto");
    EXPECT_TRUE(isfilescheme(u"File:///Z:/a"));
    EXPECT_FALSE(isfilescheme(u"Z:/a"));
}
