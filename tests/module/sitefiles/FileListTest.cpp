#include "SiteFilesTesting.h"
#include "host/Entries.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/files/FileErrors.h"
#include "hostapp/ui/CKmxResizableDlg.h"
#include "hostapp/ui/CLumTktDialogEngineer.h"
#include "module/editor/EditorTesting.h"
#include "res/ResourceIds.h"
#include "sitefiles/CLumRssFileListDlg.h"
#include "win32/UserInput.h"
#include "win32/WaitCursor.h"

#include <gtest/gtest.h>

namespace {

using nd::win32::UiCheck;
using nd::win32::UiStep;

// The site's three feeds in the database's order, by path.
std::vector<std::u16string> siteRows(const TempDir& dir) {
    return {dir.windows("site/b.xml") + u"\tBeta\tiTunes 対応",
            dir.windows("site/c.rdf") + u"\tGamma\tRSS 1.0",
            dir.windows("site/news/a.rss") + u"\tAlpha\tRSS 2.0"};
}

UiStep buttonsAre(bool add, bool copy, bool edit, bool rename, bool remove) {
    return UiStep::run([=](HWND h) {
        EXPECT_EQ(edtest::enabled(h, IDC_RSS_ADD), add);
        EXPECT_EQ(edtest::enabled(h, IDC_RSS_COPY_FILE), copy);
        EXPECT_EQ(edtest::enabled(h, IDC_RSS_EDIT_FILE), edit);
        EXPECT_EQ(edtest::enabled(h, IDC_RSS_RENAME_FILE), rename);
        EXPECT_EQ(edtest::enabled(h, IDC_RSS_DELETE_FILE), remove);
    });
}

TEST(FileList, ListsTheSiteFeedsThatReadAndEnablesButtonsBySelection) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_LIST,
        {UiStep::expect(IDC_RSS_FILE_LIST, UiCheck::rowsAre(siteRows(dir))),
         UiStep::expect(IDOK, UiCheck::visible(false)),
         UiStep::expect(IDCANCEL, UiCheck::textIs(u"閉じる(&C)")),
         buttonsAre(true, false, false, false, false), UiStep::select(IDC_RSS_FILE_LIST, {1}),
         buttonsAre(true, true, true, true, true), UiStep::select(IDC_RSS_FILE_LIST, {0, 2}),
         buttonsAre(true, false, false, false, true), UiStep::click(IDCANCEL)});
    CLumRssFileListDlg dlg(0, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_bFilesChanged, 0);
}

TEST(FileList, SelectModeHandsBackThePathOfTheOneSelectedFeed) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_LIST,
        {UiStep::expect(IDOK, UiCheck::enabled(false)),
         buttonsAre(false, false, false, false, false), UiStep::select(IDC_RSS_FILE_LIST, {0, 1}),
         UiStep::expect(IDOK, UiCheck::enabled(false)), UiStep::select(IDC_RSS_FILE_LIST, {2}),
         UiStep::click(IDOK)});
    CLumRssFileListDlg dlg(1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strSelectedPath, CString(dir.windows("site/news/a.rss")));
}

UiStep doubleClickRow(int row) {
    return UiStep::run([row](HWND h) {
        EXPECT_EQ(nd::win32::userDoubleClickRow(GetDlgItem(h, IDC_RSS_FILE_LIST), row), "");
    });
}

// A double click does what the list is for: it edits the feed, or, when the
// list picks one, chooses it.
TEST(FileList, ADoubleClickedFeedIsEditedOrChosen) {
    sftest::FeedSite dir;
    {
        ndtest::TestUiDriver ui;
        ui.expectDialog(IDD_RSS_FILE_LIST, {doubleClickRow(2), UiStep::click(IDCANCEL)});
        ui.expectDialog(IDD_RSS_FILE_CONFIG,
                        {UiStep::expect(IDC_RSS_CHANNEL_TITLE, UiCheck::textIs(u"Alpha")),
                         UiStep::click(IDCANCEL)});
        CLumRssFileListDlg dlg(0, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(ui.unmetExpectations().empty());
    }
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_LIST, {doubleClickRow(1)});
    CLumRssFileListDlg dlg(1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strSelectedPath, CString(dir.windows("site/c.rdf")));
}

