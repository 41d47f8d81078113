// Bringing each kind of widget in step with its window.
#include "qtview/ControlWidgets.h"
#include "qtview/WindowFonts.h"
#include "win32/Gdi.h"
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
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidget>

#include <vector>

namespace nd::qtview {
namespace {

constexpr DWORD kNoPrefix = 0x80;          // SS_NOPREFIX
constexpr DWORD kNoColumnHeader = 0x4000;  // LVS_NOCOLUMNHEADER
constexpr DWORD kLeftNoWordWrap = SS_LEFTNOWORDWRAP;

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

QString textOf(HWND window) {
    return qtText(nd::win32::windowText(window));
}

// Rows of a list box or combo box, read with its own messages.
QStringList rowTexts(HWND window, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    QStringList rows;
    LRESULT count = SendMessageW(window, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(i), 0);
        std::u16string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
        SendMessageW(window, textMessage, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::char_traits<char16_t>::length(text.c_str()));
        rows << qtText(text);
    }
    return rows;
}

std::u16string listViewText(HWND window, int row, int column) {
    std::u16string buffer(1024, u'\0');
    LVITEMW item;
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    LRESULT n = SendMessageW(window, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&item));
    buffer.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
    return buffer;
}

void syncButton(WidgetKind kind, HWND window, QWidget* widget) {
    auto* button = static_cast<QAbstractButton*>(widget);
    if (kind != WidgetKind::OwnerDrawButton) {
        button->setText(textOf(window));
    }
    DWORD type = styleOf(window) & BS_TYPEMASK;
    auto check = SendMessageW(window, BM_GETCHECK, 0, 0);
    if (kind == WidgetKind::CheckBox) {
        auto* box = static_cast<QCheckBox*>(widget);
        box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        box->setCheckState(check == BST_CHECKED         ? Qt::Checked
                           : check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                        : Qt::Unchecked);
    } else if (kind == WidgetKind::RadioButton) {
        button->setChecked(check == BST_CHECKED);
    } else if (kind == WidgetKind::PushButton) {
        static_cast<QPushButton*>(widget)->setDefault(type == BS_DEFPUSHBUTTON);
    }
    widget->update();
}

