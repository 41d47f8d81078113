#include "PageFakes.h"
#include "rsslink/ApplyRssLink.h"
#include "rsslink/CLumRssInsertLinkDlg.h"

#include <gtest/gtest.h>

namespace {

using rltest::FakePage;

const std::string kHead = "<html><head><title>t</title></head><body>";

// The dialog as a person leaves it, never shown.
struct Choice {
    const char16_t* rss = u"file:///Z:/site/news/a.rss";
    bool icon = false;
    bool defaultIcon = true;
    const char16_t* iconFile = u"";
    const char16_t* text = nullptr;
    bool autoDiscovery = false;
};

bool apply(FakePage& page, const Choice& c, Element anchor = Element(), Element image = Element()) {
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    dialog.m_strRssFile = c.rss;
    dialog.m_bIncludeIcon = c.icon ? 1 : 0;
    dialog.m_nDefaultIcon = c.defaultIcon ? 1 : 0;
    dialog.m_strIconFile = c.iconFile;
    dialog.m_bIncludeText = c.text != nullptr ? 1 : 0;
    dialog.m_strLinkText = c.text != nullptr ? c.text : u"";
    dialog.m_bAutoDiscovery = c.autoDiscovery ? 1 : 0;
    return newsdesk::rsslink::applyRssLink(&page, dialog, anchor, image);
}

Element editedImage(FakePage& page) {
    NodeArray images = page.dom.getChildElementsByID(page.find("a"), kHtmlTypeImage);
    return images.empty() ? Element() : Element(images.front());
}

TEST(ApplyRssLink, NewLinkAtTheCursorHoldsTheIconThenTheTextAndNamesFilesFromThePage) {
    FakePage page(kHead + "<p>Hello world</p></body></html>");
    page.doc.cursor = page.find("p").getFirstChild();
    page.doc.offset = 5;
    Choice c;
    c.icon = true;
    c.iconFile = u"file:///Z:/app/rss_icon.gif";
    c.text = u"Subscribe <now>";
    EXPECT_TRUE(apply(page, c));
    EXPECT_EQ(page.inner("p"),
              "Hello<A HREF=\"news/a.rss\"><IMG SRC=\"../app/rss_icon.gif\" "
              "ID=\"LumDefaultRssIcon\"></IMG>Subscribe <now></A> world");
    EXPECT_EQ(page.notices, std::vector<unsigned>{kPageDomChanged});
}

TEST(ApplyRssLink, EditingWithTheIconOffAndTheTextOnLeavesOneTextAtTheEnd) {
    FakePage page(kHead +
                  "<p><a href=\"old.rss\">Old <b>bold</b><img src=\"i.gif\" "
                  "id=\"LumDefaultRssIcon\"> tail</a></p></body></html>");
    Choice c;
    c.text = u"New";
    EXPECT_TRUE(apply(page, c, page.find("a"), editedImage(page)));
    // The text inside <b> goes from <b> itself, not left behind.
    EXPECT_EQ(page.inner("p"), "<a href=\"news/a.rss\"><b></b>New</a>");
}

TEST(ApplyRssLink, EditingWithTheIconOnAndTheTextOffKeepsTheImageWhereItIs) {
    FakePage page(kHead +
                  "<p><a href=\"a.rss\">Feed <span><img src=\"old.gif\" "
                  "id=\"LumDefaultRssIcon\"></span> here</a></p></body></html>");
    Choice c;
    c.icon = true;
    c.defaultIcon = false;
    c.iconFile = u"file:///Z:/site/img/new%20one.png";
    EXPECT_TRUE(apply(page, c, page.find("a"), editedImage(page)));
    EXPECT_EQ(page.inner("p"),
              "<a href=\"news/a.rss\"><span><img src=\"img/new%20one.png\"></img></span></a>");
}

TEST(ApplyRssLink, EditingWithAnIconTheLinkHadNotAddsItAfterWhatIsThere) {
    FakePage page(kHead + "<p><a href=\"a.rss\"><b>x</b>old</a></p></body></html>");
    Choice c;
    c.icon = true;
    c.iconFile = u"https://cdn.example/rss.png";
    c.text = u"new";
    EXPECT_TRUE(apply(page, c, page.find("a")));
    EXPECT_EQ(page.inner("p"),
              "<a href=\"news/a.rss\"><b></b><IMG SRC=\"https://cdn.example/rss.png\" "
              "ID=\"LumDefaultRssIcon\"></IMG>new</a>");
}

TEST(ApplyRssLink, EditingWithNeitherIconNorTextEmptiesTheLink) {
    FakePage page(kHead + "<p><a href=\"a.rss\"><img src=\"i.gif\">text</a></p></body></html>");
    EXPECT_TRUE(apply(page, Choice{}, page.find("a"), editedImage(page)));
    EXPECT_EQ(page.inner("p"), "<a href=\"a.rss\"></a>");
    EXPECT_EQ(page.notices.size(), 1u);
}

TEST(ApplyRssLink, AutoDiscoveryOffAlwaysTellsThePageEvenWhenNothingWasThere) {
    FakePage page(kHead + "<p>x</p></body></html>");
    std::string before = page.inner("html");
    EXPECT_TRUE(apply(page, Choice{}));
    EXPECT_EQ(page.inner("html"), before);
    EXPECT_EQ(page.notices, std::vector<unsigned>{kPageDomChanged});
    ASSERT_EQ(page.dom.removed.size(), 1u);
    EXPECT_EQ(page.dom.inserts, 0);
}

TEST(ApplyRssLink, AutoDiscoveryOnWithTheLinkThereAndNothingElseChangesNothing) {
    FakePage page(
        "<html><head><LINK REL=\"Alternate\" TYPE=\"application/rss+xml\" "
        "HREF=\"news/a.rss\"></head><body><p>x</p></body></html>");
    std::string before = page.inner("html");
    Choice c;
    c.autoDiscovery = true;
    EXPECT_FALSE(apply(page, c));
    EXPECT_EQ(page.inner("html"), before);
    EXPECT_TRUE(page.notices.empty());
    EXPECT_TRUE(page.dom.added.empty());
}

TEST(ApplyRssLink, AutoDiscoveryOnAddsTheLinkOnceAndOffTakesItAway) {
    FakePage page(kHead + "<p>x</p></body></html>");
    Choice c;
    c.autoDiscovery = true;
    EXPECT_TRUE(apply(page, c));
    ASSERT_EQ(page.dom.added.size(), 1u);
    // No site is open: the page names the feed relative to itself.
    EXPECT_EQ(page.dom.added[0].feedUrl, u"news/a.rss");
    EXPECT_EQ(page.dom.added[0].relative, u"news/a.rss");
    EXPECT_EQ(page.dom.added[0].siteUrl, u"");
    EXPECT_EQ(page.inner("head"),
              "<title>t</title><link rel=\"alternate\" type=\"application/rss+xml\" "
              "href=\"news/a.rss\"></link>");
    EXPECT_FALSE(apply(page, c));
    c.autoDiscovery = false;
    EXPECT_TRUE(apply(page, c));
    EXPECT_EQ(page.inner("head"), "<title>t</title>");
    EXPECT_EQ(page.notices.size(), 2u);
}

TEST(ApplyRssLink, APageWithoutAConversionSiteGetsNoLinkThatNamesNothing) {
    FakePage page(kHead + "<p>x</p></body></html>");
    page.hasConvSite = false;
    Choice c;
    c.autoDiscovery = true;
    EXPECT_FALSE(apply(page, c));
    EXPECT_TRUE(page.dom.added.empty());
    EXPECT_EQ(page.inner("head"), "<title>t</title>");
}

TEST(ApplyRssLink, FreeLayoutPagesTakeTheLinkInTheirContainer) {
    FakePage page(kHead + "<div id=\"free\"></div><p>x</p></body></html>");
    page.doc.freeLayout = true;
    page.doc.cursor = page.find("p");
    page.freeLayoutContainer = page.find("div");
    Choice c;
    c.text = u"feed";
    EXPECT_TRUE(apply(page, c));
    EXPECT_TRUE(page.doc.freeLayoutInsert);
    EXPECT_EQ(page.inner("div"), "<A HREF=\"news/a.rss\">feed</A>");
    EXPECT_EQ(page.inner("p"), "x");
    EXPECT_EQ(page.dom.inserts, 0);
}

// A link that found no place in the page is no change of it: the page is
// not told so when nothing else changed.
TEST(ApplyRssLink, ALinkWithNoPlaceIsNotReportedAsAChange) {
    FakePage freeLayout(
        "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" "
        "href=\"news/a.rss\"></head><body><p>x</p></body></html>");
    freeLayout.doc.freeLayout = true;
    Choice c;
    c.text = u"feed";
    c.autoDiscovery = true;
    EXPECT_FALSE(apply(freeLayout, c));
    EXPECT_TRUE(freeLayout.notices.empty());

    FakePage noCursor(kHead + "<p>x</p></body></html>");
    noCursor.doc.cursor = Node();
    c.autoDiscovery = false;
    // The auto-discovery step still runs, and with it off the page is told.
    EXPECT_TRUE(apply(noCursor, c));
    EXPECT_EQ(noCursor.inner("body"), "<p>x</p>");
    EXPECT_EQ(noCursor.dom.removed.size(), 1u);
}

}  // namespace
