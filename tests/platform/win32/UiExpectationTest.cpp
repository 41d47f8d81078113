#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"
#include "win32/CommCtrl.h"
#include "win32/Dialog.h"
#include "win32/ScriptedDriver.h"
#include "win32/UiDriver.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

using nd::win32::UiCheck;
using nd::win32::UiStep;

namespace {

constexpr int kEdit = 100;
constexpr int kBox = 101;
constexpr int kRadio1 = 110;
constexpr int kRadio2 = 111;
constexpr int kRadio3 = 112;
constexpr int kOther = 113;  // a radio button of a second group
constexpr int kList = 120;
constexpr int kView = 121;
constexpr int kCombo = 122;
constexpr int kPageEdit = 200;
constexpr int kPageButton = 201;

std::vector<BYTE> g_page;
HWND g_pageWindow = nullptr;
int g_pageClicks = 0;

INT_PTR pageProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == kPageButton) {
        ++g_pageClicks;
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

INT_PTR proc(HWND h, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(h, kEdit, u"Morning news");
        CheckRadioButton(h, kRadio1, kRadio3, kRadio2);
        HWND list = GetDlgItem(h, kList);
        for (const char16_t* row : {u"Arts", u"Music", u"News"}) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        }
        SendMessageW(list, LB_SETSEL, TRUE, 2);
        HWND view = GetDlgItem(h, kView);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNW column;
            column.mask = LVCF_TEXT;
            column.pszText = const_cast<LPWSTR>(c ? u"Date" : u"Title");
            SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                         reinterpret_cast<LPARAM>(&column));
        }
        const char16_t* rows[][2] = {{u"First", u"2024/05/01"}, {u"Second", u"2024/05/02"}};
        for (int r = 0; r < 2; ++r) {
            LVITEMW item;
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.pszText = const_cast<LPWSTR>(rows[r][0]);
            SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = const_cast<LPWSTR>(rows[r][1]);
            SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(r),
                         reinterpret_cast<LPARAM>(&item));
        }
        HWND combo = GetDlgItem(h, kCombo);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"RSS 1.0"));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"RSS 2.0"));
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        g_pageWindow = CreateDialogIndirectParamW(nullptr, g_page.data(), h, pageProc, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(h, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

std::vector<BYTE> dialog() {
    ndtest::DialogBuilder page(u"", 100, 40, WS_CHILD | WS_VISIBLE | DS_CONTROL);
    page.control(u"#0081", u"", kPageEdit, 5, 5, 80, 12, WS_TABSTOP)
        .control(u"#0080", u"Go", kPageButton, 5, 20, 40, 14, WS_TABSTOP);
    g_page = page.bytes();
    ndtest::DialogBuilder b(u"Expectations", 300, 200);
    b.control(u"#0081", u"", kEdit, 5, 5, 80, 12, WS_TABSTOP)
        .control(u"#0080", u"Private", kBox, 5, 20, 80, 12, BS_AUTOCHECKBOX | WS_TABSTOP)
        .control(u"#0080", u"One", kRadio1, 5, 35, 50, 12, BS_AUTORADIOBUTTON | WS_GROUP)
        .control(u"#0080", u"Two", kRadio2, 5, 50, 50, 12, BS_AUTORADIOBUTTON)
        .control(u"#0080", u"Three", kRadio3, 5, 65, 50, 12, BS_AUTORADIOBUTTON)
        .control(u"#0080", u"Other", kOther, 60, 35, 50, 12, BS_AUTORADIOBUTTON | WS_GROUP)
        .control(u"#0083", u"", kList, 120, 5, 80, 40, LBS_SORT | LBS_EXTENDEDSEL | WS_GROUP)
        .control(u"SysListView32", u"", kView, 120, 50, 120, 40, LVS_REPORT)
        .control(u"#0085", u"", kCombo, 120, 95, 80, 60, CBS_DROPDOWNLIST)
        .control(u"#0080", u"OK", IDOK, 200, 180, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP)
        .control(u"#0080", u"Cancel", IDCANCEL, 250, 180, 40, 14, WS_TABSTOP | WS_DISABLED);
    return b.bytes();
}

// Runs the dialog with these steps and gives the failure the driver reported.
std::string runWith(std::vector<UiStep> steps) {
    ndtest::RecordingUiDriver driver;
    auto bytes = dialog();
    driver.expectDialog(0, std::move(steps));
    DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0);
    return driver.failures.empty() ? std::string() : driver.failures.back();
}

}  // namespace

