// Which Qt widget stands for a window: decided by the window's class and
// style alone, so that any dialog built from the standard controls shows
// without code of its own.
#pragma once

#include "win32/windows.h"

#include <string_view>

namespace nd::qtview {

enum class WidgetKind {
    TopLevel,    // a top-level window: a window of its own on the desktop
    Container,   // a child dialog (a property page) or an unknown class: paints its records
    PushButton,  // push and default push buttons
    CheckBox,    // two- and three-state check boxes
    RadioButton,
    GroupBox,
    OwnerDrawButton,  // drawn from the window's paint records
    Label,            // static text
    Frame,            // static rectangles and frames
    Line,             // etched horizontal or vertical lines
    Picture,          // a static bitmap or icon
    LineEdit,
    TextEdit,  // a multi-line edit
    ListBox,
    ComboBox,
    ListView,
    DateTimePicker,
    TabControl,
    Blank,  // a control with no face of its own (up-down, scroll bar, progress)
};

WidgetKind widgetKindFor(std::u16string_view className, DWORD style);
WidgetKind widgetKindOf(HWND window);
const char* widgetKindName(WidgetKind kind);

// Static text, frames, lines and group boxes take no clicks: a click falls
// through to whatever lies beneath, as on the system.
bool isDecoration(WidgetKind kind);

}  // namespace nd::qtview
