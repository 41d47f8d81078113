// A dialog holding a property sheet, as the feed settings dialog does: the
// sheet's tabs are a Qt tab bar, a click on a tab brings its page (made when
// first shown) to the front, and the pages' controls take typing.
#include "MirrorHarness.h"
#include "mfc/SheetDialog.h"
#include "support/TestUiDriver.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTest>

using nd::win32::UiStep;

namespace {

using sheet::CHostDlg;
using sheet::CTextPage;
using sheet::kHostId;
using sheet::kPageEdit;

class SheetMirror : public ndtest::MirrorTest {
  protected:
    ndtest::TestUiDriver ui;
    CHostDlg dlg;

    QTabBar* tabs() {
        mirror.flush();
        return qobject_cast<QTabBar*>(mirror.widgetFor(dlg.sheet.GetTabControl()->m_hWnd));
    }
    QLineEdit* pageEdit(CTextPage& page, int id) {
        mirror.flush();
        return qobject_cast<QLineEdit*>(mirror.widgetFor(GetDlgItem(page.m_hWnd, kPageEdit + id)));
    }
};

TEST_F(SheetMirror, AClickOnATabBringsItsPageToTheFront) {
    ui.expectDialog(
        kHostId, {onQt([&](HWND) {
                      QTabBar* bar = tabs();
                      ASSERT_NE(bar, nullptr);
                      ASSERT_EQ(bar->count(), 2);
                      EXPECT_EQ(bar->tabText(1), "Second");
                      EXPECT_EQ(bar->currentIndex(), 0);
                      ASSERT_NE(pageEdit(dlg.sheet.first, 1), nullptr);
                      EXPECT_TRUE(mirror.widgetFor(dlg.sheet.first.m_hWnd)->isVisible());
                      QTest::keyClicks(pageEdit(dlg.sheet.first, 1), "one");
                      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
                      EXPECT_EQ(dlg.sheet.GetActiveIndex(), 1);
                      ASSERT_NE(dlg.sheet.second.m_hWnd, nullptr);
                      EXPECT_FALSE(mirror.widgetFor(dlg.sheet.first.m_hWnd)->isVisible());
                      EXPECT_TRUE(mirror.widgetFor(dlg.sheet.second.m_hWnd)->isVisible());
                      ASSERT_NE(pageEdit(dlg.sheet.second, 2), nullptr);
                      QTest::keyClicks(pageEdit(dlg.sheet.second, 2), "two");
                      EXPECT_EQ(
                          nd::win32::windowText(GetDlgItem(dlg.sheet.second.m_hWnd, kPageEdit + 2)),
                          u"two");
                  }),
                  UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.sheet.first.m_strText, u"one") << "leaving a page saves it";
}

TEST_F(SheetMirror, AProgramsPageSwitchMovesTheQtTab) {
    ui.expectDialog(kHostId,
                    {UiStep::run([&](HWND) { dlg.sheet.SetActivePage(1); }), onQt([&](HWND) {
                         EXPECT_EQ(tabs()->currentIndex(), 1);
                         EXPECT_TRUE(mirror.widgetFor(dlg.sheet.second.m_hWnd)->isVisible());
                     }),
                     UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
