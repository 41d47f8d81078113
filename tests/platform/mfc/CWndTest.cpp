#include "SampleDialog.h"

#include "mfc/AfxMessageBox.h"
#include "mfc/CEdit.h"
#include "mfc/CWinApp.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

// Overrides one command of its base and adds one; the rest comes from the
// base classes' maps.
class CDerivedDlg : public sample::CSampleDlg {
  public:
    void OnAddHere() { ++ownAdds; }
    void OnCancel() override {
        ++cancels;
        CSampleDlg::OnCancel();
    }
    int ownAdds = 0;
    int cancels = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedDlg, sample::CSampleDlg)
ON_BN_CLICKED(sample::kAdd, &CDerivedDlg::OnAddHere)
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMap, TheMostDerivedEntryWinsAndTheRestComeFromTheBaseClasses) {
    ndtest::TestUiDriver ui;
    CDerivedDlg dlg;
    ui.expectDialog(
        sample::kTemplateId,
        {UiStep::click(sample::kAdd), UiStep::type(sample::kName, u"n"), UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.ownAdds, 1);
    EXPECT_EQ(dlg.adds, 0) << "the base's handler for the same command is not called";
    EXPECT_EQ(dlg.nameChanges, 1) << "from the base's map (an empty start sets no text)";
    EXPECT_EQ(dlg.cancels, 1) << "CDialog's map calls the virtual OnCancel";
}

TEST(CWnd, TemporaryObjectsHaveTheControlsClassAndGoWithTheirWindow) {
    ndtest::TestUiDriver ui;
    sample::CSampleDlg dlg;
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::run([&](HWND) {
                         CWnd* name = dlg.GetDlgItem(sample::kName);
                         ASSERT_TRUE(name);
                         EXPECT_NE(dynamic_cast<CEdit*>(name), nullptr);
                         EXPECT_EQ(dlg.GetDlgItem(sample::kName), name) << "one object per window";
                         EXPECT_EQ(CWnd::FromHandlePermanent(name->m_hWnd), nullptr);
                         EXPECT_EQ(dlg.GetDlgItem(sample::kList), &dlg.m_list)
                             << "an attached control answers its own object";
                         EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
                         EXPECT_EQ(CWnd::FromHandle(dlg.m_hWnd), &dlg);
                     }),
                     UiStep::click(IDCANCEL)});
    dlg.DoModal();
    EXPECT_EQ(dlg.m_list.m_hWnd, nullptr) << "detached when the window went";
}

TEST(DataExchange, ANumberThatDoesNotConvertKeepsTheDialogOpenWithTheFieldFocused) {
    ndtest::TestUiDriver ui;
    sample::CSampleDlg dlg;
    dlg.m_nCount = 3;
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::type(sample::kName, u"n"), UiStep::run([](HWND h) {
                         SetWindowTextW(GetDlgItem(h, sample::kCount), u"99999999999");
                     }),
                     UiStep::run([&](HWND h) {
                         EXPECT_FALSE(dlg.UpdateData(TRUE));
                         EXPECT_EQ(GetFocus(), GetDlgItem(h, sample::kCount));
                         EXPECT_EQ(dlg.m_nCount, 3);
                         SetWindowTextW(GetDlgItem(h, sample::kCount), u" -4 ");
                         EXPECT_TRUE(dlg.UpdateData(TRUE));
                     }),
                     UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCount, -4);
}

TEST(AfxMessageBox, FixedTextsAndStringIdsReachTheDriverWithTheirStyle) {
    ndtest::TestUiDriver ui;
    CWinApp app(u"ルミネア");
    ui.answerText(u"fixed", IDYES);
    ui.answer(4321, IDNO);
    EXPECT_EQ(AfxMessageBox(u"a fixed text", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox(4321, MB_YESNO), IDNO);
    ASSERT_EQ(ui.messageBoxesShown().size(), 2u);
    EXPECT_EQ(ui.messageBoxesShown()[0].caption, u"ルミネア");
    EXPECT_EQ(ui.messageBoxesShown()[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ui.messageBoxesShown()[0].stringId, 0u);
    EXPECT_EQ(ui.messageBoxesShown()[1].stringId, 4321u);
    EXPECT_EQ(ui.messageBoxesShown()[1].text, u"") << "no module has that string";
}

TEST(AfxMessageBox, ABoxAnswersOnlyWithItsOwnButtons) {
    {
        ndtest::RecordingUiDriver driver;
        driver.expectMessageBox({0, u"delete", IDYES});
        // The confirmation shown with an OK button by mistake cannot say Yes.
        EXPECT_EQ(AfxMessageBox(u"delete the files?", MB_OK | MB_ICONQUESTION), IDOK);
        ASSERT_EQ(driver.failures.size(), 1u);
        EXPECT_NE(driver.failures[0].find("not a button of"), std::string::npos);
    }
    ndtest::RecordingUiDriver unexpected;
    EXPECT_EQ(AfxMessageBox(u"done", MB_OK), IDOK) << "an OK box has nothing else to answer";
    EXPECT_EQ(AfxMessageBox(u"sure?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(u"sure?", MB_YESNOCANCEL), IDCANCEL);
}

TEST(CWinApp, TheApplicationObjectIsThereOnlyWhileItLives) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp app;
        app.SetHelpFilePath(u"Z:\\help\\product.chm");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(std::u16string(AfxGetApp()->m_pszHelpFilePath), u"Z:\\help\\product.chm");
        CWnd().WinHelp(0x20000 + 5, HELP_CONTEXT);
        ASSERT_EQ(app.helpRequests().size(), 1u);
        EXPECT_EQ(app.helpRequests()[0].first, 0x20005u);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(CDialog, ADialogThatCannotBeCreatedFailsTheRunAndAttachesNothing) {
    ndtest::TestUiDriver ui;
    ndtest::DialogBuilder b(u"Broken", 100, 50);
    b.control(u"NoSuchClass", u"", 5, 0, 0, 10, 10, 0);
    auto broken = b.bytes();
    CDialog dlg;
    dlg.InitModalIndirect(broken.data());
    EXPECT_EQ(dlg.DoModal(), -1);
    HWND next = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(next), nullptr) << "no stale attach request";
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    DestroyWindow(next);
    CDialog missing(54321);
    EXPECT_EQ(missing.DoModal(), -1) << "no module has the template";
}

TEST(CWnd, ATemporaryObjectOutlivesItsWindowForTheCallerHoldingIt) {
    HWND w =
        CreateWindowExW(0, WC_EDIT, u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CWnd* temp = CWnd::FromHandle(w);
    ASSERT_TRUE(temp);
    temp->DestroyWindow();
    EXPECT_EQ(temp->m_hWnd, nullptr) << "detached, still there";
    EXPECT_EQ(CWnd::FromHandle(w), nullptr);
}
