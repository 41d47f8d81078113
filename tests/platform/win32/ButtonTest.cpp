#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

TEST(Button, AnAutoCheckBoxTogglesOnEachClickAndNotifies) {
    ndtest::ControlHarness h;
    HWND box = h.make(WC_BUTTON, BS_AUTOCHECKBOX, 10);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(h.notes,
              (std::vector<Note>{{WM_COMMAND, 10, BN_CLICKED}, {WM_COMMAND, 10, BN_CLICKED}}));
}

TEST(Button, AProgramSettingTheCheckIsSilentAndAPlainCheckBoxDoesNotToggleItself) {
    ndtest::ControlHarness h;
    HWND box = h.make(WC_BUTTON, BS_CHECKBOX, 10);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(h.notes.empty());
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "the owner decides";
    EXPECT_EQ(h.notes.size(), 1u);
    HWND push = h.make(WC_BUTTON, BS_PUSHBUTTON, 11);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), 0) << "push buttons have no check";
}

TEST(Button, AnAutoRadioButtonClearsTheOthersOfItsGroupOnly) {
    ndtest::ControlHarness h;
    HWND a = h.make(WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 1);
    HWND b = h.make(WC_BUTTON, BS_AUTORADIOBUTTON, 2);
    HWND plain = h.make(WC_BUTTON, BS_RADIOBUTTON, 3);
    HWND c = h.make(WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 4);  // the next group
    SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(c, BM_CLICK, 0, 0);
    SendMessageW(a, BM_CLICK, 0, 0);
    SendMessageW(b, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_CHECKED) << "not an auto radio button";
    EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
}

TEST(Button, AThreeStateBoxCyclesThroughItsStates) {
    ndtest::ControlHarness h;
    HWND box = h.make(WC_BUTTON, BS_AUTO3STATE, 5);
    std::vector<LRESULT> seen;
    for (int i = 0; i < 3; ++i) {
        SendMessageW(box, BM_CLICK, 0, 0);
        seen.push_back(SendMessageW(box, BM_GETCHECK, 0, 0));
    }
    EXPECT_EQ(seen, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
}

TEST(Button, DisabledButtonsAndGroupBoxesIgnoreClicks) {
    ndtest::ControlHarness h;
    HWND push = h.make(WC_BUTTON, BS_PUSHBUTTON | WS_DISABLED, 6);
    HWND group = h.make(WC_BUTTON, BS_GROUPBOX, 7);
    SendMessageW(push, BM_CLICK, 0, 0);
    SendMessageW(group, BM_CLICK, 0, 0);
    EXPECT_TRUE(h.notes.empty());
    EXPECT_EQ(nd::win32::userClick(push), "control 6 is disabled");
    EXPECT_EQ(nd::win32::userCheck(group, true), "control 7 is not a check box");
}

TEST(Button, UserCheckClicksOnlyWhenTheStateDiffers) {
    ndtest::ControlHarness h;
    HWND box = h.make(WC_BUTTON, BS_AUTOCHECKBOX, 8);
    EXPECT_EQ(nd::win32::userCheck(box, false), "");
    EXPECT_TRUE(h.notes.empty());
    EXPECT_EQ(nd::win32::userCheck(box, true), "");
    EXPECT_EQ(h.notes.size(), 1u);
    EXPECT_EQ(GetFocus(), box) << "a click takes the focus";
}
