#include "hostapp/files/CKmxCommon.h"
#include "hostapp/ui/CLumHelp.h"
#include "hostapp/ui/FileDialogs.h"
#include "support/TestUiDriver.h"
#include "win32/HtmlHelp.h"

#include <gtest/gtest.h>

TEST(HostDialogs, ChoosersAnswerThePathTheUserPicksOrNothing) {
    ndtest::TestUiDriver ui;
    ui.choosePath(u"Z:\\site\\img.png");
    ui.cancelChooser();
    ui.expectChooser({nd::win32::ChooserKind::SaveFile, std::u16string(u"Z:\\site\\new.rss")});
    ui.expectChooser({nd::win32::ChooserKind::Folder, std::u16string(u"Z:\\site\\feeds")});
    EXPECT_EQ(CLumOpenFileDialog::GetOpenFile(2, nullptr, CString(), nullptr),
              u"Z:\\site\\img.png");
    EXPECT_EQ(CLumOpenFileDialog::GetOpenFile(23, nullptr, CString(), nullptr), u"");
    CLumFileDialog save(0, 23, nullptr, 6, nullptr, nullptr);
    EXPECT_EQ(save.DoModal(0, u"", u""), IDOK);
    EXPECT_EQ(save.GetPathName(), u"Z:\\site\\new.rss");
    CLumDirDlg folder(u"Z:\\site\\", nullptr, 1);
    EXPECT_EQ(folder.ShowDialog(nullptr), IDOK);
    EXPECT_EQ(folder.GetDirPath(), u"Z:\\site\\feeds");
    ASSERT_EQ(ui.choosersShown().size(), 4u);
    EXPECT_EQ(ui.choosersShown()[1].fileKind, 23);
    EXPECT_EQ(ui.choosersShown()[3].initialPath, u"Z:\\site\\");
}

TEST(HostDialogs, AChooserOfTheWrongKindFailsTheRun) {
    ndtest::RecordingUiDriver driver;
    driver.expectChooser({nd::win32::ChooserKind::Folder, std::u16string(u"Z:\\x")});
    CLumFileDialog open(TRUE, 24);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(driver.failures,
              std::vector<std::string>{
                  "expected a folder chooser, got open-file chooser for file kind 24"});
}

// The button and F1 in the module's dialogs are checked with the editor's
// help; here what the host help does without a file and for the contents.
TEST(HostDialogs, HelpWithoutAFileShowsNothingAndTheContentsShowTheTable) {
    nd::win32::clearHtmlHelpRequests();
    CString file = CKmxCommon::getProductFolder(17, 0) + CKmxCommon::getHelpFileNameLumpage();
    CLumHelp noFile(nullptr);
    EXPECT_FALSE(noFile.showHelp(11902, HELP_CONTEXT));
    EXPECT_TRUE(nd::win32::htmlHelpRequests().empty()) << "no help file shows nothing";
    CLumHelp contents(file.GetString());
    EXPECT_TRUE(contents.showHelp(0, HELP_FINDER));
    const auto& shown = nd::win32::htmlHelpRequests();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].command, HH_DISPLAY_TOC);
    EXPECT_EQ(shown[0].file, file);
    nd::win32::clearHtmlHelpRequests();
}
