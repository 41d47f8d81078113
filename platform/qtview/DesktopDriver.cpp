#include "qtview/DesktopDriver.h"

#include "qtview/WindowFonts.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/PathMapping.h"
#include "win32/WaitCursor.h"
#include "win32/Window.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace nd::qtview {
namespace {

// Real time reaches the virtual clock in small steps, so that a timer of
// the dialogs fires about when it would on the system.
constexpr int kClockTickMs = 10;

QWidget* windowOf(WindowMirror& mirror, HWND owner) {
    HWND h = owner;
    while (h && (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) {
        h = GetParent(h);
    }
    return mirror.widgetFor(h);
}

QString nativeStart(const std::u16string& windowsPath) {
    if (auto native = nd::win32::toNativePath(windowsPath)) {
        return QFile::decodeName(native->c_str());
    }
    return QDir::homePath();
}

}  // namespace

QString chooserFilter(const nd::win32::ChooserRequest& request) {
    bool save = request.kind == nd::win32::ChooserKind::SaveFile;
    QString filter;
    // 90: the sample icons, pictures too.
    if (request.fileKind == 2 || request.fileKind == 90) {
        filter = QStringLiteral("Images (*.png *.jpg *.jpeg *.gif *.bmp *.webp)");
    } else if (request.fileKind == 23 || (request.fileKind == 24 && save)) {
        filter = QStringLiteral("RSS files (*.rss *.rdf *.xml)");
    } else if (request.fileKind == 24) {
        filter = QStringLiteral(
            "Media (*.mp3 *.m4a *.m4b *.aac *.wav *.ogg *.oga *.flac *.mp4 *.m4v *.mov *.avi "
            "*.wmv *.mpg *.mpeg *.pdf)");
    }
    QString all = QStringLiteral("All files (*)");
    return filter.isEmpty() ? all : filter + QStringLiteral(";;") + all;
}

QPoint placeCentred(QSize size, QRect owner, QRect area) {
    QRect over = owner.isValid() ? owner : area;
    QPoint at(over.x() + (over.width() - size.width()) / 2,
              over.y() + (over.height() - size.height()) / 2);
    // Kept on the screen, its title bar first.
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    return at;
}

QString helpText(const nd::win32::HtmlHelpRequest& request) {
    QString text = QStringLiteral("Help was asked for; no help content is installed.\n\n");
    text += QStringLiteral("Help file: %1\n").arg(qtText(request.file));
    if (!request.topic.empty()) {
        text += QStringLiteral("Topic: %1").arg(qtText(request.topic));
    } else {
        text += QStringLiteral("Context: %1").arg(static_cast<qulonglong>(request.data));
    }
    return text;
}

DesktopDriver::DesktopDriver(WindowMirror& mirror) : m_mirror(mirror) {
    m_mirror.setInputListener([this] { endFinishedRuns(); });
    m_elapsed.start();
    m_clock.setInterval(kClockTickMs);
    QObject::connect(&m_clock, &QTimer::timeout, [this] { tick(); });
    m_clock.start();
    // The hourglass while the program works (pages revised after a rename):
    // the windows take no input then anyway.
    nd::win32::setWaitCursorListener([](bool waiting) {
        if (waiting) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    });
}

DesktopDriver::~DesktopDriver() {
    nd::win32::setWaitCursorListener(nullptr);
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    m_clock.stop();
    m_mirror.setInputListener(nullptr);
    delete m_help.data();
}

void DesktopDriver::tick() {
    qint64 ms = m_elapsed.restart();
    if (ms > 0) {
        nd::win32::advanceClock(static_cast<DWORD>(ms));
        m_mirror.flush();
        endFinishedRuns();
    }
}

void DesktopDriver::endFinishedRuns() {
    for (const auto& run : m_runs) {
        if (!IsWindow(run.dialog) || nd::win32::dialogEnded(run.dialog)) {
            run.loop->quit();
        }
    }
}

void DesktopDriver::dialogOpened(HWND dialog, int) {
    m_mirror.flush();
    QWidget* widget = m_mirror.widgetFor(dialog);
    if (!widget) {
        return;
    }
    QWidget* owner = windowOf(m_mirror, GetWindow(dialog, GW_OWNER));
    if (owner && !owner->isVisible()) {
        owner = nullptr;
    }
    // A dialog opens over the window it belongs to, one of its own
    // mid-screen, where a person looks; the window system keeps the place so
    // that the next dialog centres over this one.
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen && !GetPropW(dialog, nd::win32::kPlacedByProgram)) {
        QPoint at = placeCentred(widget->size(), owner ? owner->geometry() : QRect(),
                                 screen->availableGeometry());
        SetWindowPos(dialog, nullptr, at.x(), at.y(), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_mirror.flush();
    }
    widget->show();
    if (owner && owner->windowHandle() && widget->windowHandle()) {
        // The window manager keeps a dialog above the window it belongs to.
        widget->windowHandle()->setTransientParent(owner->windowHandle());
    }
    widget->raise();
    widget->activateWindow();
}

bool DesktopDriver::step(HWND dialog, int) {
    if (!IsWindow(dialog) || nd::win32::dialogEnded(dialog)) {
        return true;
    }
    QEventLoop loop;
    m_runs.push_back(ModalRun{dialog, &loop});
    m_mirror.flush();
    loop.exec();
    m_runs.pop_back();
    return true;
}

int DesktopDriver::messageBox(const nd::win32::MessageBoxRequest& request) {
    auto box = makeMessageBox(request, windowOf(m_mirror, request.owner));
    box->exec();
    return boxAnswer(box->standardButton(box->clickedButton()), request.style);
}

std::optional<std::u16string> DesktopDriver::choose(const nd::win32::ChooserRequest& request) {
    QWidget* parent = windowOf(m_mirror, request.owner);
    QString title = qtText(request.title);
    QString start = nativeStart(request.initialPath);
    QString chosen;
    // Qt's own chooser everywhere: a desktop portal may be missing or slow,
    // and this one keeps the kind's filter as given.
    const auto own = QFileDialog::DontUseNativeDialog;
    QString filter = chooserFilter(request);
    switch (request.kind) {
        case nd::win32::ChooserKind::OpenFile:
            chosen = QFileDialog::getOpenFileName(parent, title, start, filter, nullptr, own);
            break;
        case nd::win32::ChooserKind::SaveFile:
            chosen = QFileDialog::getSaveFileName(parent, title, start, filter, nullptr, own);
            break;
        case nd::win32::ChooserKind::Folder:
            chosen = QFileDialog::getExistingDirectory(parent, title, start,
                                                       QFileDialog::ShowDirsOnly | own);
            break;
    }
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return nd::win32::toWindowsPath(QFile::encodeName(chosen).toStdString());
}

void DesktopDriver::helpRequested(const nd::win32::HtmlHelpRequest& request) {
    if (!m_help) {
        m_help = new QWidget(nullptr, Qt::Window);
        m_help->setWindowTitle(QStringLiteral("Help"));
        auto* layout = new QVBoxLayout(m_help);
        m_helpText = new QLabel(m_help);
        m_helpText->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(m_helpText);
        auto* close = new QPushButton(QStringLiteral("Close"), m_help);
        QObject::connect(close, &QPushButton::clicked, m_help, &QWidget::hide);
        layout->addWidget(close, 0, Qt::AlignRight);
    }
    m_helpText->setText(helpText(request));
    m_help->show();
    m_help->raise();
}

}  // namespace nd::qtview