TEST(UiExpectation, WhatAPersonSeesMatchesTheDialogsState) {
    std::string failure = runWith({
        UiStep::expect(kEdit, {UiCheck::textIs(u"Morning news"), UiCheck::enabled(true),
                               UiCheck::visible(true)}),
        UiStep::expect(kBox, UiCheck::checked(false)),
        UiStep::expect(kRadio1, UiCheck::radioIs(kRadio2)),
        UiStep::expect(kRadio3, UiCheck::radioIs(kRadio2)),
        UiStep::expect(kOther, UiCheck::radioIs(0)),
        UiStep::expect(kList,
                       {UiCheck::rowsAre({u"Arts", u"Music", u"News"}), UiCheck::selectionIs({2})}),
        UiStep::expect(kView, UiCheck::rowsAre({u"First\t2024/05/01", u"Second"})),
        UiStep::expect(kView, UiCheck::selectionIs({})),
        UiStep::expect(kCombo, {UiCheck::textIs(u"RSS 2.0"), UiCheck::selectionIs({1}),
                                UiCheck::rowsAre({u"RSS 1.0", u"RSS 2.0"})}),
        UiStep::expect(IDCANCEL, UiCheck::enabled(false)),
        UiStep::click(kRadio3),
        UiStep::check(kBox, true),
        UiStep::expect(kRadio2, UiCheck::radioIs(kRadio3)),
        UiStep::expect(kBox, UiCheck::checked(true)),
        UiStep::click(IDOK),
    });
    EXPECT_EQ(failure, "");
}

TEST(UiExpectation, AMismatchNamesTheControlTheExpectedAndTheFoundValue) {
    struct Case {
        UiStep step;
        std::string says;
    };
    const Case cases[] = {
        {UiStep::expect(kEdit, UiCheck::textIs(u"Evening")),
         "control 100 text: expected \"Evening\", found \"Morning news\""},
        {UiStep::expect(IDCANCEL, UiCheck::enabled(true)),
         "control 2 enabled: expected enabled, found disabled"},
        {UiStep::expect(kBox, UiCheck::checked(true)),
         "control 101 checked: expected checked, found clear"},
        {UiStep::expect(kRadio1, UiCheck::radioIs(kRadio1)),
         "control 110 selected radio button: expected 110, found 111"},
        {UiStep::expect(kList, UiCheck::rowsAre({u"Arts", u"News"})),
         "control 120 rows: expected [\"Arts\", \"News\"], found [\"Arts\", \"Music\", \"News\"]"},
        {UiStep::expect(kList, UiCheck::selectionIs({0, 2})),
         "control 120 selected rows: expected [0, 2], found [2]"},
        {UiStep::expect(kView, UiCheck::rowsAre({u"First\t2024/05/02", u"Second"})),
         "control 121 rows: expected [\"First\t2024/05/02\", \"Second\"], found "
         "[\"First\t2024/05/01\", \"Second\"]"},
        {UiStep::expect(kEdit, UiCheck::checked(true)),
         "control 100 is not a check box or radio button"},
        {UiStep::expect(999, UiCheck::visible(true)), "there is no control 999"},
    };
    for (const auto& c : cases) {
        std::string failure = runWith({c.step, UiStep::click(IDOK)});
        EXPECT_NE(failure.find(c.says), std::string::npos) << failure;
        EXPECT_EQ(failure.find('\n'), std::string::npos) << failure;
        EXPECT_EQ(failure.rfind("dialog \"Expectations\", step 1 (expect ", 0), 0u) << failure;
    }
}

TEST(UiExpectation, AControlOnAHiddenPageIsNotVisible) {
    std::string failure = runWith({
        UiStep::expect(kPageEdit, UiCheck::visible(true)),
        UiStep::run([](HWND) { ShowWindow(g_pageWindow, SW_HIDE); }),
        UiStep::expect(kPageEdit, {UiCheck::visible(false), UiCheck::enabled(true)}),
        UiStep::click(IDOK),
    });
    EXPECT_EQ(failure, "");
}

