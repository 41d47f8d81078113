#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"
#include "win32/Dialog.h"
#include "win32/ScriptedDriver.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

std::vector<BYTE> g_inner;
std::vector<int> g_commands;

// A plain dialog procedure: OK and Cancel end the dialog; 300 opens a nested one.
INT_PTR proc(HWND h, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        int id = LOWORD(wParam);
        g_commands.push_back(id);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(h, id);
            return TRUE;
        }
        if (id == 300) {
            INT_PTR r = DialogBoxIndirectParamW(nullptr, g_inner.data(), h, proc, 0);
            g_commands.push_back(static_cast<int>(1000 + r));
            return TRUE;
        }
    }
    return FALSE;
}

std::vector<BYTE> outer() {
    ndtest::DialogBuilder b(u"Outer", 200, 100);
    b.control(u"#0081", u"", 100, 5, 5, 80, 12, WS_TABSTOP)
        .control(u"#0081", u"", 101, 5, 20, 80, 12, WS_TABSTOP | WS_DISABLED)
        .control(u"#0081", u"", 102, 5, 35, 80, 12, WS_TABSTOP)
        .control(u"#0080", u"Nested", 300, 5, 60, 50, 14, WS_TABSTOP)
        .control(u"#0080", u"OK", IDOK, 100, 80, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON)
        .control(u"#0080", u"Cancel", IDCANCEL, 150, 80, 40, 14, WS_TABSTOP);
    return b.bytes();
}

}  // namespace

TEST(DialogManager, TabMovesThroughEnabledTabStopsAndWraps) {
    ndtest::TestUiDriver ui;
    auto bytes = outer();
    std::vector<int> focus;
    auto record = UiStep::run([&](HWND) { focus.push_back(GetDlgCtrlID(GetFocus())); });
    ui.expectDialog(0, {record, UiStep::press(VK_TAB), record, UiStep::press(VK_TAB), record,
                        UiStep::press(VK_TAB), UiStep::press(VK_TAB), UiStep::press(VK_TAB), record,
                        UiStep::escape()});
    g_commands.clear();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0), IDCANCEL);
    EXPECT_EQ(focus, (std::vector<int>{100, 102, 300, 100}));
}

TEST(DialogManager, EnterPressesTheDefaultButtonUnlessItIsDisabled) {
    ndtest::TestUiDriver ui;
    auto bytes = outer();
    ui.expectDialog(0, {UiStep::run([](HWND h) {
                            EXPECT_EQ(SendMessageW(h, DM_GETDEFID, 0, 0),
                                      MAKELONG(IDOK, DC_HASDEFID));
                            EnableWindow(GetDlgItem(h, IDOK), FALSE);
                        }),
                        UiStep::enter(), UiStep::run([](HWND h) {
                            EXPECT_TRUE(g_commands.empty()) << "the disabled button was pressed";
                            EnableWindow(GetDlgItem(h, IDOK), TRUE);
                        }),
                        UiStep::enter()});
    g_commands.clear();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0), IDOK);
    EXPECT_EQ(g_commands, (std::vector<int>{IDOK}));
}

TEST(DialogManager, EscCancelsEvenWithTheCancelButtonDisabledButClosingDoesNot) {
    ndtest::TestUiDriver ui;
    auto bytes = outer();
    ui.expectDialog(0, {UiStep::run([](HWND h) {
                            EnableWindow(GetDlgItem(h, IDCANCEL), FALSE);
                            SendMessageW(h, WM_CLOSE, 0, 0);
                            EXPECT_TRUE(g_commands.empty()) << "closing went through Cancel";
                            EXPECT_FALSE(nd::win32::dialogEnded(h));
                        }),
                        UiStep::escape()});
    g_commands.clear();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0), IDCANCEL);
    EXPECT_EQ(g_commands, (std::vector<int>{IDCANCEL})) << "only Esc got through";
}

TEST(DialogManager, ANestedModalDialogDisablesItsOwnerUntilItEnds) {
    ndtest::TestUiDriver ui;
    auto bytes = outer();
    ndtest::DialogBuilder inner(u"Inner", 100, 50);
    inner.control(u"#0080", u"OK", IDOK, 5, 30, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
    g_inner = inner.bytes();
    HWND outerDialog = nullptr;
    ui.expectDialog(
        0, {UiStep::run([&](HWND h) { outerDialog = h; }), UiStep::click(300),
            UiStep::run([](HWND h) { EXPECT_TRUE(IsWindowEnabled(h)); }), UiStep::click(IDCANCEL)});
    ui.expectDialog(0, {UiStep::run([&](HWND h) {
                            EXPECT_FALSE(IsWindowEnabled(outerDialog));
                            EXPECT_EQ(GetWindow(h, GW_OWNER), outerDialog);
                            EXPECT_EQ(GetActiveWindow(), h);
                        }),
                        UiStep::enter()});
    g_commands.clear();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0), IDCANCEL);
    EXPECT_EQ(g_commands, (std::vector<int>{300, IDOK, 1000 + IDOK, IDCANCEL}));
    EXPECT_TRUE(nd::win32::topLevelWindows().empty()) << "both dialogs are gone";
}

TEST(DialogManager, NextDialogControlWithAHandleFocusesThatControl) {
    auto bytes = outer();
    HWND h = CreateDialogIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(GetFocus(), GetDlgItem(h, 100)) << "the first tab stop has the focus at start";
    SendMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(h, 102)), TRUE);
    EXPECT_EQ(GetFocus(), GetDlgItem(h, 102));
    SendMessageW(h, WM_NEXTDLGCTL, 1, FALSE);  // previous
    EXPECT_EQ(GetFocus(), GetDlgItem(h, 100)) << "the disabled edit is skipped";
    EXPECT_EQ(GetDlgItemInt(h, 100, nullptr, FALSE), 0u);
    SetDlgItemInt(h, 100, static_cast<UINT>(-12), TRUE);
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(h, 100, &ok, TRUE)), -12);
    EXPECT_TRUE(ok);
    SetDlgItemTextW(h, 100, u"12x");
    GetDlgItemInt(h, 100, &ok, TRUE);
    EXPECT_FALSE(ok);
    DestroyWindow(h);
}

TEST(DialogManager, ADialogThatEndsWhileItIsMadeIsNeverHandedToTheDriver) {
    ndtest::TestUiDriver ui;  // no dialog expected: showing one would fail the test
    auto bytes = ndtest::DialogBuilder(u"Working", 100, 40).bytes();
    auto selfClosing = [](HWND h, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            EndDialog(h, 42);
        }
        return FALSE;
    };
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, selfClosing, 0), 42);
}
