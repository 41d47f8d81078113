// Every window gets its widget from its class and style alone.
#include "qtview/WidgetKind.h"

#include <gtest/gtest.h>

using nd::qtview::WidgetKind;
using nd::qtview::widgetKindFor;

TEST(WidgetKind, ButtonsFollowTheirTypeBits) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_PUSHBUTTON), WidgetKind::PushButton);
    EXPECT_EQ(widgetKindFor(u"button", child | BS_DEFPUSHBUTTON), WidgetKind::PushButton);
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_AUTOCHECKBOX), WidgetKind::CheckBox);
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_AUTO3STATE), WidgetKind::CheckBox);
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_AUTORADIOBUTTON | WS_GROUP),
              WidgetKind::RadioButton);
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_GROUPBOX), WidgetKind::GroupBox);
    EXPECT_EQ(widgetKindFor(u"Button", child | BS_OWNERDRAW), WidgetKind::OwnerDrawButton);
}

TEST(WidgetKind, StaticsAreTextFramesLinesOrPictures) {
    const DWORD child = WS_CHILD;
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_LEFT), WidgetKind::Label);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_CENTER | SS_NOTIFY), WidgetKind::Label);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_BLACKFRAME), WidgetKind::Frame);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_GRAYRECT), WidgetKind::Frame);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_ETCHEDHORZ), WidgetKind::Line);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_BITMAP | SS_CENTERIMAGE), WidgetKind::Picture);
    EXPECT_EQ(widgetKindFor(u"Static", child | SS_OWNERDRAW), WidgetKind::Container);
}

TEST(WidgetKind, EditsListsAndCommonControls) {
    const DWORD child = WS_CHILD;
    EXPECT_EQ(widgetKindFor(u"Edit", child | ES_AUTOHSCROLL | ES_READONLY), WidgetKind::LineEdit);
    EXPECT_EQ(widgetKindFor(u"Edit", child | ES_MULTILINE), WidgetKind::TextEdit);
    EXPECT_EQ(widgetKindFor(u"ListBox", child | LBS_SORT), WidgetKind::ListBox);
    EXPECT_EQ(widgetKindFor(u"ComboBox", child | CBS_DROPDOWNLIST), WidgetKind::ComboBox);
    EXPECT_EQ(widgetKindFor(u"SysListView32", child | LVS_REPORT), WidgetKind::ListView);
    EXPECT_EQ(widgetKindFor(u"SysDateTimePick32", child | DTS_TIMEFORMAT),
              WidgetKind::DateTimePicker);
    EXPECT_EQ(widgetKindFor(u"SysTabControl32", child), WidgetKind::TabControl);
    EXPECT_EQ(widgetKindFor(u"msctls_updown32", child), WidgetKind::Blank);
}

TEST(WidgetKind, TopLevelWindowsChildDialogsAndProgramClasses) {
    EXPECT_EQ(widgetKindFor(u"#32770", WS_POPUP | WS_CAPTION), WidgetKind::TopLevel);
    EXPECT_EQ(widgetKindFor(u"Button", WS_POPUP), WidgetKind::TopLevel);
    EXPECT_EQ(widgetKindFor(u"#32770", WS_CHILD | DS_CONTROL), WidgetKind::Container);
    EXPECT_EQ(widgetKindFor(u"NavigatorArea", WS_CHILD), WidgetKind::Container);
}

TEST(WidgetKind, OnlyDecorationsLetClicksThrough) {
    EXPECT_TRUE(nd::qtview::isDecoration(WidgetKind::GroupBox));
    EXPECT_TRUE(nd::qtview::isDecoration(WidgetKind::Label));
    EXPECT_FALSE(nd::qtview::isDecoration(WidgetKind::PushButton));
    EXPECT_FALSE(nd::qtview::isDecoration(WidgetKind::Container));
}
