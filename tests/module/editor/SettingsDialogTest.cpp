// The feed settings dialog with its channel page: formats, enabling rules,
// categories, the required fields, and what reaches a record.
#include "EditorTesting.h"
#include "editor/CLumRssFileConfigDlg.h"
#include "hostapp/site/LumSiteMgr.h"
#include "res/ResourceIds.h"
#include "win32/PathMapping.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

#include <string>

using edtest::category;
using edtest::UiStep;

namespace {

std::vector<int> channelIds() {
    return {IDC_RSS_OWNER_NAME, IDC_RSS_OWNER_EMAIL, IDC_RSS_CHANNEL_SUBTITLE,
            IDC_RSS_CHANNEL_ARTIST, IDC_RSS_CHANNEL_PRIVATE};
}

void expectItunesGroup(HWND h, bool on) {
    for (int id : channelIds()) {
        EXPECT_EQ(edtest::enabled(h, id), on) << id;
    }
}

}  // namespace

TEST(SettingsDialog, ANewFileOpensAsRss10WithTheSitesUrlOfTheFile) {
    std::string error;
    auto shop = nd::win32::toWindowsPath(std::string(NEWSDESK_FIXTURES) + "/site/shop");
    ASSERT_TRUE(LumSiteMgr::openSite(CString(*shop), error)) << error;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::run([](HWND h) {
             EXPECT_TRUE(edtest::checked(h, IDC_RSS_FORMAT_RSS10));
             EXPECT_FALSE(edtest::checked(h, IDC_RSS_FORMAT_ITUNES));
             EXPECT_EQ(edtest::textOf(h, IDC_RSS_CHANNEL_LINK),
                       u"https://ann.example/shop/feeds/news.rss");
             EXPECT_EQ(edtest::textOf(h, IDC_RSS_CHANNEL_TITLE), u"");
             expectItunesGroup(h, false);
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_CHANNEL_CATEGORIES));
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ADD));
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_CHANNEL_DELETE_CATEGORY));
             EXPECT_TRUE(edtest::enabled(h, IDC_RSS_CHANNEL_IMAGE));
             EXPECT_TRUE(edtest::enabled(h, IDC_RSS_CHANNEL_BROWSE_IMAGE));
         }),
         UiStep::click(IDC_RSS_FORMAT_ITUNES),
         UiStep::run([](HWND h) { expectItunesGroup(h, true); }),
         UiStep::click(IDC_RSS_FORMAT_RSS20), UiStep::run([](HWND h) {
             expectItunesGroup(h, false);
             EXPECT_TRUE(edtest::enabled(h, IDC_RSS_ADD));
             EXPECT_TRUE(edtest::checked(h, IDC_RSS_FORMAT_RSS20));
             EXPECT_FALSE(edtest::checked(h, IDC_RSS_FORMAT_ITUNES));
         }),
         UiStep::type(IDC_RSS_CHANNEL_TITLE, u"News"),
         UiStep::type(IDC_RSS_CHANNEL_DESCRIPTION, u"What is new"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(nullptr, nullptr);
    dlg.m_strFileName = CString(*shop) + u"\\feeds\\news.rss";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    LumSiteMgr::closeSite();
    CRSSChannel target;
    dlg.applyToChannel(&target);
    EXPECT_EQ(target.m_format, 1) << "the last format clicked";
    EXPECT_EQ(target.m_filePath, dlg.m_strFileName);
    EXPECT_EQ(target.m_title, u"News");
    EXPECT_EQ(target.m_link, u"https://ann.example/shop/feeds/news.rss");
}

TEST(SettingsDialog, OkWithoutATitleBringsTheChannelPageBackAndStaysOpen) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    channel.m_title.Empty();
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::selectTab(1), UiStep::click(IDOK), UiStep::run([](HWND h) {
                         HWND title = edtest::control(h, IDC_RSS_CHANNEL_TITLE);
                         EXPECT_TRUE(IsWindowVisible(title)) << "the channel page is in front";
                         EXPECT_EQ(GetFocus(), title);
                     }),
                     UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Back"), UiStep::click(IDOK)});
    ui.answer(IDS_RSS_CHANNEL_REQUIRED, IDOK);
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(ui.messageBoxesShown().size(), 1u);
    EXPECT_EQ(ui.messageBoxesShown()[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(channel.m_title, u"") << "the dialog never writes the record itself";
    dlg.applyToChannel(&channel);
    EXPECT_EQ(channel.m_title, u"Back");
}

TEST(SettingsDialog, CancelAfterEditsLeavesTheRecordAndAnUnknownFormatIsKept) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    channel.m_format = 7;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::run([](HWND h) { EXPECT_TRUE(edtest::checked(h, IDC_RSS_FORMAT_RSS10)); }),
         UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Changed"), UiStep::selectTab(1),
         UiStep::select(IDC_RSS_ITEM_LIST, {0}), UiStep::click(IDC_RSS_DELETE_ITEM),
         UiStep::click(IDCANCEL)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(channel.m_title, u"Radio & Notes");
    EXPECT_EQ(channel.m_items.size(), 2u);

    ui.expectDialog(IDD_RSS_FILE_CONFIG, {UiStep::click(IDOK)});
    CLumRssFileConfigDlg again(&channel, nullptr);
    EXPECT_EQ(again.DoModal(), IDOK);
    CRSSChannel target;
    again.applyToChannel(&target);
    EXPECT_EQ(target.m_format, 7);
}