TEST(UiExpectation, AnEnabledControlInsideADisabledPageOrDialogRefusesTheUser) {
    g_pageClicks = 0;
    std::string failure = runWith({
        UiStep::run([](HWND) { EnableWindow(g_pageWindow, FALSE); }),
        UiStep::expect(kPageButton, UiCheck::enabled(true)),
        UiStep::click(kPageButton),
    });
    EXPECT_NE(failure.find("step 3 (click 201): control 201 is disabled"), std::string::npos)
        << failure;
    failure = runWith({
        UiStep::run([](HWND) { EnableWindow(g_pageWindow, FALSE); }),
        UiStep::type(kPageEdit, u"typed"),
    });
    EXPECT_NE(failure.find("control 200 is disabled"), std::string::npos) << failure;
    failure = runWith({
        UiStep::run([](HWND h) { EnableWindow(h, FALSE); }),
        UiStep::click(kBox),
    });
    EXPECT_NE(failure.find("control 101 is disabled"), std::string::npos) << failure;
    failure = runWith({
        UiStep::run([](HWND h) { EnableWindow(h, FALSE); }),
        UiStep::enter(),
    });
    EXPECT_NE(failure.find("step 2 (press Enter): the dialog is disabled"), std::string::npos)
        << failure;
    EXPECT_EQ(g_pageClicks, 0);
}

TEST(UiExpectation, ADialogClosingBeforeItsLastStepFailsTheRun) {
    std::string failure =
        runWith({UiStep::click(IDOK), UiStep::expect(kEdit, UiCheck::visible(true))});
    EXPECT_EQ(failure, "dialog \"Expectations\" closed before step 2 (expect visible of 100)");
}

TEST(UiExpectation, MessageBoxesAndChoosersAreCheckedForWhatTheyShow) {
    nd::win32::MessageBoxAnswer yes(0, u"convert", IDYES);
    yes.icon = MB_ICONINFORMATION;
    yes.buttons = MB_YESNO;
    nd::win32::ChooserAnswer media(nd::win32::ChooserKind::OpenFile, u"Z:\\a.wav");
    media.fileKind = 24;
    nd::win32::ChooserRequest request;
    {
        ndtest::RecordingUiDriver driver;
        driver.expectMessageBox(yes);
        driver.expectChooser(media);
        EXPECT_EQ(MessageBoxW(nullptr, u"convert it?", u"", MB_YESNO | MB_ICONINFORMATION), IDYES);
        request.fileKind = 24;
        EXPECT_EQ(nd::win32::choosePath(request), std::u16string(u"Z:\\a.wav"));
        EXPECT_TRUE(driver.failures.empty());

        yes.icon = MB_ICONSTOP;
        driver.expectMessageBox(yes);
        EXPECT_EQ(MessageBoxW(nullptr, u"convert it?", u"", MB_YESNO | MB_ICONINFORMATION), IDNO)
            << "a box that looks wrong gets the harmless answer";
        EXPECT_EQ(
            driver.failures,
            std::vector<std::string>{
                "message box \"convert it?\" (Yes/No) icon: expected stop, found information"});
    }
    for (UINT buttons : {0u, static_cast<UINT>(MB_OKCANCEL)}) {
        ndtest::RecordingUiDriver driver;
        nd::win32::MessageBoxAnswer answer(0, u"", IDOK);
        if (buttons != 0) {
            answer.buttons = buttons;
        }
        driver.expectMessageBox(answer);
        MessageBoxW(nullptr, u"done", u"", MB_OK);
        if (buttons == 0) {
            EXPECT_TRUE(driver.failures.empty());
        } else {
            EXPECT_EQ(driver.failures,
                      std::vector<std::string>{
                          "message box \"done\" (OK) buttons: expected ok-cancel, found ok"});
        }
    }
    ndtest::RecordingUiDriver driver;
    driver.expectChooser(media);
    request.fileKind = 2;
    EXPECT_EQ(nd::win32::choosePath(request), std::nullopt);
    EXPECT_EQ(driver.failures,
              std::vector<std::string>{
                  "open-file chooser for file kind 2 file kind: expected 24, found 2"});
}
