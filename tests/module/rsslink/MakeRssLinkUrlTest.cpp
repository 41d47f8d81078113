#include "PageFakes.h"
#include "TempDir.h"
#include "feed/MakeRssLinkUrl.h"
#include "hostapp/LumSiteMgr.h"

#include <gtest/gtest.h>

namespace {

using rltest::FakePage;

const std::string kPage = "<html><body></body></html>";

CString linkUrl(FakePage& page, const CString& target) {
    CString out = u"(untouched)";
    newsdesk::makeRssLinkUrl(&page, target, out);
    return out;
}

TEST(MakeRssLinkUrl, APageWithoutAConversionSiteLeavesTheResultAsItWas) {
    FakePage page(kPage);
    page.hasConvSite = false;
    EXPECT_EQ(linkUrl(page, u"news/a.rss"), u"(untouched)");
}

TEST(MakeRssLinkUrl, WithNoSiteOpenFilesAreNamedRelativelyAndUrlsAsTheyAre) {
    ASSERT_FALSE(LumSiteMgr::isSiteOpened());
    FakePage page(kPage, u"Z:\\site\\news\\index.html");
    EXPECT_EQ(linkUrl(page, u"a.rss"), u"a.rss");
    EXPECT_EQ(linkUrl(page, u"Z:\\site\\feeds\\b c.rss"), u"../feeds/b%20c.rss");
    EXPECT_EQ(linkUrl(page, u"file:///Z:/other/a.rdf"), u"../../other/a.rdf");
    EXPECT_EQ(linkUrl(page, u"http://feeds.example/a.rss"), u"http://feeds.example/a.rss");
    EXPECT_EQ(linkUrl(page, u"https://feeds.example/a.rss?x=1"),
              u"https://feeds.example/a.rss?x=1");
}

// A site published below a folder of its host, whose top page is not
// index.html: the published URL of a feed is under the site's folder.
class MakeRssLinkUrlInASite : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.native("site/news"));
        dir.write("site/newsdesk-site.json",
                  R"({"name": "Shop", "url": "https://ann.example/shop/", "topPage": "top.html"})");
        dir.write("site/top.html", kPage);
        std::string error;
        ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows("site")), error)) << error;
    }
    void TearDown() override { LumSiteMgr::closeSite(); }

    CString at(const std::string& name) { return CString(dir.windows(name)); }

    TempDir dir;
};

TEST_F(MakeRssLinkUrlInASite, AFeedOfTheSiteIsNamedByItsPublishedUrl) {
    FakePage page(kPage, at("site/news/index.html"), at("site/"), u"https://ann.example/shop/");
    EXPECT_EQ(linkUrl(page, at("site/news/a.rss")), u"https://ann.example/shop/news/a.rss");
    EXPECT_EQ(linkUrl(page, u"../c.rdf"), u"https://ann.example/shop/c.rdf");
    EXPECT_EQ(linkUrl(page, u"https://ann.example/shop/c.rdf"), u"https://ann.example/shop/c.rdf");
}

TEST_F(MakeRssLinkUrlInASite, FeedsOutsideTheSiteKeepTheirOwnAddress) {
    FakePage page(kPage, at("site/news/index.html"), at("site/"), u"https://ann.example/shop/");
    // https is as much a web address as http.
    EXPECT_EQ(linkUrl(page, u"https://feeds.example/a.rss?lang=ja"),
              u"https://feeds.example/a.rss?lang=ja");
    EXPECT_EQ(linkUrl(page, u"HTTP://feeds.example/a.rss"), u"HTTP://feeds.example/a.rss");
    // A file outside the site has no published address.
    EXPECT_EQ(linkUrl(page, at("elsewhere/a.rss")), u"../../elsewhere/a.rss");
}

}  // namespace