TEST(ChannelPage, AFourthItunesCategoryIsRefusedAndLabelsComeFromTheList) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 2);
    channel.m_categories = {category(u"Arts", u"Books"), category(u"Made Up"),
                            category(u"Government")};
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::run([](HWND h) {
             auto rows = edtest::listBoxRows(h, IDC_RSS_CHANNEL_CATEGORIES);
             std::sort(rows.begin(), rows.end());
             std::vector<std::u16string> expected = {u"Made Up", u"アート : 本", u"行政"};
             std::sort(expected.begin(), expected.end());
             EXPECT_EQ(rows, expected);
         }),
         UiStep::click(IDC_RSS_ADD), UiStep::click(IDCANCEL)});
    ui.answer(IDS_RSS_ITUNES_CATEGORY_LIMIT, IDOK);
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(ui.messageBoxesShown().size(), 1u);
    EXPECT_EQ(ui.messageBoxesShown()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST(ChannelPage, DeletingTwoSortedRowsRemovesExactlyThoseCategories) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    channel.m_categories = {category(u"delta"), category(u"alpha"), category(u"charlie"),
                            category(u"bravo")};
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::run([](HWND h) {
                         EXPECT_FALSE(edtest::enabled(h, IDC_RSS_CHANNEL_DELETE_CATEGORY));
                     }),
                     // Rows sort as alpha, bravo, charlie, delta.
                     UiStep::select(IDC_RSS_CHANNEL_CATEGORIES, {1, 3}), UiStep::run([](HWND h) {
                         EXPECT_TRUE(edtest::enabled(h, IDC_RSS_CHANNEL_DELETE_CATEGORY));
                     }),
                     UiStep::click(IDC_RSS_CHANNEL_DELETE_CATEGORY), UiStep::run([](HWND h) {
                         EXPECT_EQ(edtest::listBoxRows(h, IDC_RSS_CHANNEL_CATEGORIES),
                                   (std::vector<std::u16string>{u"alpha", u"charlie"}));
                         EXPECT_TRUE(edtest::enabled(h, IDC_RSS_CHANNEL_DELETE_CATEGORY))
                             << "until the selection changes";
                     }),
                     // Nothing is selected now: the button takes nothing away.
                     UiStep::click(IDC_RSS_CHANNEL_DELETE_CATEGORY), UiStep::click(IDC_RSS_ADD),
                     UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_CATEGORY,
                    {UiStep::type(IDC_RSS_CATEGORY_NAME, u"echo"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    dlg.applyToChannel(&channel);
    ASSERT_EQ(channel.m_categories.size(), 3u);
    EXPECT_EQ(channel.m_categories[0].m_category, u"alpha");
    EXPECT_EQ(channel.m_categories[1].m_category, u"charlie");
    EXPECT_EQ(channel.m_categories[2].m_category, u"echo");
}

TEST(ChannelPage, TheImageBrowseStoresAFileReferenceAndCancelKeepsTheOldOne) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 0);
    ndtest::TestUiDriver ui;
    ui.cancelChooser();
    ui.choosePath(u"Z:\\nowhere\\logo one.png");
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::click(IDC_RSS_CHANNEL_BROWSE_IMAGE), UiStep::run([](HWND h) {
                         EXPECT_EQ(edtest::textOf(h, IDC_RSS_CHANNEL_IMAGE),
                                   u"https://ann.example/logo.png");
                     }),
                     UiStep::click(IDC_RSS_CHANNEL_BROWSE_IMAGE), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(ui.choosersShown().at(0).fileKind, 2);
    dlg.applyToChannel(&channel);
    EXPECT_EQ(channel.m_image, u"file:///Z:/nowhere/logo%20one.png");
}

// Alt and a letter as a person presses them: a label's key reaches the field
// after it, a button's key clicks it; keys of the hidden items page and keys
// nothing marks do nothing.
TEST(SettingsDialog, AccessKeysReachTheFieldsAndButtonsOfTheShownPage) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 2);
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::run([](HWND h) {
                         bool wasPrivate = edtest::checked(h, IDC_RSS_CHANNEL_PRIVATE);
                         struct Case {
                             char16_t key;
                             int focused;  // the control with the focus after it; 0: refused
                         } cases[] = {
                             {u't', IDC_RSS_CHANNEL_TITLE},
                             {u'U', IDC_RSS_CHANNEL_LINK},
                             {u'M', IDC_RSS_OWNER_EMAIL},
                             {u'b', IDC_RSS_CHANNEL_PRIVATE},
                             {u'2', IDC_RSS_FORMAT_RSS20},
                             {u'L', 0},
                             {u'Q', 0},
                         };
                         for (const auto& c : cases) {
                             std::string why = nd::win32::userAccessKey(h, c.key);
                             EXPECT_EQ(why.empty(), c.focused != 0) << char(c.key) << ": " << why;
                             if (c.focused != 0) {
                                 EXPECT_EQ(GetFocus(), edtest::control(h, c.focused))
                                     << char(c.key);
                             }
                         }
                         EXPECT_TRUE(edtest::checked(h, IDC_RSS_FORMAT_RSS20));
                         EXPECT_NE(edtest::checked(h, IDC_RSS_CHANNEL_PRIVATE), wasPrivate);
                         // Ctrl+Tab brings the items page, whose keys then work,
                         // and again wraps round to the channel page.
                         EXPECT_EQ(nd::win32::userNextTab(h, false), "");
                         EXPECT_EQ(nd::win32::userAccessKey(h, u'L'), "");
                         EXPECT_EQ(GetFocus(), edtest::control(h, IDC_RSS_ITEM_LIST));
                         EXPECT_EQ(nd::win32::userNextTab(h, false), "");
                         EXPECT_NE(nd::win32::userAccessKey(h, u'L'), "");
                     }),
                     UiStep::click(IDCANCEL)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
