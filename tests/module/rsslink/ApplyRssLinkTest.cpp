// A new link at the cursor with its icon and text is taken end to end by
// tests/apps/newsdesk/insert_link.cmake; these are the edits it does not take.
#include "TempDir.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/CLumUrlString.h"
#include "rsslink/ApplyRssLink.h"
#include "rsslink/CLumRssInsertLinkDlg.h"
#include "support/PageEditTesting.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using pagetest::EditedPage;

// The dialog as a person leaves it, never shown.
struct Choice {
    const char16_t* rss = u"file:///Z:/site/news/a.rss";
    bool icon = false;
    int defaultIcon = 1;
    const char16_t* iconFile = u"";
    const char16_t* text = nullptr;
    bool autoDiscovery = false;
};

// Edits the link around the cursor when `editing`, else makes a new one.
bool apply(EditedPage& page, const Choice& c, bool editing = false) {
    PageEditIF* editor = page.editor.get();
    CLumRssInsertLinkDlg dialog(editor, editor->getDocUtil(), nullptr);
    dialog.m_strRssFile = c.rss;
    dialog.m_bIncludeIcon = c.icon;
    dialog.m_nDefaultIcon = c.defaultIcon;
    dialog.m_strIconFile = c.iconFile;
    dialog.m_bIncludeText = c.text != nullptr;
    dialog.m_strLinkText = c.text != nullptr ? c.text : u"";
    dialog.m_bAutoDiscovery = c.autoDiscovery;
    Element anchor = editing ? page.around(kHtmlTypeAnchor) : Element();
    NodeArray images = editor->getDomUtil()->getChildElementsByID(anchor, kHtmlTypeImage);
    return newsdesk::rsslink::applyRssLink(editor, dialog, anchor,
                                           images.empty() ? Element() : Element(images[0]));
}

// The text and the image are found at any depth: each is taken from the
// element that holds it.
TEST(ApplyRssLink, EditingReplacesTheTextAtAnyDepthAndTakesTheIconAwayOrKeepsItInPlace) {
    const std::string link =
        "<!DOCTYPE html><p><a href=\"o.rss\">Old <b>bold</b><i><img src=\"o.gif\" "
        "id=\"x\"></i></a>";
    EditedPage textOnly(link);
    textOnly.cursorBefore("Old");
    EXPECT_TRUE(apply(textOnly, {.text = u"New"}, true));
    EXPECT_EQ(textOnly.saved(), "<!DOCTYPE html><p><a href=\"news/a.rss\"><b></b><i></i>New</a>");

    EditedPage iconOnly(link);
    iconOnly.cursorBefore("Old");
    EXPECT_TRUE(
        apply(iconOnly, {.icon = true, .defaultIcon = 0, .iconFile = u"Z:\\site\\i.png"}, true));
    EXPECT_EQ(iconOnly.saved(),
              "<!DOCTYPE html><p><a href=\"news/a.rss\"><b></b><i><img src=\"i.png\"></i></a>");

    EditedPage neither(link);
    neither.cursorBefore("Old");
    EXPECT_TRUE(apply(neither, {}, true));
    EXPECT_EQ(neither.saved(), "<!DOCTYPE html><p><a href=\"o.rss\"></a>");
}

// The site at https://ann.example/ is open: its feed may be named by URL.
TEST(ApplyRssLink, EditingKeepsTheFormOfReferencesToTheSameFiles) {
    TempDir dir;
    dir.write("newsdesk-site.json", R"({"url": "https://ann.example/", "topPage": "index.html"})");
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows()), error)) << error;
    const std::string link =
        "<!DOCTYPE html><p><a href=\"https://ann.example/news/a.rss\"><img src=\"./i.gif\">x</a>";
    EditedPage page(link, dir.windows("index.html"));
    page.cursorBefore("x</a>");
    CString icon = CLumUrlString(dir.windows("i.gif"), true).getURL();
    EXPECT_TRUE(apply(page,
                      {.rss = dir.windows("news/a.rss").c_str(),
                       .icon = true,
                       .defaultIcon = 0,
                       .iconFile = icon.GetString(),
                       .text = u"y"},
                      true));
    EXPECT_EQ(
        page.saved(),
        "<!DOCTYPE html><p><a href=\"https://ann.example/news/a.rss\"><img src=\"./i.gif\">y</a>");
    LumSiteMgr::closeSite();
}

