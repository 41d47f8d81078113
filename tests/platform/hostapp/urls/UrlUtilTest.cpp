#include "hostapp/files/CLumTktUtil.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/CLumUrlString.h"
#include "hostapp/urls/Url.h"
#include "hostapp/urls/UrlUtil.h"

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

TEST(PageReferences, RelativeAndRootFormsOfAFileInAndOutOfTheSite) {
    SITE_INFO info;
    info.rootFolder = u"Z:\\site\\";
    info.siteUrl = u"https://ann.example/";
    SiteIF* site = lum::newSiteIF(info, false);
    const CString page = u"file:///Z:/site/news/index.html";
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"dummy", u"Z:\\site\\a b.rss", page, u"", u""),
              u"../a%20b.rss");
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"./dummy", u"feeds/x.rss", page, u"", u""), u"feeds/x.rss");
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"/dummy", u"Z:\\site\\a b.rss", page, u"", u""),
              u"/a%20b.rss");
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"/dummy", u"https://ann.example/f/x.rss", page, u"", u""),
              u"/f/x.rss");
    // Outside the site there is no root form; another host has no relative form.
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"/dummy", u"Z:\\other\\a.rss", page, u"", u""), u"");
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"dummy", u"http://else.example/a.rss", page, u"", u""),
              u"");
    // The site's published URL of a file is that file to its pages.
    EXPECT_EQ(
        SIFUtil::getRelUrl(site, u"dummy", u"https://ann.example/f/x%20y.rss", page, u"", u""),
        u"../f/x%20y.rss");
    EXPECT_EQ(SIFUtil::getRelUrl(site, u"dummy", u"https://ann.example.org/x.rss", page, u"", u""),
              u"");
    EXPECT_EQ(SIFUtil::convUrl(site, u"Z:\\site\\a.rss", u"", page, u"", u"", nullptr),
              u"https://ann.example/a.rss");
    EXPECT_EQ(SIFUtil::convUrl(site, u"../../other/a.rss", u"", page, u"", u"", nullptr),
              u"file:///Z:/other/a.rss");
    site->release();
}

TEST(PageReferences, UrlElementsAndFeedNames) {
    Url url(u"HTTPS://ann.example:8080/news/a.rss?x=1#top");
    EXPECT_EQ(url.get_element(Url::kScheme), u"HTTPS");
    EXPECT_EQ(url.get_element(Url::kHost), u"ann.example:8080");
    EXPECT_EQ(url.get_element(Url::kPath), u"/news/a.rss");
    EXPECT_EQ(url.get_url_woparams(), u"HTTPS://ann.example:8080/news/a.rss");
    EXPECT_TRUE(is_docroot_path(u"/a.rss"));
    EXPECT_FALSE(is_docroot_path(u"//host/a.rss"));
    CString path = u"/Z:/a%20b/c.rss";
    conv_pc_path(path);
    EXPECT_EQ(path, u"Z:\\a b\\c.rss");
    EXPECT_EQ(concat_path(u"https://ann.example/", u"/a.rss"), u"https://ann.example/a.rss");
    EXPECT_TRUE(CLumTktUtil::isRSSFile(u"https://ann.example/a.RDF?x=1.html"));
    EXPECT_FALSE(CLumTktUtil::isRSSFile(u"https://ann.example/rss/"));
    EXPECT_EQ(CLumUrlString(u"Z:\\a b.rss", true).getURL(), u"file:///Z:/a%20b.rss");
}
