// Real windows: a modal run is a Qt event loop that ends with EndDialog;
// message boxes, choosers and help are Qt windows; the dialogs' timers run
// on real time. A "person" here is code acting on the widgets from inside
// the running loop.
#include "MirrorHarness.h"
#include "TempDir.h"
#include "mfc/SampleDialog.h"
#include "qtview/DesktopDriver.h"
#include "support/DialogBuilder.h"
#include "win32/HtmlHelp.h"
#include "win32/PathMapping.h"
#include "win32/UiDriver.h"
#include "win32/WaitCursor.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

class DesktopRun : public ndtest::MirrorTest {
  protected:
    nd::qtview::DesktopDriver desktop{mirror};
    nd::win32::UiDriver* previous = nd::win32::setUiDriver(&desktop);
    QTimer person;
    QDeadlineTimer deadline{10000};
    bool queued = false;
    bool timedOut = false;

    ~DesktopRun() override { nd::win32::setUiDriver(previous); }

    // Runs `act` every few milliseconds inside whatever loop is running,
    // until it answers true; after ten seconds a stuck run is cancelled.
    // Each act is queued rather than run from the timer: an act that opens
    // a message box blocks in its loop, and the next act must still come.
    void whileRunning(std::function<bool()> act) {
        person.setInterval(5);
        QObject::connect(&person, &QTimer::timeout, [this, act] {
            if (deadline.hasExpired()) {
                // Keeps closing whatever is open until the run is over.
                if (!timedOut) {
                    ADD_FAILURE() << "the dialog did not do what was expected in time";
                }
                timedOut = true;
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    modal->close();
                }
                for (HWND h : nd::win32::topLevelWindows()) {
                    PostMessageW(h, WM_CLOSE, 0, 0);
                }
                return;
            }
            if (queued) {
                return;
            }
            queued = true;
            QMetaObject::invokeMethod(
                &person,
                [this, act] {
                    queued = false;
                    if (person.isActive() && act()) {
                        person.stop();
                    }
                },
                Qt::QueuedConnection);
        });
        person.start();
    }

    // The dialog running now (a nested one over its owner).
    QWidget* dialogWidget() { return mirror.widgetFor(GetActiveWindow()); }

    template <typename W>
    W* control(int id) {
        QWidget* top = dialogWidget();
        HWND h = top ? mirror.windowFor(top) : nullptr;
        return h ? qobject_cast<W*>(mirror.widgetFor(GetDlgItem(h, id))) : nullptr;
    }
};

