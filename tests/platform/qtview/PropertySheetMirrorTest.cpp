// A dialog holding a property sheet, as the feed settings dialog does: the
// sheet's tabs are a Qt tab bar, a click on a tab brings its page (made when
// first shown) to the front, and the pages' controls take typing.
#include "MirrorHarness.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CPropertySheet.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTest>

using nd::win32::UiStep;

namespace {

constexpr int kHostId = 610;
constexpr int kPageEdit = 2100;

class CTextPage : public CPropertyPage {
  public:
    CTextPage(int id, std::u16string title) : m_id(id) {
        ndtest::DialogBuilder b(std::move(title), 150, 80, WS_CHILD | DS_CONTROL);
        b.control(u"#0081", u"", kPageEdit + id, 5, 5, 100, 12, WS_TABSTOP);
        m_bytes = b.bytes();
        m_nIDHelp = static_cast<UINT>(id);
        InitModalIndirect(m_bytes.data());
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kPageEdit + m_id, m_strText); }
    CString m_strText;

  private:
    std::vector<BYTE> m_bytes;
    int m_id;
};

class CSheet : public CPropertySheet {
  public:
    CSheet() : CPropertySheet(u""), first(1, u"First"), second(2, u"Second") {
        AddPage(&first);
        AddPage(&second);
    }
    CTextPage first;
    CTextPage second;
};

class CHostDlg : public CDialog {
  public:
    CHostDlg() {
        ndtest::DialogBuilder b(u"Host", 200, 140);
        b.control(u"#0080", u"OK", IDOK, 140, 120, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
        m_bytes = b.bytes();
        m_nIDHelp = kHostId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
        sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
        return TRUE;
    }
    CSheet sheet;

  private:
    std::vector<BYTE> m_bytes;
};

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
