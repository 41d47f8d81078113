// A page of the site at Z:\site\ published as https://docs.example/: its
// references are read as the published site reads them.
#include "hostapp/pages/PageAddress.h"
#include "support/PageEditTesting.h"

#include <gtest/gtest.h>

namespace {

using lum::page::PageAddress;

const char kRoot[] = "file:///Z:/site/";
const char kSiteUrl[] = "https://docs.example/";

// blog/post.html of the site, with the <base href> given (or none).
PageAddress postWithBase(const char* base) {
    PageAddress address("file:///Z:/site/blog/post.html", base);
    address.setSite(kRoot, kSiteUrl);
    return address;
}

TEST(PageAddress, ReferencesFromTheRootOrTheBaseLandInTheSiteQueryAndFragmentKept) {
    struct Case {
        const char* base;
        const char* reference;
        const char* resolved;
    } cases[] = {
        {"", "/news.rss?v=1", "file:///Z:/site/news.rss?v=1"},
        {"", "../../../news.rss", "file:///Z:/site/news.rss"},
        {"", "feed.rss#top", "file:///Z:/site/blog/feed.rss#top"},
        {"", "HTTPS://DOCS.EXAMPLE/blog/feed.rss", "file:///Z:/site/blog/feed.rss"},
        {"", "https://other.example/a.rss", "https://other.example/a.rss"},
        {"", "Z:\\site\\a b.rss", "file:///Z:/site/a%20b.rss"},
        {"/", "feed.rss", "file:///Z:/site/feed.rss"},
        {"https://docs.example/docs/", "feed.rss", "file:///Z:/site/docs/feed.rss"},
        {"https://cdn.example/", "feed.rss", "https://cdn.example/feed.rss"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(postWithBase(c.base).resolve(c.reference), c.resolved)
            << c.base << " " << c.reference;
    }
    EXPECT_EQ(postWithBase("/").base(), "file:///Z:/site/");
    EXPECT_EQ(postWithBase("").base(), "file:///Z:/site/blog/post.html");
    // Outside the site nothing says where "/" is but the disk.
    PageAddress outside("file:///Z:/elsewhere/p.html", "");
    outside.setSite(kRoot, kSiteUrl);
    EXPECT_EQ(outside.resolve("/a.rss"), "file:///a.rss");
}

TEST(PageAddress, AFileIsTheSameFileWhateverIsAskedOfItOtherAddressesKeepTheirQuery) {
    EXPECT_EQ(PageAddress::identity("file:///Z:/site/%E3%83%8B.rss?x=1#top"),
              "file:///Z:/site/ニ.rss");
    EXPECT_EQ(PageAddress::identity("HTTPS://Other.Example/a%20b.rss?x=1#top"),
              "https://other.example/a b.rss?x=1");
}

// The auto-discovery link of news/index.html is found in whatever form it
// names the feed.
TEST(PageAddress, TheFeedLinkIsFoundByEveryUrlThatReachesTheFeed) {
    const char* hrefs[] = {
        "/news/feed.rss",       "HTTPS://DOCS.EXAMPLE/news/feed.rss",
        "feed.rss?format=full", "./feed.rss#latest",
        "%66eed.rss",
    };
    for (const char* href : hrefs) {
        pagetest::OpenPage p(
            std::string(
                "<!DOCTYPE html><head><link rel=alternate type=application/rss+xml href=\"") +
            href + "\"></head><p>x</p>");
        p.dom->setSite(kRoot, kSiteUrl);
        EXPECT_TRUE(
            p.dom->hasRssLink(u"https://docs.example/news/feed.rss", u"feed.rss", u"", Node()))
            << href;
        EXPECT_FALSE(
            p.dom->hasRssLink(u"https://docs.example/feed.rss", u"../feed.rss", u"", Node()))
            << href;
    }
}

}  // namespace
