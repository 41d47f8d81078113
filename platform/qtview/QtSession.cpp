#include "qtview/QtSession.h"

#include "qtview/WindowFonts.h"

#include <QApplication>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

namespace nd::qtview {
namespace {

int g_argc = 1;
char g_name[] = "newsdesk";
char* g_argv[] = {g_name, nullptr};

bool isSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Qt ends the process when no platform plugin opens; the user gets one line
// and the usual status instead of an abort. Qt's other remarks (a platform
// that cannot raise windows, a runtime folder it made up) are not the
// user's business: the program's errors are its own one-line messages.
const char* displayName() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display) {
        display = std::getenv("DISPLAY");
    }
    return display && *display ? display : "(none)";
}

void fatalAsOneLine(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        // Qt's own text speaks of reinstalling; the user needs the display.
        std::fprintf(stderr, "newsdesk: cannot show windows on the display %s\n", displayName());
        std::fflush(stderr);
        _exit(1);
    }
    // A display that goes away ends the program from inside Qt. Whatever
    // dialog was open was never confirmed, so nothing was saved: the same
    // as Cancel, said once, without the leak report of a half-run exit.
    if (type == QtWarningMsg && message.contains(QLatin1String("connection broke"))) {
        std::fprintf(stderr, "newsdesk: the display %s went away; the dialog was cancelled\n",
                     displayName());
        std::fflush(stderr);
        _exit(1);
    }
}

}  // namespace

std::string desktopUnavailable() {
    if (isSet("QT_QPA_PLATFORM")) {
        return {};  // the user chose the platform
    }
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        return "no display: set DISPLAY or WAYLAND_DISPLAY to show windows";
    }
    return {};
}

std::unique_ptr<QtSession> QtSession::start(QtPlatform platform, std::string& error) {
    if (platform == QtPlatform::Desktop) {
        error = desktopUnavailable();
        if (!error.empty()) {
            return nullptr;
        }
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::unique_ptr<QtSession> session(new QtSession);
    qInstallMessageHandler(fatalAsOneLine);
    session->m_app = std::make_unique<QApplication>(g_argc, g_argv);
    QFont font = QApplication::font();
    font.setFamily(fallbackFamily());
    QApplication::setFont(font);
    return session;
}

QtSession::~QtSession() = default;

}  // namespace nd::qtview