TEST(ApplyRssLink, AutoDiscoveryOffTakesTheFeedLinkAwayOnAddsItOnlyWhenMissing) {
    const std::string announced =
        "<!DOCTYPE html><link rel=\"alternate\" type=\"application/rss+xml\" "
        "href=\"news/a.rss\"><p>x</p>";
    EditedPage page(announced);
    EXPECT_TRUE(apply(page, {}));
    EXPECT_EQ(page.saved(), "<!DOCTYPE html><p>x</p>");
    // No site is open: the page names the feed relative to itself.
    EXPECT_TRUE(apply(page, {.autoDiscovery = true}));
    const std::string added = pagetest::insertedBefore(announced, "href", "title=\"a.rss\" ");
    EXPECT_EQ(page.saved(), added);
    EXPECT_FALSE(apply(page, {.autoDiscovery = true}));
    EXPECT_EQ(page.saved(), added);
}

// The site at https://ann.example/ in dir/site, open for the test.
struct OpenSite : TempDir {
    OpenSite() {
        std::filesystem::create_directories(native("site/blog"));
        write("site/newsdesk-site.json",
              R"({"url": "https://ann.example/", "topPage": "index.html"})");
        std::string error;
        EXPECT_TRUE(LumSiteMgr::openSite(CString(windows("site")), error)) << error;
    }
    ~OpenSite() { LumSiteMgr::closeSite(); }
};

// What is written resolves, against the page's base, to the file chosen;
// "/" is the site's root and a query or fragment typed stays.
TEST(ApplyRssLink, ReferencesWrittenResolveAgainstTheBaseToTheFileChosen) {
    OpenSite dir;
    const std::u16string feed = dir.windows("site/blog/feed.rss");
    struct Case {
        std::string page;
        std::u16string rss;
        std::string href;
    } cases[] = {
        {"<!DOCTYPE html><base href=\"/\"><p>x</p>", feed, "blog/feed.rss"},
        {"<!DOCTYPE html><base href=\"https://ann.example/blog/\"><p>x</p>", feed, "feed.rss"},
        {"<!DOCTYPE html><base href=\"https://cdn.example/\"><p>x</p>", feed,
         "https://ann.example/blog/feed.rss"},
        {"<!DOCTYPE html><p>x</p>", u"/news.rss?v=1", "../news.rss?v=1"},
        {"<!DOCTYPE html><p>x</p>", u"/blog/feed.rss#top", "feed.rss#top"},
    };
    for (const Case& c : cases) {
        EditedPage page(c.page, dir.windows("site/blog/post.html"));
        page.cursorBefore("x</p>");
        EXPECT_TRUE(apply(page, {.rss = c.rss.c_str(), .text = u"t", .autoDiscovery = true}));
        std::string saved = page.saved();
        EXPECT_NE(saved.find("<A HREF=\"" + c.href + "\">t</A>"), std::string::npos) << saved;
        EXPECT_NE(saved.find("href=\"" + c.href + "\">"), std::string::npos) << saved;
    }
}

TEST(ApplyRssLink, AReferenceFromTheRootIsReadFromTheSitesRootWhenEditing) {
    OpenSite dir;
    EditedPage page("<!DOCTYPE html><p><a href=\"/news.rss?x=1#top\">F</a>",
                    dir.windows("site/blog/post.html"));
    CString full = page.editor->getDocUtil()->getFullPath(u"/news.rss?x=1#top");
    EXPECT_EQ(full, CLumUrlString(dir.windows("site/news.rss"), true).getURL() + u"?x=1#top");
}

// An anchor inside an anchor is no link.
TEST(ApplyRssLink, ANewLinkInALinkToAPageGoesRightAfterIt) {
    EditedPage page("<!DOCTYPE html><p><a href=\"p.html\">Pa<b>ge</b></a> after</p>");
    page.cursorBefore("ge</b>");
    EXPECT_TRUE(apply(page, {.text = u"RSS"}));
    EXPECT_EQ(page.saved(),
              "<!DOCTYPE html><p><a href=\"p.html\">Pa<b>ge</b></a><A "
              "HREF=\"news/a.rss\">RSS</A> after</p>");
}

// The product's icon lies outside every site: the site gets a copy, which
// never replaces a different file of its name.
TEST(ApplyRssLink, AnIconFromOutsideTheSiteIsCopiedIntoItAndThePageNamesTheCopy) {
    OpenSite dir;
    dir.write("icon.gif", "GIF89a product");
    const std::u16string icon = dir.windows("icon.gif");
    const Choice withIcon{.icon = true, .defaultIcon = 0, .iconFile = icon.c_str()};
    auto insert = [&]() {
        EditedPage page("<!DOCTYPE html><p>x</p>", dir.windows("site/blog/post.html"));
        page.cursorBefore("x</p>");
        Choice c = withIcon;
        c.rss = u"feed.rss";
        EXPECT_TRUE(apply(page, c));
        return page.saved();
    };
    EXPECT_EQ(insert(),
              "<!DOCTYPE html><p><A HREF=\"feed.rss\"><IMG "
              "SRC=\"../rss_icons/icon.gif\"></A>x</p>");
    EXPECT_EQ(dir.read("site/rss_icons/icon.gif"), "GIF89a product");
    // The same picture again: the copy there is taken.
    EXPECT_NE(insert().find("SRC=\"../rss_icons/icon.gif\""), std::string::npos);
    dir.write("site/rss_icons/icon.gif", "GIF89a the site's own");
    EXPECT_NE(insert().find("SRC=\"../rss_icons/icon-2.gif\""), std::string::npos);
    EXPECT_EQ(dir.read("site/rss_icons/icon.gif"), "GIF89a the site's own");
    EXPECT_EQ(dir.read("site/rss_icons/icon-2.gif"), "GIF89a product");
}

// Editing a link whose default icon the site holds keeps that picture.
TEST(ApplyRssLink, EditingKeepsADefaultIconTheSiteHolds) {
    OpenSite dir;
    dir.write("icon.gif", "GIF89a product");
    dir.write("site/rss_icon.gif", "GIF89a local");
    const std::string link =
        "<!DOCTYPE html><p><a href=\"feed.rss\"><img src=\"../rss_icon.gif\" "
        "id=\"LumDefaultRssIcon\">F</a>";
    EditedPage page(link, dir.windows("site/blog/post.html"));
    page.cursorBefore("F</a>");
    const std::u16string icon = dir.windows("icon.gif");
    EXPECT_TRUE(apply(page,
                      {.rss = dir.windows("site/blog/feed.rss").c_str(),
                       .icon = true,
                       .iconFile = icon.c_str(),
                       .text = u"G"},
                      true));
    EXPECT_EQ(page.saved(),
              "<!DOCTYPE html><p><a href=\"feed.rss\"><img src=\"../rss_icon.gif\" "
              "id=\"LumDefaultRssIcon\">G</a>");
    EXPECT_FALSE(std::filesystem::exists(dir.native("site/rss_icons")));
}

// A typed name that a URL must encode still gets its announcement, once.
TEST(ApplyRssLink, NamesThatNeedPercentEncodingAreAnnouncedToo) {
    struct Case {
        const char16_t* typed;
        std::string href;
    } cases[] = {
        {u"ニュース.rss", "%E3%83%8B%E3%83%A5%E3%83%BC%E3%82%B9.rss"},
        {u"a b.rss", "a%20b.rss"},
        {u"https://other.example/フィード.rss",
         "https://other.example/%E3%83%95%E3%82%A3%E3%83%BC%E3%83%89.rss"},
    };
    for (const Case& c : cases) {
        EditedPage page("<!DOCTYPE html><p>x</p>");
        EXPECT_TRUE(apply(page, {.rss = c.typed, .autoDiscovery = true}));
        std::string saved = page.saved();
        EXPECT_NE(saved.find("type=\"application/rss+xml\""), std::string::npos) << saved;
        EXPECT_NE(saved.find("href=\"" + c.href + "\">"), std::string::npos) << saved;
        EXPECT_FALSE(apply(page, {.rss = c.typed, .autoDiscovery = true}));
    }
}

}  // namespace