void syncLabel(HWND window, QLabel* label) {
    DWORD style = styleOf(window);
    std::u16string text = nd::win32::windowText(window);
    label->setText((style & kNoPrefix) ? qtText(text) : withoutMnemonics(text));
    DWORD type = style & SS_TYPEMASK;
    Qt::Alignment align = type == SS_CENTER  ? Qt::AlignHCenter
                          : type == SS_RIGHT ? Qt::AlignRight
                                             : Qt::AlignLeft;
    align |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    label->setAlignment(align);
    label->setWordWrap(type != SS_SIMPLE && type != kLeftNoWordWrap);
    label->setFrameStyle((style & SS_SUNKEN) ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
}

void syncPicture(HWND window, QLabel* label) {
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    QImage image = bitmapImage(bitmap);
    label->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    label->setAlignment((styleOf(window) & SS_CENTERIMAGE) ? Qt::AlignCenter
                                                           : (Qt::AlignLeft | Qt::AlignTop));
}

void syncFrame(HWND window, QFrame* frame) {
    DWORD type = styleOf(window) & SS_TYPEMASK;
    frame->setAutoFillBackground(false);
    switch (type) {
        case SS_ETCHEDHORZ:
            frame->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            return;
        case SS_ETCHEDVERT:
            frame->setFrameStyle(QFrame::VLine | QFrame::Sunken);
            return;
        case SS_ETCHEDFRAME:
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            return;
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT: {
            QPalette palette = frame->palette();
            palette.setColor(QPalette::Window, type == SS_BLACKRECT  ? Qt::black
                                               : type == SS_GRAYRECT ? Qt::gray
                                                                     : Qt::white);
            frame->setPalette(palette);
            frame->setAutoFillBackground(true);
            frame->setFrameStyle(QFrame::NoFrame);
            return;
        }
        default:
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            return;
    }
}

void syncLineEdit(HWND window, QLineEdit* edit) {
    DWORD style = styleOf(window);
    QString text = textOf(window);
    if (edit->text() != text) {
        edit->setText(text);
    }
    // Each setter is left alone when nothing changed: some reset the
    // selection a person is typing over.
    bool readOnly = style & ES_READONLY;
    if (edit->isReadOnly() != readOnly) {
        edit->setReadOnly(readOnly);
    }
    auto echo = (style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal;
    if (edit->echoMode() != echo) {
        edit->setEchoMode(echo);
    }
    Qt::Alignment align = (style & ES_CENTER)  ? Qt::AlignHCenter
                          : (style & ES_RIGHT) ? Qt::AlignRight
                                               : Qt::AlignLeft;
    if ((edit->alignment() & Qt::AlignHorizontal_Mask) != align) {
        edit->setAlignment(align | Qt::AlignVCenter);
    }
}

void syncTextEdit(HWND window, QPlainTextEdit* edit) {
    DWORD style = styleOf(window);
    QString text = textOf(window);
    text.remove(QLatin1Char('\r'));
    if (edit->toPlainText() != text) {
        edit->setPlainText(text);
    }
    edit->setReadOnly(style & ES_READONLY);
    edit->setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                   : QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
}

void syncListBox(HWND window, QListWidget* list) {
    QSignalBlocker blockSelection(list->selectionModel());
    DWORD style = styleOf(window);
    bool multiple = style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
    list->setSelectionMode((style & LBS_MULTIPLESEL)   ? QAbstractItemView::MultiSelection
                           : (style & LBS_EXTENDEDSEL) ? QAbstractItemView::ExtendedSelection
                                                       : QAbstractItemView::SingleSelection);
    QStringList rows = rowTexts(window, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    bool same = list->count() == rows.size();
    for (int i = 0; same && i < rows.size(); ++i) {
        same = list->item(i)->text() == rows[i];
    }
    if (!same) {
        list->clear();
        list->addItems(rows);
    }
    LRESULT current = multiple ? LB_ERR : SendMessageW(window, LB_GETCURSEL, 0, 0);
    for (int i = 0; i < list->count(); ++i) {
        bool selected = multiple ? SendMessageW(window, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0
                                 : i == current;
        list->item(i)->setSelected(selected);
    }
}

void syncCombo(HWND window, QComboBox* combo) {
    QStringList rows = rowTexts(window, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    if (shown != rows) {
        combo->clear();
        combo->addItems(rows);
    }
    auto current = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
    // Set only when it moved: on a combo box with an edit field it would
    // also clear the text being typed.
    int shownRow = current >= 0 && current < combo->count() ? current : -1;
    if (combo->currentIndex() != shownRow) {
        combo->setCurrentIndex(shownRow);
    }
    if (combo->isEditable()) {
        QString text = textOf(window);
        if (combo->lineEdit()->text() != text) {
            combo->lineEdit()->setText(text);
        }
    }
}

void syncListView(HWND window, QTreeWidget* tree) {
    QSignalBlocker blockSelection(tree->selectionModel());
    DWORD style = styleOf(window);
    tree->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                   : QAbstractItemView::ExtendedSelection);
    QStringList headers;
    std::vector<int> widths;
    for (int c = 0;; ++c) {
        std::u16string buffer(256, u'\0');
        LVCOLUMNW column;
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer.data();
        column.cchTextMax = static_cast<int>(buffer.size());
        if (!SendMessageW(window, LVM_GETCOLUMNW, static_cast<WPARAM>(c),
                          reinterpret_cast<LPARAM>(&column))) {
            break;
        }
        buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
        headers << qtText(buffer);
        widths.push_back(column.cx);
    }
    bool report = (style & LVS_TYPEMASK) == LVS_REPORT;
    if (headers.isEmpty()) {
        headers << QString();
    }
    tree->setHeaderHidden(!report || (style & kNoColumnHeader));
    tree->setColumnCount(static_cast<int>(headers.size()));
    tree->setHeaderLabels(headers);
    for (size_t c = 0; c < widths.size(); ++c) {
        tree->setColumnWidth(static_cast<int>(c), widths[c]);
    }
    auto count = static_cast<int>(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0));
    while (tree->topLevelItemCount() > count) {
        delete tree->takeTopLevelItem(tree->topLevelItemCount() - 1);
    }
    while (tree->topLevelItemCount() < count) {
        tree->addTopLevelItem(new QTreeWidgetItem());
    }
    for (int row = 0; row < count; ++row) {
        QTreeWidgetItem* item = tree->topLevelItem(row);
        for (int c = 0; c < headers.size(); ++c) {
            QString text = qtText(listViewText(window, row, c));
            if (item->text(c) != text) {
                item->setText(c, text);
            }
        }
        bool selected =
            SendMessageW(window, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED;
        item->setSelected(selected);
    }
}

void syncDateTime(HWND window, QDateTimeEdit* picker) {
    SYSTEMTIME st;
    if (SendMessageW(window, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) {
        return;
    }
    QDateTime value(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute, st.wSecond));
    if (value.isValid() && picker->dateTime() != value) {
        picker->setDateTime(value);
    }
}

void syncTabs(HWND window, QTabBar* tabs) {
    auto count = static_cast<int>(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::u16string buffer(256, u'\0');
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
        QString text = qtText(buffer);
        if (i >= tabs->count()) {
            tabs->addTab(text);
        } else if (tabs->tabText(i) != text) {
            tabs->setTabText(i, text);
        }
    }
    while (tabs->count() > count) {
        tabs->removeTab(tabs->count() - 1);
    }
    auto current = static_cast<int>(SendMessageW(window, TCM_GETCURSEL, 0, 0));
    if (current >= 0 && current < tabs->count()) {
        tabs->setCurrentIndex(current);
    }
}

}  // namespace

void syncControlWidget(WidgetKind kind, HWND window, QWidget* widget) {
    QSignalBlocker block(widget);
    switch (kind) {
        case WidgetKind::PushButton:
        case WidgetKind::CheckBox:
        case WidgetKind::RadioButton:
        case WidgetKind::OwnerDrawButton:
            syncButton(kind, window, widget);
            break;
        case WidgetKind::GroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(textOf(window));
            break;
        case WidgetKind::Label:
            syncLabel(window, static_cast<QLabel*>(widget));
            break;
        case WidgetKind::Picture:
            syncPicture(window, static_cast<QLabel*>(widget));
            break;
        case WidgetKind::Frame:
        case WidgetKind::Line:
            syncFrame(window, static_cast<QFrame*>(widget));
            break;
        case WidgetKind::LineEdit:
            syncLineEdit(window, static_cast<QLineEdit*>(widget));
            break;
        case WidgetKind::TextEdit:
            syncTextEdit(window, static_cast<QPlainTextEdit*>(widget));
            break;
        case WidgetKind::ListBox:
            syncListBox(window, static_cast<QListWidget*>(widget));
            break;
        case WidgetKind::ComboBox:
            syncCombo(window, static_cast<QComboBox*>(widget));
            break;
        case WidgetKind::ListView:
            syncListView(window, static_cast<QTreeWidget*>(widget));
            break;
        case WidgetKind::DateTimePicker:
            syncDateTime(window, static_cast<QDateTimeEdit*>(widget));
            break;
        case WidgetKind::TabControl:
            syncTabs(window, static_cast<QTabBar*>(widget));
            break;
        case WidgetKind::TopLevel:
            widget->setWindowTitle(textOf(window));
            widget->update();
            break;
        case WidgetKind::Container:
        case WidgetKind::Blank:
            widget->update();
            break;
    }
}

}  // namespace nd::qtview