TEST(FileList, NewAndEditWriteTheFeedAndCancelledCopyStillCountsAsAChange) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    std::vector<std::u16string> rows = siteRows(dir);
    rows[2] = dir.windows("site/news/a.rss") + u"\tAlpha edited\tRSS 2.0";
    rows.push_back(dir.windows("site/made.rss") + u"\tMade\tRSS 2.0");
    ui.expectDialog(
        IDD_RSS_FILE_LIST,
        {UiStep::select(IDC_RSS_FILE_LIST, {2}), UiStep::click(IDC_RSS_EDIT_FILE),
         UiStep::click(IDC_RSS_ADD), UiStep::select(IDC_RSS_FILE_LIST, {0}),
         UiStep::click(IDC_RSS_COPY_FILE),
         UiStep::expect(IDC_RSS_FILE_LIST, UiCheck::rowsAre(rows)), UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Alpha edited"), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_NEW_FILE,
                    {UiStep::type(IDC_RSS_FILE_NAME, u"made.rss"), UiStep::click(IDOK)});
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::click(IDC_RSS_FORMAT_RSS20), UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Made"),
         UiStep::type(IDC_RSS_CHANNEL_DESCRIPTION, u"D"),
         UiStep::type(IDC_RSS_CHANNEL_LINK, u"https://ann.example/"), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_NEW_FILE, {UiStep::click(IDCANCEL)});
    CLumRssFileListDlg dlg(0, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_bFilesChanged, 1);
    EXPECT_NE(dir.read("site/news/a.rss").find("Alpha edited"), std::string::npos);
    EXPECT_NE(dir.read("site/made.rss").find("<title>Made</title>"), std::string::npos);
}

TEST(FileList, ResizingMovesTheButtonsAndStretchesTheListAndThePlacementIsKept) {
    sftest::FeedSite dir;
    CString key = CKmxCommon::getHKCULumpageBase() + CString(u"\\dlg\\RssFileListDlg");
    RECT before{}, list{}, add{}, ok{}, listAfter{}, addAfter{}, okAfter{};
    auto rectOf = [](HWND h, int id, RECT& r) { GetWindowRect(edtest::control(h, id), &r); };
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_LIST, {UiStep::run([&](HWND h) {
                                            GetWindowRect(h, &before);
                                            rectOf(h, IDC_RSS_FILE_LIST, list);
                                            rectOf(h, IDC_RSS_ADD, add);
                                            rectOf(h, IDCANCEL, ok);
                                            MoveWindow(h, before.left, before.top,
                                                       before.right - before.left + 30,
                                                       before.bottom - before.top + 20, TRUE);
                                            rectOf(h, IDC_RSS_FILE_LIST, listAfter);
                                            rectOf(h, IDC_RSS_ADD, addAfter);
                                            rectOf(h, IDCANCEL, okAfter);
                                        }),
                                        UiStep::click(IDCANCEL)});
    CLumRssFileListDlg dlg(0, nullptr);
    dlg.DoModal();
    EXPECT_EQ(listAfter.right - listAfter.left, list.right - list.left + 30);
    EXPECT_EQ(listAfter.bottom - listAfter.top, list.bottom - list.top + 20);
    EXPECT_EQ(addAfter.left, add.left + 30);
    EXPECT_EQ(addAfter.top, add.top);  // the side buttons stay at the top
    EXPECT_EQ(okAfter.left, ok.left + 30);
    EXPECT_EQ(okAfter.top, ok.top + 20);
    auto stored = CKmxResizableDlg::storedPlacement(key);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->right - stored->left, before.right - before.left + 30);

    // The next opening starts at the kept size, its controls laid out for it.
    RECT reopened{}, listReopened{};
    ui.expectDialog(IDD_RSS_FILE_LIST, {UiStep::run([&](HWND h) {
                                            GetWindowRect(h, &reopened);
                                            rectOf(h, IDC_RSS_FILE_LIST, listReopened);
                                        }),
                                        UiStep::click(IDCANCEL)});
    CLumRssFileListDlg again(0, nullptr);
    again.DoModal();
    EXPECT_EQ(reopened.bottom - reopened.top, before.bottom - before.top + 20);
    EXPECT_EQ(listReopened.right - listReopened.left, listAfter.right - listAfter.left);
}

}  // namespace

namespace {

TEST(FileList, RenameMovesTheFileRevisesItsPagesAndUpdatesTheRowOnlyWhenMoved) {
    sftest::FeedSite dir;
    std::string page = dir.read("site/index.html");
    ndtest::TestUiDriver ui;
    std::vector<std::u16string> rows = siteRows(dir);
    rows[2] = dir.windows("site/news/renamed.rss") + u"\tAlpha\tRSS 2.0";
    ui.expectDialog(
        IDD_RSS_FILE_LIST,
        {UiStep::select(IDC_RSS_FILE_LIST, {2}), UiStep::click(IDC_RSS_RENAME_FILE),
         UiStep::expect(IDC_RSS_FILE_LIST, UiCheck::rowsAre(rows)), UiStep::click(IDCANCEL)});
    ui.expectDialog(
        IDD_RSS_RENAME_FILE,
        {UiStep::expect(IDC_RSS_FOLDER, UiCheck::textIs(dir.windows("site/news") + u"\\")),
         UiStep::type(IDC_RSS_FILE_NAME, u"renamed.rss"), UiStep::click(IDOK)});
    CLumRssFileListDlg dlg(0, nullptr);
    dlg.DoModal();
    EXPECT_EQ(dlg.m_bFilesChanged, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.native("site/news/a.rss")));
    EXPECT_NE(dir.read("site/news/renamed.rss").find("Alpha"), std::string::npos);
    std::string revised = dir.read("site/index.html");
    EXPECT_EQ(revised.find("news/a.rss"), std::string::npos);
    EXPECT_NE(revised.find("href=\"news/renamed.rss\""), std::string::npos);
    EXPECT_EQ(revised.size(), page.size() + std::string("renamed").size() * 2 - 2);
}

