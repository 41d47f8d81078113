#include "qtview/DesktopDriver.h"

#include "qtview/WindowFonts.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/PathMapping.h"
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

QMessageBox::StandardButtons boxButtons(UINT style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_ABORTRETRYIGNORE:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case MB_YESNOCANCEL:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO:
            return QMessageBox::Yes | QMessageBox::No;
        case MB_RETRYCANCEL:
            return QMessageBox::Retry | QMessageBox::Cancel;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon boxIcon(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int boxAnswer(QMessageBox::StandardButton button, UINT style) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Abort:
            return IDABORT;
        case QMessageBox::Retry:
            return IDRETRY;
        case QMessageBox::Ignore:
            return IDIGNORE;
        default:
            break;
    }
    // Closed without a button: what Esc gives on the system.
    return nd::win32::harmlessAnswer(style);
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
}

DesktopDriver::~DesktopDriver() {
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
    if (!owner) {
        // A dialog of its own is placed where a person looks: mid-screen.
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            widget->move(area.center() - QPoint(widget->width() / 2, widget->height() / 2));
        }
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
    QMessageBox box(boxIcon(request.style), qtText(request.caption), qtText(request.text),
                    boxButtons(request.style), windowOf(m_mirror, request.owner));
    box.exec();
    return boxAnswer(box.standardButton(box.clickedButton()), request.style);
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
