#include "SiteFilesTesting.h"
#include "module/editor/EditorTesting.h"
#include "res/ResourceIds.h"
#include "sitefiles/CLumRssNewFileDlg.h"
#include "sitefiles/CLumRssRenameFileDlg.h"
#include "sitefiles/SitePath.h"

#include <gtest/gtest.h>

namespace {

using nd::win32::UiCheck;
using nd::win32::UiStep;
using newsdesk::sitefiles::normalizedPath;

TEST(SitePath, ResolvesDotsAndSeparatorsAndRefusesClimbingAboveTheDrive) {
    EXPECT_EQ(normalizedPath(u"Z:\\site\\a\\..\\b.rss"), CString(u"Z:\\site\\b.rss"));
    EXPECT_EQ(normalizedPath(u"Z:\\site\\.\\news//b.rss"), CString(u"Z:\\site\\news\\b.rss"));
    EXPECT_EQ(normalizedPath(u"Z:\\site\\news\\"), CString(u"Z:\\site\\news\\"));
    EXPECT_EQ(normalizedPath(u"Z:\\site\\..\\..\\x.rss"), CString());
    // This system's own form names drive Z:, the file system's root.
    EXPECT_EQ(normalizedPath(u"/home/ann/site/"), CString(u"Z:\\home\\ann\\site\\"));
}

TEST(NewFileDialog, AFolderTypedInThisSystemsFormIsTheSitesFolder) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_NEW_FILE,
                    {UiStep::type(IDC_RSS_FOLDER, dir.native("site/news").u16string() + u"/"),
                     UiStep::type(IDC_RSS_FILE_NAME, u"fresh.rss"), UiStep::click(IDOK)});
    CLumRssNewFileDlg dlg(1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.getPath(), CString(dir.windows("site/news/fresh.rss")));
}

TEST(SitePath, ANameWithDotsCannotLeaveTheOpenSite) {
    sftest::FeedSite dir;
    CString root(dir.windows("site"));
    EXPECT_TRUE(newsdesk::sitefiles::insideOpenSite(normalizedPath(root + u"\\news\\..\\x.rss")));
    // Compared before normalising, this path would pass as lying in the site.
    EXPECT_FALSE(newsdesk::sitefiles::insideOpenSite(normalizedPath(root + u"\\..\\x.rss")));
}

TEST(NewFileDialog, StartsInTheSiteAndChecksExtensionThenSiteThenExistence) {
    sftest::FeedSite dir;
    std::u16string root = dir.windows("site") + u"\\";
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_NEW_FILE,
        {UiStep::expect(IDC_RSS_FOLDER, UiCheck::textIs(root)),
         UiStep::expect(IDOK, UiCheck::enabled(false)),
         UiStep::type(IDC_RSS_FILE_NAME, u"notes.txt"), UiStep::click(IDOK), UiStep::click(IDOK),
         UiStep::type(IDC_RSS_FILE_NAME, u"..\\escape.rss"), UiStep::click(IDOK),
         UiStep::type(IDC_RSS_FILE_NAME, u"news\\a.rss"), UiStep::click(IDOK),
         UiStep::type(IDC_RSS_FILE_NAME, u"news\\..\\fresh.rss"), UiStep::click(IDOK)});
    ui.answerBox(IDS_RSS_UNUSUAL_EXTENSION, MB_YESNO | MB_ICONEXCLAMATION, IDNO);
    ui.answer(IDS_RSS_UNUSUAL_EXTENSION, IDYES);
    // "notes.txt" passes the site and existence checks once the user agrees.
    ui.answerBox(IDS_RSS_FILE_EXISTS, MB_OK | MB_ICONEXCLAMATION, IDOK);
    ui.answerBox(IDS_RSS_FOLDER_OUTSIDE_SITE, MB_OK | MB_ICONEXCLAMATION, IDOK);
    ui.answer(IDS_RSS_FILE_EXISTS, IDOK);
    dir.write("site/notes.txt", "x");
    CLumRssNewFileDlg dlg(1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // The path handed back is the one that was checked.
    EXPECT_EQ(dlg.getPath(), CString(root + u"fresh.rss"));
}

TEST(NewFileDialog, SetFolderAddsOneSeparatorAndNoSiteSkipsTheSiteCheck) {
    CLumRssNewFileDlg dlg(1, nullptr);
    dlg.setFolder(u"Z:\\elsewhere");
    dlg.m_strFileName = u"a.rss";
    EXPECT_EQ(dlg.getPath(), CString(u"Z:\\elsewhere\\a.rss"));
    EXPECT_EQ(dlg.getPath(), CString(u"Z:\\elsewhere\\a.rss"));
    TempDir dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_NEW_FILE,
                    {UiStep::type(IDC_RSS_FILE_NAME, u"x.rss"),
                     UiStep::type(IDC_RSS_FOLDER, dir.windows()), UiStep::click(IDOK)});
    CLumRssNewFileDlg free(1, nullptr);
    EXPECT_EQ(free.DoModal(), IDOK);
}

TEST(NewFileDialog, BrowseTakesTheChosenFolderWithASeparator) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_NEW_FILE,
        {UiStep::click(IDC_RSS_BROWSE_FOLDER),
         UiStep::expect(IDC_RSS_FOLDER, UiCheck::textIs(dir.windows("site/news") + u"\\")),
         UiStep::click(IDCANCEL)});
    ui.choosePath(dir.windows("site/news"));
    CLumRssNewFileDlg dlg(1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(RenameDialog, RefusesTheSameNameAndANameLeavingTheSite) {
    sftest::FeedSite dir;
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_RENAME_FILE,
        {UiStep::expect(IDC_RSS_FILE_NAME, UiCheck::textIs(u"a.rss")), UiStep::click(IDOK),
         UiStep::type(IDC_RSS_FILE_NAME, u"..\\..\\a.rss"), UiStep::click(IDOK),
         UiStep::type(IDC_RSS_FILE_NAME, u""), UiStep::expect(IDOK, UiCheck::enabled(false)),
         UiStep::type(IDC_RSS_FILE_NAME, u"renamed.rss"), UiStep::click(IDOK)});
    ui.answerBox(IDS_RSS_FILE_EXISTS, MB_OK | MB_ICONEXCLAMATION, IDOK);
    ui.answerBox(IDS_RSS_FOLDER_OUTSIDE_SITE, MB_OK | MB_ICONEXCLAMATION, IDOK);
    CLumRssRenameFileDlg dlg(nullptr);
    dlg.setFolder(CString(dir.windows("site/news")));
    dlg.m_strFileName = u"a.rss";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.getPath(), CString(dir.windows("site/news/renamed.rss")));
}

}  // namespace
