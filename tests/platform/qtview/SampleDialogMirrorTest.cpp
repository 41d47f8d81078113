// The tests' sample dialog seen through the mirror: a widget of the right
// kind for every control, in its place and state; what a person does in the
// widgets reaches the dialog's handlers; what the program does reaches the
// widgets.
#include "MirrorHarness.h"
#include "mfc/SampleDialog.h"
#include "qtview/Pictures.h"
#include "support/TestUiDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using nd::qtview::WidgetKind;
using nd::win32::UiStep;

namespace {

class SampleDialogMirror : public ndtest::MirrorTest {
  protected:
    ndtest::TestUiDriver ui;
    sample::CSampleDlg dlg;
};

QStringList rowsOf(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

// Kinds and places of the widgets are checked on every module template.
TEST_F(SampleDialogMirror, TheWindowAndEveryControlsStateAreMirrored) {
    ui.expectDialog(
        sample::kTemplateId,
        {onQt([&](HWND h) {
             QWidget* top = mirror.widgetFor(h);
             RECT client;
             GetClientRect(h, &client);
             EXPECT_EQ(top->size(), QSize(client.right, client.bottom));
             EXPECT_EQ(top->windowTitle(), "Sample");
             EXPECT_TRUE(top->isVisible());
         }),
         onQt([&](HWND h) {
             auto* ok = widget<QPushButton>(h, IDOK);
             EXPECT_EQ(ok->text(), "OK");
             EXPECT_TRUE(ok->isDefault());
             EXPECT_FALSE(widget<QPushButton>(h, sample::kAdd)->isDefault());
             auto* flag = widget<QCheckBox>(h, sample::kFlag);
             EXPECT_EQ(flag->text(), "Flag");
             EXPECT_FALSE(flag->isChecked());
             EXPECT_EQ(rowsOf(widget<QListWidget>(h, sample::kList)),
                       QStringList({"Apple", "apricot", "banana", "pear"}));
             auto* combo = widget<QComboBox>(h, sample::kCombo);
             ASSERT_EQ(combo->count(), 3);
             EXPECT_EQ(combo->itemText(1), "mid");
             EXPECT_FALSE(combo->isEditable());
             auto* rows = widget<QTreeWidget>(h, sample::kRows);
             ASSERT_EQ(rows->topLevelItemCount(), 3);
             EXPECT_EQ(rows->headerItem()->text(1), "Date");
             EXPECT_EQ(rows->topLevelItem(2)->text(0), "row 2");
             EXPECT_EQ(rows->topLevelItem(2)->text(1), "today");
             EXPECT_EQ(widget<QDateTimeEdit>(h, sample::kDate)->date(), QDate(2024, 5, 1));
             EXPECT_EQ(widget<QDateTimeEdit>(h, sample::kDuration)->time(), QTime(0, 3, 25));
         }),
         UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(SampleDialogMirror, AClickOnAQtButtonRunsTheDialogsHandler) {
    ui.expectDialog(sample::kTemplateId,
                    {onQt([&](HWND h) {
                         QTest::mouseClick(widget<QPushButton>(h, sample::kAdd), Qt::LeftButton);
                         EXPECT_EQ(dlg.adds, 1);
                         QTest::mouseClick(widget<QCheckBox>(h, sample::kFlag), Qt::LeftButton);
                         EXPECT_EQ(IsDlgButtonChecked(h, sample::kFlag), BST_CHECKED);
                         EXPECT_TRUE(widget<QCheckBox>(h, sample::kFlag)->isChecked());
                     }),
                     onQt([&](HWND h) {
                         QTest::mouseClick(widget<QPushButton>(h, sample::kFinish), Qt::LeftButton);
                     })});
    EXPECT_EQ(dlg.DoModal(), 42);
}

TEST_F(SampleDialogMirror, TypingChangesTheWindowTextWithOneChangeNoticePerChange) {
    int before = 0;
    ui.expectDialog(sample::kTemplateId,
                    {onQt([&](HWND h) {
                         before = dlg.nameChanges;
                         QTest::keyClicks(widget<QLineEdit>(h, sample::kName), "Ann");
                         EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kName)), u"Ann");
                         EXPECT_EQ(dlg.nameChanges, before + 3);
                         // The number field refuses a letter; the widget shows what it kept.
                         widget<QLineEdit>(h, sample::kCount)->selectAll();
                         QTest::keyClicks(widget<QLineEdit>(h, sample::kCount), "4x2");
                         EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kCount)), u"42");
                         EXPECT_EQ(widget<QLineEdit>(h, sample::kCount)->text(), "42");
                         // A multi-line edit that wants Enter keeps its lines.
                         auto* notes = widget<QPlainTextEdit>(h, sample::kNotes);
                         notes->setFocus();
                         QTest::keyClicks(notes, "a");
                         QTest::keyClick(notes, Qt::Key_Return);
                         QTest::keyClicks(notes, "b");
                         EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, sample::kNotes)), u"a\r\nb");
                     }),
                     UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, CString(u"Ann"));
    EXPECT_EQ(dlg.m_nCount, 42);
    EXPECT_EQ(dlg.m_strNotes, CString(u"a\r\nb"));
}

