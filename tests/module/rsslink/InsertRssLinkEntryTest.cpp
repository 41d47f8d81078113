#include "PageFakes.h"
#include "host/Entries.h"
#include "hostapp/CKmxCommon.h"
#include "hostapp/CLumUrlString.h"
#include "hostapp/UrlUtil.h"
#include "res/ResourceIds.h"
#include "support/TestUiDriver.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

namespace {

using nd::win32::UiCheck;
using nd::win32::UiStep;
using rltest::FakePage;

const char16_t* const kChooseIconOrText = u"アイコンまたはテキストを入力してください";

std::u16string titleOf(HWND dialog) {
    std::u16string text(64, u'\0');
    int n = GetWindowTextW(dialog, text.data(), 64);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

TEST(InsertRssLinkEntry, AnIconWhoseIdBeginsWithTheDefaultMarkIsTheDefaultIcon) {
    FakePage page(
        "<html><head></head><body><p><a href=\"news/a.rss\"><img src=\"mine.gif\" "
        "id=\"LumDefaultRssIcon_2\">Feed</a></p></body></html>");
    page.doc.cursor = page.find("a").getFirstChild();
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::run([](HWND h) { EXPECT_EQ(titleOf(h), u"RSS リンクの編集"); }),
         UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(u"Z:\\site\\news\\a.rss")),
         UiStep::expect(IDC_RSS_LINK_INCLUDE_ICON, UiCheck::checked(true)),
         UiStep::expect(IDC_RSS_LINK_DEFAULT_ICON,
                        {UiCheck::checked(true), UiCheck::enabled(true)}),
         UiStep::expect(IDC_RSS_LINK_ICON_FILE, {UiCheck::textIs(u""), UiCheck::enabled(false)}),
         UiStep::expect(IDC_RSS_LINK_INCLUDE_TEXT, UiCheck::checked(true)),
         UiStep::expect(IDC_RSS_LINK_TEXT, {UiCheck::textIs(u"Feed"), UiCheck::enabled(true)}),
         UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(false)),
         UiStep::click(IDOK)});
    newsdesk::InsertRssLinkEntry(&page);

    Element image = page.find("img");
    EXPECT_EQ(image.getAttribute(u"ID"), u"LumDefaultRssIcon");
    // The default icon is the product's own picture, named from the page.
    CString src = image.getAttribute(u"SRC");
    EXPECT_TRUE(std::u16string_view(src.GetString()).ends_with(u"/apps/newsdesk/data/rss_icon.gif"))
        << src.toUtf8();
    EXPECT_EQ(urlScheme(src), u"");
    EXPECT_EQ(page.inner("a").substr(page.inner("a").rfind('>') + 1), "Feed");
    EXPECT_EQ(page.notices, std::vector<unsigned>{kPageDomChanged});
}

TEST(InsertRssLinkEntry, ALinkToSomethingElseIsLeftAloneWithoutADialog) {
    FakePage page("<html><body><p><a href=\"news.html\">News</a></p></body></html>");
    page.doc.cursor = page.find("a").getFirstChild();
    ndtest::TestUiDriver ui;
    newsdesk::InsertRssLinkEntry(&page);
    EXPECT_TRUE(ui.dialogsShown().empty());
    EXPECT_TRUE(page.notices.empty());
}

// An anchor without an image has no icon reference to resolve: resolving
// an empty one would name the page itself as the icon.
TEST(InsertRssLinkEntry, ALinkWithoutAnImageOpensWithTheIconOff) {
    FakePage page("<html><body><p><a href=\"feeds/b.rdf\">\n  Feed\n</a></p></body></html>");
    page.doc.cursor = page.find("a").getFirstChild();
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::expect(IDC_RSS_LINK_INCLUDE_ICON, UiCheck::checked(false)),
         UiStep::expect(IDC_RSS_LINK_DEFAULT_ICON, UiCheck::enabled(false)),
         UiStep::expect(IDC_RSS_LINK_ICON_FILE, UiCheck::textIs(u"")),
         UiStep::expect(IDC_RSS_LINK_TEXT, UiCheck::textIs(u"Feed")), UiStep::click(IDCANCEL)});
    newsdesk::InsertRssLinkEntry(&page);
    EXPECT_TRUE(page.notices.empty());
}

TEST(InsertRssLinkEntry, ANewLinkWithNothingChosenAsksAgainKeepingTheEntries) {
    FakePage page("<html><head></head><body><p>abcd</p></body></html>");
    page.doc.cursor = page.find("p").getFirstChild();
    page.doc.offset = 2;
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {UiStep::run([](HWND h) { EXPECT_EQ(titleOf(h), u"RSS リンクの挿入"); }),
                     UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"), UiStep::click(IDOK)});
    nd::win32::MessageBoxAnswer box(0, kChooseIconOrText, IDOK);
    box.icon = MB_ICONINFORMATION;
    box.buttons = MB_OK;
    ui.expectMessageBox(box);
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(u"news/a.rss")),
                     UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, true),
                     UiStep::expect(IDOK, UiCheck::enabled(false)),
                     UiStep::type(IDC_RSS_LINK_TEXT, u"RSS"), UiStep::click(IDOK)});
    newsdesk::InsertRssLinkEntry(&page);
    EXPECT_EQ(page.inner("p"), "ab<A HREF=\"news/a.rss\">RSS</A>cd");
    EXPECT_EQ(page.notices.size(), 1u);
}

TEST(InsertRssLinkEntry, CancellingAfterTheMessageChangesNothing) {
    FakePage page("<html><head></head><body><p>abcd</p></body></html>");
    page.doc.cursor = page.find("p").getFirstChild();
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK,
                    {UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"), UiStep::click(IDOK)});
    ui.answerText(kChooseIconOrText, IDOK);
    ui.expectDialog(IDD_RSS_INSERT_LINK, {UiStep::click(IDCANCEL)});
    newsdesk::InsertRssLinkEntry(&page);
    EXPECT_EQ(page.inner("p"), "abcd");
    EXPECT_TRUE(page.notices.empty());
    EXPECT_EQ(page.dom.removed.size(), 0u);
}

}  // namespace
