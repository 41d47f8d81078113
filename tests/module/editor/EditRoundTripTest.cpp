// Records through the dialogs and back: OK applied to a record, written,
// read back; and the edit command around it.
#include "EditorTesting.h"
#include "FullDisk.h"
#include "TempDir.h"
#include "editor/CLumRssFileConfigDlg.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/files/FailedSaves.h"
#include "res/ResourceIds.h"

#include <gtest/gtest.h>

#include <filesystem>

using edtest::UiStep;

namespace {

void expectSameItems(const CRSSChannel& a, const CRSSChannel& b) {
    ASSERT_EQ(a.m_items.size(), b.m_items.size());
    for (size_t i = 0; i < a.m_items.size(); ++i) {
        const CRSSItem& x = a.m_items[i];
        const CRSSItem& y = b.m_items[i];
        EXPECT_EQ(x.m_title, y.m_title) << i;
        EXPECT_EQ(x.m_description, y.m_description) << i;
        EXPECT_EQ(x.m_link, y.m_link) << i;
        EXPECT_EQ(x.m_pubDate, y.m_pubDate) << i;
        EXPECT_EQ(x.m_author, y.m_author) << i;
        EXPECT_EQ(x.m_enclosureUrl, y.m_enclosureUrl) << i;
        EXPECT_EQ(x.m_enclosureLength, y.m_enclosureLength) << i;
        EXPECT_EQ(x.m_duration, y.m_duration) << i;
        EXPECT_EQ(x.m_block, y.m_block) << i;
        EXPECT_EQ(x.m_keywords, y.m_keywords) << i;
        EXPECT_EQ(x.m_categories.size(), y.m_categories.size()) << i;
    }
}

class RoundTrip : public ::testing::TestWithParam<int> {};

}  // namespace

// Every item passes through its dialog (edit, then OK unchanged), so a field
// the dialog loses or bends shows up in the file read back.
TEST_P(RoundTrip, EveryFieldSurvivesTheDialogsAndTheFile) {
    int format = GetParam();
    TempDir dir;
    CRSSChannel channel;
    edtest::fillChannel(channel, format);
    channel.m_filePath = CString(dir.windows("feed.xml"));
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::selectTab(1), UiStep::select(IDC_RSS_ITEM_LIST, {0}),
                     UiStep::click(IDC_RSS_EDIT_ITEM), UiStep::select(IDC_RSS_ITEM_LIST, {1}),
                     UiStep::click(IDC_RSS_EDIT_ITEM), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG, {UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG, {UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CRSSChannel edited;
    dlg.applyToChannel(&edited);
    ASSERT_EQ(newsdesk::writeRssFile(edited.m_filePath, &edited), 1);
    CRSSChannel back;
    ASSERT_EQ(newsdesk::readRssFile(edited.m_filePath, &back), 1);
    EXPECT_EQ(back.m_format, format);
    EXPECT_EQ(back.m_title, channel.m_title);
    EXPECT_EQ(back.m_description, channel.m_description);
    EXPECT_EQ(back.m_link, channel.m_link);
    EXPECT_EQ(back.m_copyright, channel.m_copyright);
    EXPECT_EQ(back.m_image, channel.m_image);
    EXPECT_EQ(back.m_ownerName, channel.m_ownerName);
    EXPECT_EQ(back.m_subTitle, channel.m_subTitle);
    EXPECT_EQ(back.m_block, channel.m_block);
    ASSERT_EQ(back.m_categories.size(), channel.m_categories.size());
    for (size_t i = 0; i < back.m_categories.size(); ++i) {
        EXPECT_EQ(back.m_categories[i].m_category, channel.m_categories[i].m_category);
        EXPECT_EQ(back.m_categories[i].m_subCategory, channel.m_categories[i].m_subCategory);
    }
    expectSameItems(back, channel);
}

INSTANTIATE_TEST_SUITE_P(EachFormat, RoundTrip, ::testing::Values(0, 1, 2));

TEST(EditEntry, ANewFeedWithoutANameAsksAndACancelledChooserWritesNothing) {
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::click(IDC_RSS_FORMAT_ITUNES), UiStep::type(IDC_RSS_CHANNEL_TITLE, u"T"),
         UiStep::type(IDC_RSS_CHANNEL_DESCRIPTION, u"D"),
         UiStep::type(IDC_RSS_CHANNEL_LINK, u"https://a.example/"), UiStep::click(IDOK)});
    ui.answerText(u"保存先ファイル名を指定してください。", IDOK);
    ui.cancelChooser();
    ui.answerText(u"保存がキャンセルされました。", IDOK);
    CString path;
    EXPECT_FALSE(newsdesk::EditRssFileEntry(nullptr, path, true, nullptr));
    ASSERT_EQ(ui.choosersShown().size(), 1u);
    EXPECT_EQ(ui.choosersShown()[0].kind, nd::win32::ChooserKind::SaveFile);
    EXPECT_EQ(ui.choosersShown()[0].fileKind, 24);
}

