#include "TempDir.h"
#include "feed/MakeRssLinkUrl.h"
#include "hostapp/site/LumSiteMgr.h"
#include "support/PageEditTesting.h"

#include <gtest/gtest.h>

namespace {

CString linkUrl(pagetest::EditedPage& page, const CString& target) {
    CString out = u"(untouched)";
    newsdesk::makeRssLinkUrl(page.editor.get(), target, out);
    return out;
}

TEST(MakeRssLinkUrl, WithNoSiteOpenFilesAreNamedRelativelyAndUrlsAsTheyAre) {
    pagetest::EditedPage page("<!DOCTYPE html>", u"Z:\\site\\news\\index.html");
    EXPECT_EQ(linkUrl(page, u"a.rss"), u"a.rss");
    EXPECT_EQ(linkUrl(page, u"Z:\\site\\feeds\\b c.rss"), u"../feeds/b%20c.rss");
    EXPECT_EQ(linkUrl(page, u"https://feeds.example/a.rss?x=1"),
              u"https://feeds.example/a.rss?x=1");
}

// Published below a folder of its host, with top page top.html: a feed's
// published URL lies under the site's folder, not under its top page.
TEST(MakeRssLinkUrl, WithTheSiteOpenItsFeedsAreNamedByTheirPublishedUrl) {
    TempDir dir;
    dir.write("newsdesk-site.json",
              R"({"name": "Shop", "url": "https://ann.example/shop/", "topPage": "top.html"})");
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows()), error)) << error;
    pagetest::EditedPage page("<!DOCTYPE html>", dir.windows("news/index.html"));
    EXPECT_EQ(linkUrl(page, dir.windows("news/a.rss")), u"https://ann.example/shop/news/a.rss");
    EXPECT_EQ(linkUrl(page, u"../c.rdf"), u"https://ann.example/shop/c.rdf");
    // https is as much a web address as http; a feed outside keeps its query.
    EXPECT_EQ(linkUrl(page, u"https://feeds.example/a.rss?x=1"),
              u"https://feeds.example/a.rss?x=1");
    EXPECT_EQ(linkUrl(page, dir.windows("../elsewhere/a.rss")), u"../../elsewhere/a.rss");
    LumSiteMgr::closeSite();
}

}  // namespace