TEST_F(SampleDialogMirror, SelectingQtRowsReachesTheDialogAsASelectionChange) {
    ui.expectDialog(
        sample::kTemplateId,
        {onQt([&](HWND h) {
             auto* list = widget<QListWidget>(h, sample::kList);
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->item(2)).center());
             EXPECT_GT(SendDlgItemMessageW(h, sample::kList, LB_GETSEL, 2, 0), 0);
             EXPECT_GE(dlg.listChanges, 1);
             auto* rows = widget<QTreeWidget>(h, sample::kRows);
             QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                               rows->visualItemRect(rows->topLevelItem(1)).center());
             EXPECT_EQ(SendDlgItemMessageW(h, sample::kRows, LVM_GETITEMSTATE, 1, LVIS_SELECTED),
                       static_cast<LRESULT>(LVIS_SELECTED));
             EXPECT_GE(dlg.rowChanges, 1);
             auto* combo = widget<QComboBox>(h, sample::kCombo);
             combo->setFocus();
             QTest::keyClick(combo, Qt::Key_Down);
             EXPECT_EQ(SendDlgItemMessageW(h, sample::kCombo, CB_GETCURSEL, 0, 0),
                       combo->currentIndex());
             EXPECT_GE(dlg.comboChanges, 1);
             auto* date = widget<QDateTimeEdit>(h, sample::kDate);
             date->setDate(QDate(2025, 2, 3));  // as the calendar does when a day is picked
             EXPECT_GE(dlg.dateChanges, 1);
         }),
         UiStep::click(IDOK)});
    dlg.m_strName = u"x";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_date, CTime(2025, 2, 3, 0, 0, 0));
}