TEST(EditEntry, AMissingFileOpensEmptyAndOkWritesItThere) {
    TempDir dir;
    CString path(dir.windows("new.rss"));
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::run([](HWND h) { EXPECT_EQ(edtest::textOf(h, IDC_RSS_CHANNEL_TITLE), u""); }),
         UiStep::click(IDC_RSS_FORMAT_RSS20), UiStep::type(IDC_RSS_CHANNEL_TITLE, u"T"),
         UiStep::type(IDC_RSS_CHANNEL_DESCRIPTION, u"D"),
         UiStep::type(IDC_RSS_CHANNEL_LINK, u"https://a.example/"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg* shown = nullptr;
    EXPECT_TRUE(newsdesk::EditRssFileEntry(nullptr, path, true, &shown));
    EXPECT_EQ(shown, nullptr) << "the dialog's address is valid only while it is shown";
    CRSSChannel back;
    ASSERT_EQ(newsdesk::readRssFile(path, &back), 1);
    EXPECT_EQ(back.m_format, 1);
    EXPECT_EQ(back.m_title, u"T");
    EXPECT_GT(back.m_pubDate.GetTime(), 0) << "a saved feed carries the time of the edit";
}

TEST(EditEntry, AFileThatIsNotAFeedIsRefusedBeforeAnyDialog) {
    TempDir dir;
    dir.write("notes.txt", "just some text\n");
    CString path(dir.windows("notes.txt"));
    ndtest::TestUiDriver ui;
    ui.answerText(u"RSS ファイルではないようです。\r\nルミネアでは編集することはできません。",
                  IDOK);
    EXPECT_FALSE(newsdesk::EditRssFileEntry(nullptr, path, true, nullptr));
    EXPECT_EQ(ui.messageBoxesShown().at(0).style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(newsdesk::EditRssFileEntry(nullptr, path, false, nullptr));
    EXPECT_EQ(ui.messageBoxesShown().size(), 1u) << "no message without the report flag";
    EXPECT_TRUE(ui.dialogsShown().empty());
    EXPECT_EQ(dir.read("notes.txt"), "just some text\n");
}

TEST(EditEntry, CancelWritesNothingAndAFailedSaveKeepsTheOldFile) {
    TempDir dir;
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    CString path(dir.windows("feed.xml"));
    ASSERT_EQ(newsdesk::writeRssFile(path, &channel), 1);
    std::string before = dir.read("feed.xml");
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Changed"), UiStep::click(IDCANCEL)});
    EXPECT_TRUE(newsdesk::EditRssFileEntry(nullptr, path, true, nullptr));
    EXPECT_EQ(dir.read("feed.xml"), before);

    // A save that cannot be written: the old file stays, the user is told
    // and the command does not count as done.
    int outcome = onFullDisk([&] {
        ndtest::TestUiDriver child;
        child.expectDialog(IDD_RSS_FILE_CONFIG,
                           {UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Changed"), UiStep::click(IDOK)});
        child.answer(IDS_RSS_WRITE_FAILED, IDOK);
        lum::takeFailedSaves();
        bool done = newsdesk::EditRssFileEntry(nullptr, path, true, nullptr);
        auto failed = lum::takeFailedSaves();
        bool reported = failed.size() == 1 && failed[0].path == path && failed[0].error != 0;
        return !done && reported && !child.failed() ? 0 : 1;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(dir.read("feed.xml"), before);
}
