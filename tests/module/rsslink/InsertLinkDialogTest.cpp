#include "TempDir.h"
#include "host/Entries.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/urls/CLumUrlString.h"
#include "module/sitefiles/SiteFilesTesting.h"
#include "res/ResourceIds.h"
#include "rsslink/CLumRssInsertLinkDlg.h"
#include "support/PageEditTesting.h"
#include "support/TestUiDriver.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using nd::win32::UiCheck;
using nd::win32::UiStep;
using pagetest::EditedPage;

UiStep okIs(bool on) {
    return UiStep::expect(IDOK, UiCheck::enabled(on));
}

UiStep iconFileGroupIs(bool on) {
    return UiStep::run([on](HWND h) {
        for (int id : {IDC_RSS_LINK_ICON_FILE, IDC_RSS_LINK_BROWSE_ICON, IDC_RSS_LINK_SAMPLE_ICON,
                       IDC_RSS_LINK_ICON_FILE_LABEL}) {
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(h, id)) != FALSE, on) << "control " << id;
        }
    });
}

UiStep titleIs(std::u16string title) {
    return UiStep::run([title](HWND h) {
        std::u16string text(64, u'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), 64)));
        EXPECT_EQ(text, title);
    });
}

TEST(InsertLinkDialog, OkNeedsAFeedAPictureForAnIconFromAFileAndATextWhenOneIsWanted) {
    EditedPage page("<!DOCTYPE html><p>x</p>");
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK, {okIs(false),
                                          iconFileGroupIs(false),
                                          UiStep::type(IDC_RSS_LINK_FILE, u"a.rss"),
                                          okIs(true),
                                          UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, true),
                                          iconFileGroupIs(false),
                                          UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE),
                                          iconFileGroupIs(true),
                                          okIs(false),
                                          UiStep::type(IDC_RSS_LINK_ICON_FILE, u"i.png"),
                                          okIs(true),
                                          UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, true),
                                          okIs(false),
                                          UiStep::type(IDC_RSS_LINK_TEXT, u"t"),
                                          okIs(true),
                                          UiStep::type(IDC_RSS_LINK_FILE, u""),
                                          okIs(false),
                                          UiStep::type(IDC_RSS_LINK_FILE, u"a.rss"),
                                          UiStep::click(IDC_RSS_LINK_DEFAULT_ICON),
                                          iconFileGroupIs(false),
                                          UiStep::click(IDOK)});
    CLumRssInsertLinkDlg dialog(page.editor.get(), page.editor->getDocUtil(), nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // The default icon is the product's picture, whatever was typed.
    EXPECT_EQ(dialog.m_strIconFile,
              CLumUrlString(CKmxCommon::getProductFolder(54, 0) + u"rss_icon.gif", true).getURL());
}