TEST_F(DesktopRun, DoModalRunsAQtLoopUntilOkIsPressed) {
    sample::CSampleDlg dlg;
    whileRunning([&] {
        auto* name = control<QLineEdit>(sample::kName);
        auto* ok = control<QPushButton>(IDOK);
        if (!name || !ok || !dialogWidget()->isVisible()) {
            return false;
        }
        QTest::keyClicks(name, "Ann");
        QTest::mouseClick(ok, Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, CString(u"Ann"));
}

// A dialog whose button runs another dialog, as an editor opens an item.
class COuterDlg : public CDialog {
  public:
    static constexpr int kOpen = 1200;
    COuterDlg() {
        ndtest::DialogBuilder b(u"Outer", 120, 60);
        b.control(u"#0080", u"Open", kOpen, 5, 5, 50, 14, WS_TABSTOP)
            .control(u"#0080", u"OK", IDOK, 65, 40, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
        m_bytes = b.bytes();
        m_nIDHelp = 620;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == kOpen && HIWORD(wParam) == BN_CLICKED) {
            sample::CSampleDlg inner;
            innerResult = inner.DoModal();
            innerName = inner.m_strName;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    INT_PTR innerResult = 0;
    CString innerName;

  private:
    std::vector<BYTE> m_bytes;
};

TEST_F(DesktopRun, ADialogOpenedFromAClickRunsItsOwnLoopAndReturnsToTheFirst) {
    COuterDlg outer;
    int stage = 0;
    whileRunning([&] {
        QWidget* top = dialogWidget();
        if (!top) {
            return false;
        }
        HWND h = mirror.windowFor(top);
        if (stage == 0 && nd::win32::windowText(h) == u"Outer") {
            stage = 1;
            // Blocks in the inner dialog's loop; the next acts run inside it.
            QTest::mouseClick(control<QPushButton>(COuterDlg::kOpen), Qt::LeftButton);
            return false;
        }
        if (stage == 1 && nd::win32::windowText(h) == u"Sample") {
            stage = 2;
            EXPECT_FALSE(IsWindowEnabled(outer.m_hWnd)) << "the owner waits";
            QTest::keyClicks(control<QLineEdit>(sample::kName), "Ann");
            QTest::mouseClick(control<QPushButton>(IDOK), Qt::LeftButton);
            return false;
        }
        if (stage == 2 && nd::win32::windowText(h) == u"Outer" && IsWindowEnabled(h)) {
            QTest::mouseClick(control<QPushButton>(IDOK), Qt::LeftButton);
            return true;
        }
        return false;
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.innerResult, IDOK);
    EXPECT_EQ(outer.innerName, CString(u"Ann"));
}

// Ends with Esc in the window, which cancels the run.
TEST_F(DesktopRun, AMessageBoxIsAQMessageBoxWithTheBoxsButtonsIconAndText) {
    sample::CSampleDlg dlg;
    bool sawBox = false;
    whileRunning([&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(box->text(), "A name is required.");
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            sawBox = true;
            box->button(QMessageBox::Ok)->click();
            return false;
        }
        if (sawBox) {
            if (auto* name = control<QLineEdit>(sample::kName)) {
                QTest::keyClick(name, Qt::Key_Escape);
                return true;
            }
            return false;
        }
        if (auto* ok = control<QPushButton>(IDOK)) {
            QTest::mouseClick(ok, Qt::LeftButton);  // no name yet: the dialog complains
        }
        return false;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(sawBox);
}

TEST_F(DesktopRun, TheDefaultButtonOfABoxIsTheOneItsStyleNames) {
    struct Case {
        UINT style;
        QMessageBox::StandardButton enter;
    } cases[] = {
        {MB_YESNO, QMessageBox::Yes},
        {MB_YESNO | MB_DEFBUTTON2, QMessageBox::No},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, QMessageBox::Cancel},
        {MB_OKCANCEL | MB_DEFBUTTON2, QMessageBox::Cancel},
    };
    for (const auto& c : cases) {
        nd::win32::MessageBoxRequest request;
        request.style = c.style;
        auto box = nd::qtview::makeMessageBox(request, nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(c.enter)) << c.style;
    }
}

TEST_F(DesktopRun, TheWaitCursorShowsWhileTheProgramWorks) {
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    nd::win32::beginWaitCursor();
    nd::win32::beginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    nd::win32::endWaitCursor();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "the outer wait goes on";
    nd::win32::endWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopRun, TheDialogsTimersRunOnRealTime) {
    sample::CSampleDlg dlg;
    whileRunning([&] {
        if (dlg.timerTicks == 0) {
            return false;
        }
        if (auto* finish = control<QPushButton>(sample::kFinish)) {
            QTest::mouseClick(finish, Qt::LeftButton);
            return true;
        }
        return false;
    });
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_GE(dlg.timerTicks, 1);
}

TEST_F(DesktopRun, AChooserIsAQFileDialogWithTheKindsFilterAndAnswersAWindowsPath) {
    nd::win32::ChooserRequest request;
    request.kind = nd::win32::ChooserKind::OpenFile;
    request.fileKind = 2;
    TempDir dir;
    std::filesystem::path file = dir.path() / "picture.png";
    std::ofstream(file) << "png";
    request.initialPath = *nd::win32::toWindowsPath(dir.path().string());
    QStringList filters;
    bool typed = false;
    whileRunning([&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser) {
            return typed;  // the chooser has closed
        }
        filters = chooser->nameFilters();
        auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = chooser->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (!name || !buttons || !buttons->button(QDialogButtonBox::Open)) {
            return false;
        }
        QTest::keyClicks(name, QString::fromStdString(file.string()));
        typed = true;
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
        return false;
    });
    auto chosen = nd::win32::choosePath(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, *nd::win32::toWindowsPath(file.string()));
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_TRUE(filters.front().startsWith("Images")) << filters.front().toStdString();
}

TEST_F(DesktopRun, AHelpRequestShowsItsTopicInASmallWindow) {
    HtmlHelpW(nullptr, u"lum.chm", HH_DISPLAY_TOPIC,
              reinterpret_cast<DWORD_PTR>(u"lumpage/prc/proc_create_podcast.htm"));
    ASSERT_NE(desktop.helpWindow(), nullptr);
    EXPECT_TRUE(desktop.helpWindow()->isVisible());
    auto* text = desktop.helpWindow()->findChild<QLabel*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains("lumpage/prc/proc_create_podcast.htm"));
    EXPECT_TRUE(text->text().contains("lum.chm"));
    HtmlHelpW(nullptr, u"lum.chm", HH_HELP_CONTEXT, 0x20000 + 11902);
    EXPECT_TRUE(text->text().contains(QString::number(0x20000 + 11902)));
    nd::win32::clearHtmlHelpRequests();
}

TEST(DesktopDriverParts, BoxesAnswerWithTheirOwnButtonsAndClosingIsLikeEsc) {
    using nd::qtview::boxAnswer;
    EXPECT_EQ(nd::qtview::boxButtons(MB_YESNOCANCEL),
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(nd::qtview::boxIcon(MB_ICONQUESTION), QMessageBox::Question);
    EXPECT_EQ(boxAnswer(QMessageBox::Yes, MB_YESNO), IDYES);
    EXPECT_EQ(boxAnswer(QMessageBox::Retry, MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(boxAnswer(QMessageBox::NoButton, MB_YESNO), IDNO);
    EXPECT_EQ(boxAnswer(QMessageBox::NoButton, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(boxAnswer(QMessageBox::NoButton, MB_OK), IDOK);
}

TEST(DesktopDriverParts, DialogsOpenCentredOverTheirOwnerAndStayOnTheScreen) {
    const QRect screen(0, 0, 1280, 1024);
    struct Case {
        QSize size;
        QRect owner;
        QPoint at;
    } cases[] = {
        {{400, 300}, {}, {440, 362}},                     // no owner: mid-screen
        {{200, 100}, {100, 100, 600, 400}, {300, 250}},   // over the owner
        {{400, 300}, {1000, 900, 300, 200}, {880, 724}},  // owner at a corner: kept inside
        {{1500, 1100}, {100, 100, 600, 400}, {0, 0}},     // too big: its title bar shows
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nd::qtview::placeCentred(c.size, c.owner, screen), c.at)
            << c.owner.x() << "," << c.owner.y();
    }
}

}  // namespace