TEST_F(SampleDialogMirror, ChangesMadeByTheProgramReachTheWidgets) {
    ui.expectDialog(
        sample::kTemplateId,
        {UiStep::run([&](HWND h) {
             SetDlgItemTextW(h, sample::kName, u"Bob");
             dlg.m_list.AddString(u"kiwi");
             EnableWindow(GetDlgItem(h, sample::kAdd), FALSE);
             CheckDlgButton(h, sample::kFlag, BST_CHECKED);
             dlg.m_rows.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
             dlg.m_rows.SetItemText(0, 1, u"tomorrow");
             ShowWindow(GetDlgItem(h, sample::kFinish), SW_HIDE);
             MoveWindow(GetDlgItem(h, sample::kCount), 200, 150, 50, 20, TRUE);
             SetWindowTextW(h, u"Renamed");
         }),
         onQt([&](HWND h) {
             EXPECT_EQ(widget<QLineEdit>(h, sample::kName)->text(), "Bob");
             EXPECT_TRUE(rowsOf(widget<QListWidget>(h, sample::kList)).contains("kiwi"));
             EXPECT_FALSE(widget<QPushButton>(h, sample::kAdd)->isEnabled());
             EXPECT_TRUE(widget<QCheckBox>(h, sample::kFlag)->isChecked());
             auto* rows = widget<QTreeWidget>(h, sample::kRows);
             EXPECT_TRUE(rows->topLevelItem(1)->isSelected());
             EXPECT_EQ(rows->topLevelItem(0)->text(1), "tomorrow");
             EXPECT_FALSE(widget<QPushButton>(h, sample::kFinish)->isVisible());
             EXPECT_EQ(widget<QLineEdit>(h, sample::kCount)->geometry(), QRect(200, 150, 50, 20));
             EXPECT_EQ(mirror.widgetFor(h)->windowTitle(), "Renamed");
             HWND add = GetDlgItem(h, sample::kAdd);
             DestroyWindow(add);
             EXPECT_EQ(mirror.widgetFor(add), nullptr);
         }),
         UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(SampleDialogMirror, EscInQtCancelsAndEnterPressesTheDefaultButton) {
    ui.expectDialog(sample::kTemplateId, {onQt([&](HWND h) {
                        QTest::keyClick(widget<QLineEdit>(h, sample::kName), Qt::Key_Escape);
                    })});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    sample::CSampleDlg second;
    ui.expectDialog(sample::kTemplateId, {onQt([&](HWND h) {
                        auto* name = widget<QLineEdit>(h, sample::kName);
                        QTest::keyClicks(name, "Eve");
                        QTest::keyClick(name, Qt::Key_Return);
                    })});
    EXPECT_EQ(second.DoModal(), IDOK);
    EXPECT_EQ(second.m_strName, CString(u"Eve"));
}

TEST_F(SampleDialogMirror, TabInQtMovesTheWindowSystemsFocus) {
    ui.expectDialog(sample::kTemplateId,
                    {onQt([&](HWND h) {
                         SetFocus(GetDlgItem(h, sample::kName));
                         QTest::keyClick(widget<QLineEdit>(h, sample::kName), Qt::Key_Tab);
                         EXPECT_EQ(GetFocus(), GetDlgItem(h, sample::kCount));
                         QTest::keyClick(widget<QLineEdit>(h, sample::kCount), Qt::Key_Backtab);
                         EXPECT_EQ(GetFocus(), GetDlgItem(h, sample::kName));
                     }),
                     UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(SampleDialogMirror, F1AsksForHelpAndMouseMovesReachTheDialog) {
    ui.expectDialog(sample::kTemplateId,
                    {onQt([&](HWND h) {
                         QTest::keyClick(widget<QLineEdit>(h, sample::kName), Qt::Key_F1);
                         ASSERT_EQ(dlg.helpCalls.size(), 1u);
                         QWidget* top = mirror.widgetFor(h);
                         QPoint at(150, 130);
                         QMouseEvent move(QEvent::MouseMove, at, top->mapToGlobal(at), Qt::NoButton,
                                          Qt::NoButton, Qt::NoModifier);
                         QApplication::sendEvent(top, &move);
                         EXPECT_GE(dlg.mouseMoves, 1);
                         POINT cursor;
                         GetCursorPos(&cursor);
                         ScreenToClient(h, &cursor);
                         EXPECT_EQ(cursor.x, 150);
                         EXPECT_EQ(cursor.y, 130);
                     }),
                     UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(SampleDialogMirror, ThePictureShowsWhatTheDialogPainted) {
    ui.expectDialog(sample::kTemplateId,
                    {onQt([&](HWND h) {
                         QImage picture = nd::qtview::pictureOf(mirror, h);
                         RECT client;
                         GetClientRect(h, &client);
                         ASSERT_EQ(picture.size(), QSize(client.right, client.bottom));
                         // Inside the rounded rectangle the dialog paints, clear of controls.
                         QPoint inside(4, 35);
                         for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                             ASSERT_FALSE(ndtest::rectInParent(c).contains(inside));
                         }
                         EXPECT_EQ(QColor(picture.pixel(inside)), QColor(40, 50, 60));
                         // Its own background brush, below the last row of buttons.
                         EXPECT_EQ(QColor(picture.pixel(2, client.bottom - 2)), QColor(1, 2, 3));
                         EXPECT_GT(ndtest::colourCount(picture), 10);
                     }),
                     UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace
