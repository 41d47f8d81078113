#include "PageFakes.h"
#include "rsslink/ApplyRssLink.h"
#include "rsslink/CLumRssInsertLinkDlg.h"

#include <gtest/gtest.h>

namespace {

using rltest::FakePage;

// The dialog as a person leaves it, never shown.
struct Choice {
    const char16_t* rss = u"file:///Z:/site/news/a.rss";
    bool icon = false;
    int defaultIcon = 1;
    const char16_t* iconFile = u"";
    const char16_t* text = nullptr;
    bool autoDiscovery = false;
};

bool apply(FakePage& page, const Choice& c, bool editing = false) {
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    dialog.m_strRssFile = c.rss;
    dialog.m_bIncludeIcon = c.icon;
    dialog.m_nDefaultIcon = c.defaultIcon;
    dialog.m_strIconFile = c.iconFile;
    dialog.m_bIncludeText = c.text != nullptr;
    dialog.m_strLinkText = c.text != nullptr ? c.text : u"";
    dialog.m_bAutoDiscovery = c.autoDiscovery;
    Element anchor = editing ? page.find("a") : Element();
    NodeArray images = page.dom.getChildElementsByID(anchor, kHtmlTypeImage);
    return newsdesk::rsslink::applyRssLink(&page, dialog, anchor,
                                           images.empty() ? Element() : Element(images[0]));
}

TEST(ApplyRssLink, ANewLinkAtTheCursorHoldsTheIconThenTheTextAndNamesFilesFromThePage) {
    FakePage page("<p><b>1</b><b>2</b></p>");
    page.doc.cursor = page.find("p");
    page.doc.offset = 1;
    EXPECT_TRUE(apply(page, {.icon = true, .iconFile = u"file:///Z:/app/rss.gif", .text = u"<R>"}));
    EXPECT_EQ(page.inner("p"),
              "<b>1</b><A HREF=\"news/a.rss\"><IMG SRC=\"../app/rss.gif\" "
              "ID=\"LumDefaultRssIcon\"/>&lt;R&gt;</A><b>2</b>");
    EXPECT_EQ(page.notices, std::vector<unsigned>{kPageDomChanged});
}

// The DOM helpers find text and images at any depth: each is taken from
// the element that holds it.
TEST(ApplyRssLink, EditingReplacesTheTextAtAnyDepthAndTakesTheIconAwayOrKeepsItInPlace) {
    const char* link =
        "<p><a href=\"o.rss\">Old <b>bold</b><i><img src=\"o.gif\" id=\"x\"></i></a>";
    FakePage textOnly(link);
    EXPECT_TRUE(apply(textOnly, {.text = u"New"}, true));
    EXPECT_EQ(textOnly.inner("p"), "<a href=\"news/a.rss\"><b/><i/>New</a>");

    FakePage iconOnly(link);
    EXPECT_TRUE(
        apply(iconOnly, {.icon = true, .defaultIcon = 0, .iconFile = u"Z:\\site\\i.png"}, true));
    EXPECT_EQ(iconOnly.inner("p"), "<a href=\"news/a.rss\"><b/><i><img src=\"i.png\"/></i></a>");

    FakePage neither(link);
    EXPECT_TRUE(apply(neither, {}, true));
    EXPECT_EQ(neither.inner("p"), "<a href=\"o.rss\"/>");
}

TEST(ApplyRssLink, EditingKeepsTheFormOfReferencesToTheSameFiles) {
    FakePage page("<p><a href=\"https://ann.example/news/a.rss\"><img src=\"./i.gif\">x</a>");
    EXPECT_TRUE(apply(page,
                      {.rss = u"Z:\\site\\news\\a.rss",
                       .icon = true,
                       .defaultIcon = 0,
                       .iconFile = u"file:///Z:/site/i.gif",
                       .text = u"y"},
                      true));
    EXPECT_EQ(page.inner("p"),
              "<a href=\"https://ann.example/news/a.rss\"><img src=\"./i.gif\"/>y</a>");
}

TEST(ApplyRssLink, AutoDiscoveryOffAlwaysTellsThePageOnTellsItOnlyOfANewLink) {
    FakePage page("<p>x</p>");
    EXPECT_TRUE(apply(page, {}));
    EXPECT_EQ(page.dom.removed.size(), 1u);
    EXPECT_TRUE(apply(page, {.autoDiscovery = true}));
    ASSERT_EQ(page.dom.added.size(), 1u);
    // No site is open: the page names the feed relative to itself.
    EXPECT_EQ(page.dom.added[0].feedUrl, u"news/a.rss");
    EXPECT_EQ(page.dom.added[0].relative, u"news/a.rss");
    EXPECT_EQ(page.dom.added[0].siteUrl, u"");
    EXPECT_FALSE(apply(page, {.autoDiscovery = true}));
    EXPECT_EQ(page.notices.size(), 2u);
    EXPECT_EQ(page.inner("p"), "x");
}

TEST(ApplyRssLink, NoPlaceForTheLinkOrNoUrlForTheFeedIsNoChange) {
    FakePage page("<div></div><p>x</p>");
    page.dom.feedLinks = {u"news/a.rss"};
    page.doc.freeLayout = true;
    EXPECT_FALSE(apply(page, {.text = u"feed", .autoDiscovery = true}));
    page.freeLayoutContainer = page.find("div");
    EXPECT_TRUE(apply(page, {.text = u"feed", .autoDiscovery = true}));
    EXPECT_TRUE(page.doc.freeLayoutInsert);
    EXPECT_EQ(page.inner("div"), "<A HREF=\"news/a.rss\">feed</A>");

    FakePage noSite("<p>x</p>");
    noSite.hasConvSite = false;
    EXPECT_FALSE(apply(noSite, {.autoDiscovery = true}));
    EXPECT_TRUE(noSite.dom.added.empty());
}

}  // namespace
