#include "qtview/ControlWidgets.h"

#include "qtview/PaintedWidgets.h"
#include "qtview/WindowFonts.h"
#include "qtview/WindowMirror.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

namespace nd::qtview {
namespace {

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

std::vector<int> selectedRows(QAbstractItemView* view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

SYSTEMTIME systemTime(const QDateTime& value) {
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(value.date().year());
    st.wMonth = static_cast<WORD>(value.date().month());
    st.wDay = static_cast<WORD>(value.date().day());
    st.wDayOfWeek = static_cast<WORD>(value.date().dayOfWeek() % 7);
    st.wHour = static_cast<WORD>(value.time().hour());
    st.wMinute = static_cast<WORD>(value.time().minute());
    st.wSecond = static_cast<WORD>(value.time().second());
    st.wMilliseconds = 0;
    return st;
}

// Windows ends lines with CR LF; Qt's text editor with LF.
std::u16string withCrLf(const QString& text) {
    std::u16string out;
    for (char16_t c : windowsText(text)) {
        if (c == u'\n') {
            out += u"\r\n";
        } else if (c != u'\r') {
            out.push_back(c);
        }
    }
    return out;
}

QWidget* makeButton(WidgetKind kind, HWND window, QWidget* parent, WindowMirror& mirror) {
    QAbstractButton* button = nullptr;
    switch (kind) {
        case WidgetKind::CheckBox:
            button = new QCheckBox(parent);
            break;
        case WidgetKind::RadioButton: {
            auto* radio = new QRadioButton(parent);
            radio->setAutoExclusive(false);  // the window system keeps the group
            button = radio;
            break;
        }
        case WidgetKind::OwnerDrawButton:
            button = new OwnerDrawnButton(window, parent);
            break;
        default: {
            auto* push = new QPushButton(parent);
            push->setAutoDefault(false);
            button = push;
            break;
        }
    }
    QObject::connect(button, &QAbstractButton::clicked, button, [window, &mirror] {
        mirror.userAction(window, [window] { return nd::win32::userClick(window); });
    });
    return button;
}

QWidget* makeEdit(WidgetKind kind, HWND window, QWidget* parent, WindowMirror& mirror) {
    if (kind == WidgetKind::LineEdit) {
        auto* edit = new QLineEdit(parent);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [window, &mirror](const QString& t) {
            mirror.userAction(window,
                              [window, t] { return nd::win32::userType(window, windowsText(t)); });
        });
        return edit;
    }
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [window, edit, &mirror] {
        std::u16string text = withCrLf(edit->toPlainText());
        if (text == nd::win32::windowText(window)) {
            return;
        }
        mirror.userAction(window, [window, text] { return nd::win32::userType(window, text); });
    });
    return edit;
}

QWidget* makeList(WidgetKind kind, HWND window, QWidget* parent, WindowMirror& mirror) {
    QAbstractItemView* view = nullptr;
    if (kind == WidgetKind::ListBox) {
        view = new QListWidget(parent);
    } else {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        tree->setAllColumnsShowFocus(true);
        view = tree;
    }
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [window, view, &mirror] {
                         std::vector<int> rows = selectedRows(view);
                         mirror.userAction(window, [window, rows] {
                             return nd::win32::userSelectRows(window, rows);
                         });
                     });
    // Row numbers are the window's: the view shows its rows unsorted.
    QObject::connect(
        view, &QAbstractItemView::doubleClicked, view, [window, &mirror](const QModelIndex& index) {
            int row = index.row();
            mirror.userAction(window,
                              [window, row] { return nd::win32::userDoubleClickRow(window, row); });
        });
    return view;
}

QWidget* makeCombo(HWND window, QWidget* parent, WindowMirror& mirror) {
    auto* combo = new QComboBox(parent);
    QObject::connect(combo, &QComboBox::activated, combo, [window, &mirror](int row) {
        mirror.userAction(window,
                          [window, row] { return nd::win32::userSelectRows(window, {row}); });
    });
    if ((styleOf(window) & 0x3) != CBS_DROPDOWNLIST) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(
            combo->lineEdit(), &QLineEdit::textEdited, combo, [window, &mirror](const QString& t) {
                mirror.userAction(
                    window, [window, t] { return nd::win32::userType(window, windowsText(t)); });
            });
    }
    return combo;
}

QWidget* makeDateTime(HWND window, QWidget* parent, WindowMirror& mirror) {
    auto* picker = new QDateTimeEdit(parent);
    bool timeOnly = (styleOf(window) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    picker->setDisplayFormat(timeOnly ? QStringLiteral("HH:mm:ss") : QStringLiteral("yyyy/MM/dd"));
    picker->setCalendarPopup(!timeOnly && !(styleOf(window) & DTS_UPDOWN));
    QObject::connect(
        picker, &QDateTimeEdit::dateTimeChanged, picker, [window, &mirror](const QDateTime& value) {
            SYSTEMTIME st = systemTime(value);
            mirror.userAction(window,
                              [window, st] { return nd::win32::userSetDateTime(window, st); });
        });
    return picker;
}

QWidget* makeTabs(HWND window, QWidget* parent, WindowMirror& mirror) {
    auto* tabs = new QTabBar(parent);
    tabs->setDrawBase(true);
    tabs->setExpanding(false);
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [window, &mirror](int index) {
        if (index < 0) {
            return;
        }
        mirror.userAction(window,
                          [window, index] { return nd::win32::userSelectTab(window, index); });
    });
    return tabs;
}

QWidget* makeStatic(WidgetKind kind, HWND window, QWidget* parent) {
    switch (kind) {
        case WidgetKind::GroupBox:
            return new QGroupBox(parent);
        case WidgetKind::Frame:
        case WidgetKind::Line:
            return new QFrame(parent);
        case WidgetKind::Label:
        case WidgetKind::Picture:
            return new QLabel(parent);
        default:
            return new PaintedSurface(window, parent);
    }
}

}  // namespace

QWidget* makeControlWidget(WidgetKind kind, HWND window, QWidget* parent, WindowMirror& mirror) {
    QWidget* widget = nullptr;
    switch (kind) {
        case WidgetKind::PushButton:
        case WidgetKind::CheckBox:
        case WidgetKind::RadioButton:
        case WidgetKind::OwnerDrawButton:
            widget = makeButton(kind, window, parent, mirror);
            break;
        case WidgetKind::LineEdit:
        case WidgetKind::TextEdit:
            widget = makeEdit(kind, window, parent, mirror);
            break;
        case WidgetKind::ListBox:
        case WidgetKind::ListView:
            widget = makeList(kind, window, parent, mirror);
            break;
        case WidgetKind::ComboBox:
            widget = makeCombo(window, parent, mirror);
            break;
        case WidgetKind::DateTimePicker:
            widget = makeDateTime(window, parent, mirror);
            break;
        case WidgetKind::TabControl:
            widget = makeTabs(window, parent, mirror);
            break;
        default:
            widget = makeStatic(kind, window, parent);
            break;
    }
    if (isDecoration(kind)) {
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget->setFocusPolicy(Qt::NoFocus);
    }
    return widget;
}

int shownHeight(WidgetKind kind, QWidget* widget, int windowHeight) {
    if (kind == WidgetKind::ComboBox || kind == WidgetKind::TabControl) {
        return std::min(windowHeight, widget->sizeHint().height());
    }
    return windowHeight;
}

}  // namespace nd::qtview