TEST(FileList, ARenameThatCouldNotMoveTheFileLeavesTheRowAtTheOldPath) {
    sftest::FeedSite dir;
    // Longer than any file name the system takes: the dialog finds nothing
    // there, and the move fails.
    std::u16string tooLong(300, u'n');
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {2}), UiStep::click(IDC_RSS_RENAME_FILE),
                     UiStep::expect(IDC_RSS_FILE_LIST, UiCheck::rowsAre(siteRows(dir))),
                     UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_RENAME_FILE,
                    {UiStep::type(IDC_RSS_FILE_NAME, tooLong + u".rss"), UiStep::click(IDOK)});
    // The user is told why, and so is the application.
    ui.answerText(u"\nthe name is too long", IDOK);
    lum::takeFailedFileOperations();
    CLumRssFileListDlg dlg(0, nullptr);
    dlg.DoModal();
    EXPECT_TRUE(std::filesystem::exists(dir.native("site/news/a.rss")));
    EXPECT_EQ(lum::takeFailedFileOperations().size(), 1u);
    EXPECT_EQ(dlg.m_bFilesChanged, 0);
}

TEST(FileList, ReadingTheSiteShowsTheHourglassOnlyWhileItLasts) {
    sftest::FeedSite dir;
    std::vector<bool> shapes;
    nd::win32::setWaitCursorListener([&](bool waiting) { shapes.push_back(waiting); });
    nd::win32::endWaitCursor();  // an unmatched end is ignored
    {
        CLumRssFileListDlg dlg(0, nullptr);
        EXPECT_EQ(dlg.m_channels.size(), 3u);
    }
    nd::win32::setWaitCursorListener({});
    EXPECT_EQ(shapes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(nd::win32::waitCursorShown());
}

TEST(SiteEdits, AnEditSavedInASiteRebuildsItsDatabaseAndRefreshesThePanes) {
    sftest::FeedSite dir;
    int panes = CLumTktDialogEngineer::getInstance()->paneUpdates();
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG, {UiStep::click(IDCANCEL)});
    CString path(dir.windows("site/news/a.rss"));
    EXPECT_TRUE(newsdesk::EditRssFileEntry(nullptr, path, true, nullptr));
    EXPECT_EQ(CLumTktDialogEngineer::getInstance()->paneUpdates(), panes);

    CString fresh(dir.windows("site/fresh.rss"));
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::click(IDC_RSS_FORMAT_RSS20), UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Fresh"),
         UiStep::type(IDC_RSS_CHANNEL_DESCRIPTION, u"D"),
         UiStep::type(IDC_RSS_CHANNEL_LINK, u"https://ann.example/"), UiStep::click(IDOK)});
    EXPECT_TRUE(newsdesk::EditRssFileEntry(nullptr, fresh, true, nullptr));
    EXPECT_EQ(CLumTktDialogEngineer::getInstance()->paneUpdates(), panes + 1);
    // The rebuild ran: the database knows the new feed without being asked
    // to look again.
    SiteMgr50* db = LumSiteMgr::getSiteMgr();
    ASSERT_NE(db, nullptr);
    EXPECT_GE(db->UrlGetIDPath(fresh, SiteMgr50::kFileUrl), 0);
}

TEST(FileList, DeleteAskedAndRefusedChangesNothing) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {0, 1}), UiStep::click(IDC_RSS_DELETE_FILE),
                     UiStep::expect(IDC_RSS_FILE_LIST, UiCheck::rowsAre(siteRows(dir))),
                     UiStep::click(IDCANCEL)});
    ui.answerBox(IDS_RSS_CONFIRM_DELETE, MB_YESNO | MB_ICONQUESTION, IDNO);
    CLumRssFileListDlg dlg(0, nullptr);
    dlg.DoModal();
    EXPECT_EQ(dlg.m_bFilesChanged, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.native("site/b.xml")));
}

}  // namespace
