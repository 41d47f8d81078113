#include "SampleDialog.h"

#include "TzGuard.h"
#include "mfc/CWinApp.h"
#include "support/TestUiDriver.h"
#include "win32/Gdi.h"
#include "win32/ScriptedDriver.h"

#include <gtest/gtest.h>

#include <optional>

using nd::win32::UiStep;
using sample::CSampleDlg;

namespace {

// Runs a check inside the dialog while it is open.
UiStep inDialog(std::function<void(CSampleDlg&)> check, CSampleDlg& dlg) {
    return UiStep::run([&dlg, check](HWND) { check(dlg); });
}

SYSTEMTIME date(WORD y, WORD m, WORD d) {
    SYSTEMTIME st;
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    return st;
}

}  // namespace

TEST(SampleDialog, DataExchangeFillsControlsAtStartAndMembersOnOk) {
    TzGuard tz("UTC0");
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    dlg.m_strName = u"before";
    dlg.m_nCount = 7;
    dlg.m_bFlag = 1;
    ui.expectDialog(
        sample::kTemplateId,
        {UiStep::run([](HWND h) {
             EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kName)), u"before");
             EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kCount)), u"7");
             EXPECT_EQ(IsDlgButtonChecked(h, sample::kFlag), BST_CHECKED);
             EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kDate)), u"2024/05/01");
             EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kDuration)), u"0:03:25");
         }),
         UiStep::type(sample::kName, u"after"), UiStep::type(sample::kCount, u"12"),
         UiStep::check(sample::kFlag, false), UiStep::setDateTime(sample::kDate, date(2025, 2, 28)),
         UiStep::type(sample::kDuration, u"1:02:03"), UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, u"after");
    EXPECT_EQ(dlg.m_nCount, 12);
    EXPECT_EQ(dlg.m_bFlag, 0);
    EXPECT_EQ(dlg.m_date.GetYear(), 2025);
    EXPECT_EQ(dlg.m_date.GetMonth(), 2);
    EXPECT_EQ(dlg.m_date.GetDay(), 28);
    EXPECT_EQ(dlg.m_duration.GetHour(), 1);
    EXPECT_EQ(dlg.m_duration.GetMinute(), 2);
    EXPECT_EQ(dlg.m_duration.GetSecond(), 3);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the window is gone after the modal run";
}

TEST(SampleDialog, CancelLeavesTheMembersAsTheyWere) {
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    dlg.m_strName = u"kept";
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::type(sample::kName, u"changed"), UiStep::escape()});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strName, u"kept");
}

TEST(SampleDialog, EachNotificationKindReachesItsHandler) {
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::type(sample::kName, u"x"), UiStep::select(sample::kList, {0, 2}),
                     UiStep::select(sample::kCombo, {1}), UiStep::select(sample::kRows, {1}),
                     UiStep::setDateTime(sample::kDate, date(2020, 1, 1)),
                     UiStep::click(sample::kAdd), UiStep::click(IDCANCEL)});
    dlg.DoModal();
    EXPECT_EQ(dlg.nameChanges, 1);
    EXPECT_EQ(dlg.listChanges, 1);
    EXPECT_EQ(dlg.comboChanges, 1);
    EXPECT_EQ(dlg.rowChanges, 1);
    EXPECT_EQ(dlg.dateChanges, 1);
    EXPECT_EQ(dlg.adds, 1);
}

TEST(SampleDialog, DataExchangeNeitherNotifiesNorRewritesAnEqualText) {
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    dlg.m_strName = u"start";
    int atStart = -1;
    ui.expectDialog(sample::kTemplateId,
                    {inDialog([&](CSampleDlg& d) { atStart = d.nameChanges; }, dlg),
                     inDialog([](CSampleDlg& d) { d.UpdateData(FALSE); }, dlg),
                     inDialog([&](CSampleDlg& d) { EXPECT_EQ(d.nameChanges, atStart); }, dlg),
                     UiStep::click(IDCANCEL)});
    dlg.DoModal();
    EXPECT_EQ(atStart, 0) << "filling the edit at start is data exchange, not a change";
}

TEST(SampleDialog, EnterPressesTheDefaultButtonExceptInAnEditThatWantsReturn) {
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    ui.answerText(u"name is required", IDOK);
    ui.expectDialog(
        sample::kTemplateId,
        {UiStep::type(sample::kNotes, u"line"), UiStep::enter(), UiStep::run([](HWND h) {
             EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kNotes)), u"line\r\n");
         }),
         UiStep::run([](HWND h) { SetFocus(GetDlgItem(h, sample::kName)); }),
         UiStep::enter(),  // OK without a name: the message, the dialog stays
         UiStep::type(sample::kName, u"n"), UiStep::enter()});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strNotes, u"line\r\n");
    ASSERT_EQ(ui.messageBoxesShown().size(), 1u);
    EXPECT_EQ(ui.messageBoxesShown()[0].style, MB_OK | MB_ICONEXCLAMATION);
}

