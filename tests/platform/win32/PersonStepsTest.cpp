// Keys and mouse acts a person makes that the dialog manager and buttons
// answer: Shift+Tab, Space, the arrows in a radio group, a press and a
// release as two acts, and dragging a dialog's border.
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"
#include "win32/Dialog.h"
#include "win32/ScriptedDriver.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

std::vector<int> g_clicks;
std::vector<std::pair<int, int>> g_sizes;

INT_PTR proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        int id = LOWORD(wParam);
        g_clicks.push_back(id);
        if (id == IDCANCEL) {
            EndDialog(h, id);
        }
        return TRUE;
    }
    if (message == WM_SIZE) {
        g_sizes.emplace_back(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    }
    return FALSE;
}

constexpr DWORD kAutoRadio = 0x9;

std::vector<BYTE> radios(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
    ndtest::DialogBuilder b(u"Radios", 200, 100, style);
    b.control(u"#0080", u"A", 10, 5, 5, 50, 12, WS_TABSTOP | WS_GROUP | kAutoRadio)
        .control(u"#0080", u"B", 11, 5, 20, 50, 12, kAutoRadio)
        .control(u"#0080", u"C", 12, 5, 35, 50, 12, kAutoRadio | WS_DISABLED)
        .control(u"#0080", u"D", 13, 5, 50, 50, 12, kAutoRadio)
        .control(u"#0080", u"Go", 20, 100, 5, 50, 14, WS_TABSTOP | WS_GROUP)
        .control(u"#0080", u"Other", 21, 100, 30, 50, 14, WS_TABSTOP)
        .control(u"#0080", u"Cancel", IDCANCEL, 100, 80, 50, 14, WS_TABSTOP);
    return b.bytes();
}

int focused() {
    return GetDlgCtrlID(GetFocus());
}

}  // namespace

TEST(PersonSteps, ShiftTabWalksBackAndArrowsMoveInsideTheGroupSkippingDisabledOnes) {
    ndtest::TestUiDriver ui;
    auto bytes = radios();
    std::vector<int> focus;
    std::vector<UINT> checkedD;
    auto record = UiStep::run([&](HWND h) {
        focus.push_back(focused());
        checkedD.push_back(IsDlgButtonChecked(h, 13));
    });
    ui.expectDialog(0, {record, UiStep::press(VK_DOWN), record, UiStep::press(VK_DOWN), record,
                        UiStep::press(VK_DOWN), record, UiStep::press(VK_UP), record,
                        UiStep::press(VK_TAB, true), record, UiStep::press(VK_TAB, true), record,
                        UiStep::escape()});
    g_clicks.clear();
    DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0);
    EXPECT_EQ(focus, (std::vector<int>{10, 11, 13, 10, 13, IDCANCEL, 21}));
    EXPECT_EQ(checkedD, (std::vector<UINT>{0, 0, 1, 0, 1, 1, 1}));
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "Shift is let go after the press";
}

TEST(PersonSteps, SpacePressesTheFocusedButtonAndLetsGoOnRelease) {
    ndtest::TestUiDriver ui;
    auto bytes = radios();
    ui.expectDialog(0, {UiStep::press(VK_TAB), UiStep::run([](HWND) {
                            EXPECT_EQ(focused(), 20);
                        }),
                        UiStep::press(VK_SPACE), UiStep::escape()});
    g_clicks.clear();
    DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0);
    EXPECT_EQ(g_clicks, (std::vector<int>{20, IDCANCEL}));
}

TEST(PersonSteps, APressShowsUntilReleaseAndReleasingElsewhereClicksNothing) {
    ndtest::TestUiDriver ui;
    auto bytes = radios();
    auto pushed = [](HWND h, int id) {
        return (SendMessageW(GetDlgItem(h, id), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    };
    ui.expectDialog(0, {UiStep::mouseDown(20), UiStep::run([&](HWND h) {
                            EXPECT_TRUE(pushed(h, 20));
                            EXPECT_EQ(GetCapture(), GetDlgItem(h, 20));
                        }),
                        UiStep::mouseUp(21), UiStep::run([&](HWND h) {
                            EXPECT_FALSE(pushed(h, 20));
                            EXPECT_EQ(GetCapture(), nullptr);
                        }),
                        UiStep::mouseDown(21), UiStep::mouseUp(21), UiStep::escape()});
    g_clicks.clear();
    DialogBoxIndirectParamW(nullptr, bytes.data(), nullptr, proc, 0);
    EXPECT_EQ(g_clicks, (std::vector<int>{21, IDCANCEL}));
}

TEST(PersonSteps, OnlyADialogWithASizingBorderCanBeResized) {
    ndtest::TestUiDriver ui;
    auto fixed = radios();
    auto sizable = radios(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    ui.expectDialog(0, {UiStep::run([](HWND h) {
                            EXPECT_EQ(nd::win32::userResize(h, 300, 200),
                                      "the dialog cannot be resized");
                        }),
                        UiStep::escape()});
    DialogBoxIndirectParamW(nullptr, fixed.data(), nullptr, proc, 0);
    g_sizes.clear();
    ui.expectDialog(0, {UiStep::resize(300, 200), UiStep::run([](HWND h) {
                            RECT r;
                            GetWindowRect(h, &r);
                            EXPECT_EQ(r.right - r.left, 300);
                            EXPECT_EQ(r.bottom - r.top, 200);
                            EXPECT_EQ(nd::win32::userResize(h, 0, 200),
                                      "a dialog's size must be 1 to 16384 pixels");
                        }),
                        UiStep::escape()});
    DialogBoxIndirectParamW(nullptr, sizable.data(), nullptr, proc, 0);
    ASSERT_FALSE(g_sizes.empty());
    EXPECT_EQ(g_sizes.back(), std::make_pair(300, 200));
}
