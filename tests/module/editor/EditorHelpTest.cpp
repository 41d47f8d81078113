// Help in the editor: every dialog and page hands the framework's help call
// to the host help with its own template id, and without an application
// object nothing is shown.
#include "EditorTesting.h"
#include "editor/CLumRssFileConfigDlg.h"
#include "mfc/CWinApp.h"
#include "res/ResourceIds.h"
#include "win32/HtmlHelp.h"

#include <gtest/gtest.h>

using edtest::UiStep;

namespace {

std::vector<DWORD_PTR> contextsShown() {
    std::vector<DWORD_PTR> out;
    for (const auto& r : nd::win32::htmlHelpRequests()) {
        EXPECT_EQ(r.file, u"Z:\\help\\lumpage.chm");
        EXPECT_EQ(r.command, HH_HELP_CONTEXT);
        out.push_back(r.data);
    }
    return out;
}

}  // namespace

TEST(EditorHelp, EachDialogAndPageShowsItsOwnTopic) {
    nd::win32::clearHtmlHelpRequests();
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    {
        CWinApp app(u"newsdesk");
        app.SetHelpFilePath(u"Z:\\help\\lumpage.chm");
        ndtest::TestUiDriver ui;
        ui.expectDialog(IDD_RSS_FILE_CONFIG,
                        {UiStep::click(ID_HELP), UiStep::press(VK_F1), UiStep::click(IDC_RSS_ADD),
                         UiStep::selectTab(1), UiStep::select(IDC_RSS_ITEM_LIST, {0}),
                         UiStep::click(IDC_RSS_EDIT_ITEM), UiStep::click(IDCANCEL)});
        ui.expectDialog(IDD_RSS_CATEGORY, {UiStep::click(ID_HELP), UiStep::click(IDCANCEL)});
        ui.expectDialog(IDD_RSS_ITEM_CONFIG, {UiStep::click(ID_HELP), UiStep::click(IDCANCEL)});
        CLumRssFileConfigDlg dlg(&channel, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(contextsShown(), (std::vector<DWORD_PTR>{IDD_RSS_FILE_CONFIG, IDD_RSS_FILE_CONFIG,
                                                           IDD_RSS_CATEGORY, IDD_RSS_ITEM_CONFIG}));
    }
    nd::win32::clearHtmlHelpRequests();
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG, {UiStep::press(VK_F1), UiStep::click(IDCANCEL)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(nd::win32::htmlHelpRequests().empty()) << "no application, no host help";
}
