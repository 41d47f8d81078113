// A new link at the cursor with its icon and text is taken end to end by
// tests/apps/newsdesk/insert_link.cmake; these are the edits it does not take.
#include "TempDir.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/CLumUrlString.h"
#include "rsslink/ApplyRssLink.h"
#include "rsslink/CLumRssInsertLinkDlg.h"
#include "support/PageEditTesting.h"

#include <gtest/gtest.h>

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

}  // namespace
