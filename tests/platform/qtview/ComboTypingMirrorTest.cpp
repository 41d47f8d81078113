// Keys typed into a combo box's edit field through its widget reach the
// window system as typing does in an edit: the control's text and its
// notifications to the dialog, with the field left as typed.
#include "MirrorHarness.h"
#include "win32/CommCtrl.h"
#include "win32/ControlHarness.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

namespace {

class ComboTyping : public ndtest::MirrorTest {};

TEST_F(ComboTyping, KeysInTheFieldReachTheControlAsItsOwnNotifications) {
    ndtest::ControlHarness h;
    HWND combo = h.make(WC_COMBOBOX, WS_VISIBLE | CBS_DROPDOWN, 45);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Talk"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    auto* box = widget<QComboBox>(h.parent(), 45);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isEditable());
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "Radio");
    mirror.flush();
    EXPECT_EQ(nd::win32::windowText(combo), u"Radio");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(
        std::count(h.notes.begin(), h.notes.end(), ndtest::Note{WM_COMMAND, 45, CBN_EDITCHANGE}),
        5);
    EXPECT_EQ(box->lineEdit()->text(), "Radio");
}

}  // namespace