// The site lists b.xml, c.rdf, news/a.rss; the page announces news/a.rss.
TEST(InsertLinkDialog, PickingASiteFeedTellsWhetherThePageAnnouncesItBrowsingDoesNot) {
    sftest::FeedSite dir;
    EditedPage page(
        "<!DOCTYPE html><link rel=alternate type=application/rss+xml href=news/a.rss><p>x</p>",
        dir.windows("site/index.html"));
    CString feedC = CLumUrlString(dir.windows("site/c.rdf"), true).getURL();
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {UiStep::click(IDC_RSS_LINK_PICK_SITE_RSS),
                     UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(true)),
                     UiStep::click(IDC_RSS_LINK_BROWSE_RSS),
                     UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(feedC.GetString())),
                     UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(true)),
                     UiStep::click(IDC_RSS_LINK_PICK_SITE_RSS),
                     UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(false)),
                     UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {2}), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {1}), UiStep::click(IDOK)});
    ui.chooseFile(23, dir.windows("site/c.rdf"));
    CLumRssInsertLinkDlg dialog(page.editor.get(), page.editor->getDocUtil(), nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// The page lies in no site: its own folder takes the copy of the product's
// picture.
TEST(InsertRssLinkEntry, AnIconWhoseIdBeginsWithTheDefaultMarkIsEditedAsTheDefaultIcon) {
    TempDir dir;
    TempDir product;
    product.write("rss_icon.gif", "GIF89a default");
    ::setenv("NEWSDESK_PRODUCT_FOLDER", product.path().c_str(), 1);
    EditedPage page(
        "<!DOCTYPE html><p><a href=\"news/a.rss\"><img src=\"m.gif\" "
        "id=\"LumDefaultRssIcon2\">F</a>",
        dir.windows("index.html"));
    page.cursorBefore("F</a>");
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {titleIs(u"RSS リンクの編集"),
         UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(dir.windows("news/a.rss"))),
         UiStep::expect(IDC_RSS_LINK_DEFAULT_ICON, UiCheck::checked(true)),
         UiStep::expect(IDC_RSS_LINK_TEXT, UiCheck::textIs(u"F")), UiStep::click(IDOK)});
    newsdesk::InsertRssLinkEntry(page.editor.get());
    EXPECT_EQ(page.saved(),
              "<!DOCTYPE html><p><a href=\"news/a.rss\"><img src=\"rss_icons/rss_icon.gif\" "
              "id=\"LumDefaultRssIcon\">F</a>");
    EXPECT_EQ(dir.read("rss_icons/rss_icon.gif"), "GIF89a default");
    ::setenv("NEWSDESK_PRODUCT_FOLDER", NEWSDESK_PRODUCT_DATA, 1);
}

// Resolving the empty reference of a missing image would name the page
// itself as the icon; in a link to anything but a feed a new link is made.
TEST(InsertRssLinkEntry, ALinkWithoutAnImageOpensWithTheIconOffAndOtherLinksGetANewOne) {
    EditedPage page("<!DOCTYPE html><p><a href=\"b.rdf\">  Feed  </a><a href=\"b.html\">page</a>");
    page.cursorBefore("Feed");
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::expect(IDC_RSS_LINK_INCLUDE_ICON, UiCheck::checked(false)),
         UiStep::expect(IDC_RSS_LINK_ICON_FILE, UiCheck::textIs(u"")),
         UiStep::expect(IDC_RSS_LINK_TEXT, UiCheck::textIs(u" Feed ")), UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {titleIs(u"RSS リンクの挿入"), UiStep::type(IDC_RSS_LINK_FILE, u"b.rdf"),
                     UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, true),
                     UiStep::type(IDC_RSS_LINK_TEXT, u"RSS"), UiStep::click(IDOK)});
    newsdesk::InsertRssLinkEntry(page.editor.get());
    EXPECT_FALSE(page.editor->changed());
    page.cursorBefore("page</a>");
    newsdesk::InsertRssLinkEntry(page.editor.get());
    EXPECT_EQ(page.saved(),
              "<!DOCTYPE html><p><a href=\"b.rdf\">  Feed  </a><a href=\"b.html\">page</a><A "
              "HREF=\"b.rdf\">RSS</A>");
}

TEST(InsertRssLinkEntry, ANewLinkWithNothingChosenAsksAgainKeepingTheEntries) {
    EditedPage page("<!DOCTYPE html><p>ab</p>");
    page.cursorBefore("ab");
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {titleIs(u"RSS リンクの挿入"), UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"),
                     UiStep::click(IDOK)});
    nd::win32::MessageBoxAnswer box(0, u"アイコンまたはテキストを入力してください", IDOK);
    box.icon = MB_ICONINFORMATION;
    box.buttons = MB_OK;
    ui.expectMessageBox(box);
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(u"news/a.rss")),
                     UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, true),
                     UiStep::type(IDC_RSS_LINK_TEXT, u"RSS"), UiStep::click(IDOK)});
    newsdesk::InsertRssLinkEntry(page.editor.get());
    EXPECT_EQ(page.saved(), "<!DOCTYPE html><p><A HREF=\"news/a.rss\">RSS</A>ab</p>");
    EXPECT_TRUE(page.editor->changed());
}

}  // namespace