TEST(SampleDialog, AnUnexpectedMessageBoxFailsAtOnceInsteadOfWaiting) {
    ndtest::RecordingUiDriver driver;
    CSampleDlg dlg;
    driver.expectDialog(sample::kTemplateId,
                        {UiStep::click(IDOK), UiStep::type(sample::kName, u"never typed")});
    EXPECT_EQ(dlg.DoModal(), -1);
    ASSERT_EQ(driver.failures.size(), 1u);
    EXPECT_NE(driver.failures[0].find("unexpected message box"), std::string::npos);
    EXPECT_NE(driver.failures[0].find("A name is required."), std::string::npos);
    EXPECT_EQ(dlg.m_strName, u"") << "the dialog ended without its later steps";
}

// An unexpected dialog, a script that runs out, a step naming no control.
TEST(SampleDialog, AnUnexpectedDialogAndAScriptThatRunsOutBothEndTheRun) {
    const std::pair<std::optional<std::vector<UiStep>>, const char*> cases[] = {
        {std::nullopt, "unexpected dialog 500 \"Sample\""},
        {std::vector{UiStep::click(sample::kAdd)},
         "dialog 500 \"Sample\" is still open after its last step"},
        {std::vector{UiStep::click(9999)},
         "dialog 500 \"Sample\", step 1 (click 9999): there is no control 9999"},
    };
    for (const auto& [steps, failure] : cases) {
        ndtest::RecordingUiDriver driver;
        if (steps) {
            driver.expectDialog(sample::kTemplateId, *steps);
        }
        CSampleDlg dlg;
        EXPECT_EQ(dlg.DoModal(), -1);
        EXPECT_EQ(driver.failures, std::vector<std::string>{failure});
    }
}

TEST(SampleDialog, WithoutADriverAModalDialogEndsAtOnce) {
    auto* previous = nd::win32::setUiDriver(nullptr);
    CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    nd::win32::setUiDriver(previous);
}

TEST(SampleDialog, PaintingAndControlColoursAreRecorded) {
    ndtest::TestUiDriver ui;
    CSampleDlg dlg;
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::run([](HWND h) {
                         const auto& own = nd::win32::paintRecords(h);
                         ASSERT_EQ(own.size(), 2u);
                         // The background in the dialog's own colour, then OnPaint's drawing.
                         EXPECT_EQ(own[0].kind, nd::win32::DrawKind::FillRect);
                         EXPECT_EQ(own[0].brushColor, RGB(1, 2, 3));
                         EXPECT_EQ(own[1].kind, nd::win32::DrawKind::RoundRect);
                         EXPECT_EQ(own[1].cornerWidth, 6);
                         EXPECT_EQ(own[1].penColor, RGB(10, 20, 30));
                         EXPECT_EQ(own[1].brushColor, RGB(40, 50, 60));
                         // A check box is coloured by the dialog's OnCtlColor.
                         const auto& box = nd::win32::paintRecords(GetDlgItem(h, sample::kFlag));
                         ASSERT_GE(box.size(), 2u);
                         EXPECT_EQ(box[0].brushColor, RGB(1, 2, 3));
                         EXPECT_EQ(box[1].text, u"Flag");
                         EXPECT_EQ(box[1].textColor, RGB(200, 0, 0));
                         EXPECT_EQ(box[1].backMode, TRANSPARENT);
                         // An edit keeps the framework's answer: no brush, no fill.
                         const auto& edit = nd::win32::paintRecords(GetDlgItem(h, sample::kName));
                         ASSERT_FALSE(edit.empty());
                         EXPECT_EQ(edit[0].kind, nd::win32::DrawKind::Text);
                     }),
                     UiStep::click(IDCANCEL)});
    dlg.DoModal();
}

TEST(SampleDialog, ANestedDialogRunsItsOwnScriptWhileItsOwnerWaitsDisabled) {
    ndtest::TestUiDriver ui;
    CSampleDlg outer;
    CSampleDlg inner;
    INT_PTR innerResult = 0;
    ui.expectDialog(sample::kTemplateId, {UiStep::run([&](HWND h) {
                                              inner.m_pParentWnd = &outer;
                                              innerResult = inner.DoModal();
                                              EXPECT_TRUE(IsWindowEnabled(h))
                                                  << "the owner is enabled again";
                                              EXPECT_EQ(GetActiveWindow(), h);
                                          }),
                                          UiStep::type(sample::kName, u"outer"), UiStep::enter()});
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::run([&](HWND h) {
                         EXPECT_FALSE(IsWindowEnabled(outer.m_hWnd));
                         EXPECT_EQ(GetWindow(h, GW_OWNER), outer.m_hWnd);
                     }),
                     UiStep::type(sample::kName, u"inner"), UiStep::click(sample::kFinish)});
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerResult, 42);
    EXPECT_EQ(outer.m_strName, u"outer");
    EXPECT_EQ(inner.m_strName, u"") << "the inner dialog ended without OK";
    EXPECT_EQ(ui.dialogsShown(), (std::vector<int>{sample::kTemplateId, sample::kTemplateId}));
}
