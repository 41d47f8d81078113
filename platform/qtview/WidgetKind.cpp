#include "qtview/WidgetKind.h"

#include "win32/Window.h"

#include <unicode/uchar.h>

#include <string>

namespace nd::qtview {
namespace {

bool sameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (u_foldCase(a[i], U_FOLD_CASE_DEFAULT) != u_foldCase(b[i], U_FOLD_CASE_DEFAULT)) {
            return false;
        }
    }
    return true;
}

WidgetKind buttonKind(DWORD style) {
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return WidgetKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return WidgetKind::RadioButton;
        case BS_GROUPBOX:
            return WidgetKind::GroupBox;
        case BS_OWNERDRAW:
            return WidgetKind::OwnerDrawButton;
        default:
            return WidgetKind::PushButton;
    }
}

WidgetKind staticKind(DWORD style) {
    switch (style & SS_TYPEMASK) {
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT:
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
        case SS_ETCHEDFRAME:
            return WidgetKind::Frame;
        case SS_ETCHEDHORZ:
        case SS_ETCHEDVERT:
            return WidgetKind::Line;
        case SS_BITMAP:
        case SS_ICON:
            return WidgetKind::Picture;
        case SS_OWNERDRAW:
            return WidgetKind::Container;
        default:
            return WidgetKind::Label;
    }
}

}  // namespace

WidgetKind widgetKindFor(std::u16string_view cls, DWORD style) {
    if (!(style & WS_CHILD)) {
        return WidgetKind::TopLevel;
    }
    if (sameName(cls, WC_BUTTON)) {
        return buttonKind(style);
    }
    if (sameName(cls, WC_STATIC)) {
        return staticKind(style);
    }
    if (sameName(cls, WC_EDIT)) {
        return (style & ES_MULTILINE) ? WidgetKind::TextEdit : WidgetKind::LineEdit;
    }
    if (sameName(cls, WC_LISTBOX)) {
        return WidgetKind::ListBox;
    }
    if (sameName(cls, WC_COMBOBOX)) {
        return WidgetKind::ComboBox;
    }
    if (sameName(cls, WC_LISTVIEW)) {
        return WidgetKind::ListView;
    }
    if (sameName(cls, DATETIMEPICK_CLASS)) {
        return WidgetKind::DateTimePicker;
    }
    if (sameName(cls, WC_TABCONTROL)) {
        return WidgetKind::TabControl;
    }
    if (sameName(cls, UPDOWN_CLASS) || sameName(cls, u"ScrollBar") ||
        sameName(cls, u"msctls_progress32")) {
        return WidgetKind::Blank;
    }
    // Child dialogs and classes registered by the program paint themselves.
    return WidgetKind::Container;
}

WidgetKind widgetKindOf(HWND window) {
    return widgetKindFor(nd::win32::className(window),
                         static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)));
}

const char* widgetKindName(WidgetKind kind) {
    switch (kind) {
        case WidgetKind::TopLevel:
            return "top-level window";
        case WidgetKind::Container:
            return "container";
        case WidgetKind::PushButton:
            return "push button";
        case WidgetKind::CheckBox:
            return "check box";
        case WidgetKind::RadioButton:
            return "radio button";
        case WidgetKind::GroupBox:
            return "group box";
        case WidgetKind::OwnerDrawButton:
            return "owner-drawn button";
        case WidgetKind::Label:
            return "label";
        case WidgetKind::Frame:
            return "frame";
        case WidgetKind::Line:
            return "line";
        case WidgetKind::Picture:
            return "picture";
        case WidgetKind::LineEdit:
            return "line edit";
        case WidgetKind::TextEdit:
            return "text edit";
        case WidgetKind::ListBox:
            return "list box";
        case WidgetKind::ComboBox:
            return "combo box";
        case WidgetKind::ListView:
            return "list view";
        case WidgetKind::DateTimePicker:
            return "date-time picker";
        case WidgetKind::TabControl:
            return "tab control";
        case WidgetKind::Blank:
            return "blank";
    }
    return "unknown";
}

bool isDecoration(WidgetKind kind) {
    return kind == WidgetKind::Label || kind == WidgetKind::Frame || kind == WidgetKind::Line ||
           kind == WidgetKind::GroupBox || kind == WidgetKind::Picture;
}

}  // namespace nd::qtview
