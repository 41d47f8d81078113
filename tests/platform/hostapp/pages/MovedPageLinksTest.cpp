#include "hostapp/pages/MovedPageLinks.h"

#include <gtest/gtest.h>

#include <optional>

using lum::page::LinkAction;
using lum::site::FileMove;
using lum::site::MovedPageLinks;
using lum::site::SiteLinkResolver;

namespace {

const SiteLinkResolver kSite("https://ann.example/", "/home/ann/site", "index.html");

// The link as the moved page holds it afterwards.
std::string after(const MovedPageLinks& links, std::string_view url, std::string_view base = "") {
    lum::page::LinkDecision decision = links.decide(base, url);
    EXPECT_NE(decision.action, LinkAction::Remove) << url;
    return decision.action == LinkAction::Replace ? decision.value : std::string(url);
}

TEST(MovedPageLinks, RelativeLinksNameTheSameFilesOneFolderDownWithQueryAndFragment) {
    MovedPageLinks links(kSite, "news/story.html", "news/deep/story.html",
                         {{"news/story.html", "news/deep/story.html"}});
    EXPECT_EQ(after(links, "img/a.png?w=2#x"), "../img/a.png?w=2#x");
    EXPECT_EQ(after(links, "../index.html#top"), "../../index.html#top");
    EXPECT_EQ(after(links, "./"), "../");
    EXPECT_EQ(after(links, ".."), "../../");
    for (std::string_view same :
         {"#top", "?page=2", "story.html#s", "/news/a.css", "https://ann.example/news/a.css",
          "//cdn.example/a.js", "mailto:ann@example.com"}) {
        EXPECT_EQ(links.decide("", same).action, LinkAction::Keep) << same;
    }
}

TEST(MovedPageLinks, BackUpOneFolderTheLinksShorten) {
    MovedPageLinks links(kSite, "news/deep/story.html", "news/story.html", {});
    EXPECT_EQ(after(links, "../../latest.dat"), "../latest.dat");
    EXPECT_EQ(after(links, "../"), "./");
    EXPECT_EQ(after(links, "../../"), "../");
    EXPECT_EQ(after(links, "a.png"), "deep/a.png");
}

TEST(MovedPageLinks, FilesMovedInTheSameOperationAreReachedAtTheirNewPlaces) {
    MovedPageLinks links(kSite, "news/story.html", "story.html",
                         {{"news/story.html", "story.html"}, {"news/feed.rss", "feeds/all.rss"}});
    EXPECT_EQ(after(links, "feed.rss?v=1#new"), "feeds/all.rss?v=1#new");
    EXPECT_EQ(after(links, "../feeds/other.rss"), "feeds/other.rss");
    // Renamed on the way, the page's link to itself follows it.
    MovedPageLinks renamed(kSite, "news/story.html", "tale.html",
                           {{"news/story.html", "tale.html"}});
    EXPECT_EQ(after(renamed, "story.html#s"), "tale.html#s");
}

TEST(MovedPageLinks, TheBaseDecidesWhetherTheLinksDependOnThePlace) {
    MovedPageLinks links(kSite, "news/story.html", "news/deep/story.html", {});
    // A base relative to the page moves with it, so the links must make up.
    EXPECT_EQ(after(links, "img/a.png", "../"), "../img/a.png");
    EXPECT_EQ(after(links, "img/a.png?q#f", "sub/"), "../../sub/img/a.png?q#f");
    // An absolute or root-relative base is the same from anywhere.
    EXPECT_EQ(links.decide("https://ann.example/news/", "img/a.png").action, LinkAction::Keep);
    EXPECT_EQ(links.decide("/news/", "../img/a.png").action, LinkAction::Keep);
}

TEST(MovedPageLinks, FolderNamesComeBackAsWrittenAndSafe) {
    MovedPageLinks japanese(kSite, "ニュース/p.html", "p.html", {});
    EXPECT_EQ(after(japanese, "img/a.png"), "ニュース/img/a.png");
    MovedPageLinks spaced(kSite, "my news/p.html", "p.html", {});
    EXPECT_EQ(after(spaced, "img/a.png"), "my%20news/img/a.png");
    // A first segment with a colon must not read as a scheme.
    MovedPageLinks up(kSite, "a/p.html", "p.html", {});
    EXPECT_EQ(after(up, "../b:c.html"), "./b:c.html");
    MovedPageLinks sideways(kSite, "news/a.html", "news/b.html", {});
    EXPECT_EQ(sideways.decide("", "img/x.png").action, LinkAction::Keep);
}

// A page renamed in its folder: every link naming it, whatever the form,
// follows it; links to it without a name and to other pages stay.
TEST(MovedPageLinks, LinksToThePageItselfByNameFollowARenameInEveryForm) {
    MovedPageLinks renamed(kSite, "apt.html", "apt-tools.html", {{"apt.html", "apt-tools.html"}});
    struct {
        std::string_view url, base, expected;
    } cases[] = {
        {"apt.html#sources", "", "apt-tools.html#sources"},
        {"/apt.html", "", "/apt-tools.html"},
        {"https://ANN.example:443/apt.html?x", "", "https://ann.example/apt-tools.html?x"},
        {"//ann.example/apt.html", "", "//ann.example/apt-tools.html"},
        {"apt.html", "/", "apt-tools.html"},
        {"#top", "", "#top"},
        {"?q=1", "", "?q=1"},
        {"bugs.html", "", "bugs.html"},
        {"/bugs.html", "", "/bugs.html"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(after(renamed, c.url, c.base), c.expected) << c.url;
    }
}

// Spellings a browser requests as a file of the site are the site's.
TEST(SiteLinkResolver, DefaultPortsAndPathsAboveTheRootReachTheSitesFiles) {
    const SiteLinkResolver shop("https://ann.example/shop/", "/home/ann/site", "index.html");
    struct {
        std::string_view link;
        std::optional<std::string> file;
    } cases[] = {
        {"https://ann.example:443/shop/u.html", "u.html"},
        {"http://ann.example:80/shop/u.html", std::nullopt},  // another scheme
        {"https://ann.example:8443/shop/u.html", std::nullopt},
        {"/../shop/u.html", "u.html"},
        {"/../../shop/./a/../u.html", "u.html"},
        {"../../../shop/u.html", "u.html"},
        {"/../u.html", std::nullopt},  // the server's root is not the site's
        {"/shop/%2E%2E/u.html", std::nullopt},
        // An empty segment would make the path absolute (fuzz_page_links).
        {"/shop/\\\xfahz\\\\\\", std::nullopt},
        {"/shop//etc/passwd", std::nullopt},
        {"/shop/%2Fetc/passwd", std::nullopt},
        {"file:///home/ann/site//etc/passwd", std::nullopt},
        {"file:///home/ann/site/a/..", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shop.resolve("news/p.html", "", c.link), c.file) << c.link;
    }
    const SiteLinkResolver top("https://docs.example/", "/home/ann/site", "index.html");
    EXPECT_EQ(top.resolve("a/b.html", "", "/../u.html"), "u.html");
    EXPECT_EQ(top.resolve("a/b.html", "", "https://docs.example:443/u.html"), "u.html");
}

}  // namespace
