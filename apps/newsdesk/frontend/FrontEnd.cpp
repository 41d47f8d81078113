#include "frontend/FrontEnd.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "qtview/DesktopDriver.h"
#include "qtview/Pictures.h"
#include "qtview/QtSession.h"
#include "qtview/ScreenshotDriver.h"
#include "qtview/WindowFonts.h"
#include "qtview/WindowMirror.h"
#include "win32/Gdi.h"

#include <QApplication>
#include <QPixmap>

#include <filesystem>
#include <system_error>

namespace newsdesk::app {

// Declared in the order they must go: drivers, then the mirror, then Qt.
struct FrontEnd::Parts {
    std::unique_ptr<nd::qtview::QtSession> session;
    std::unique_ptr<nd::qtview::WindowMirror> mirror;
    std::unique_ptr<nd::qtview::DesktopDriver> desktop;
    std::unique_ptr<nd::qtview::ScreenshotDriver> pictures;
    ~Parts() {
        pictures.reset();
        desktop.reset();
        mirror.reset();
        session.reset();
    }
};

FrontEnd::FrontEnd() : m_parts(std::make_unique<Parts>()) {}
FrontEnd::~FrontEnd() = default;

bool FrontEnd::displayPresent() {
    return nd::qtview::desktopUnavailable().empty();
}

bool FrontEnd::startDesktop(std::string& error) {
    m_parts->session = nd::qtview::QtSession::start(nd::qtview::QtPlatform::Desktop, error);
    if (!m_parts->session) {
        return false;
    }
    // The application's icon on every window and in the task bar.
    if (const auto* pixels = nd::win32::iconBitmap(CLumAppEngineer::getInstance()->getAppIcon())) {
        QApplication::setWindowIcon(QPixmap::fromImage(nd::qtview::qtImage(*pixels)));
    }
    m_parts->mirror = std::make_unique<nd::qtview::WindowMirror>();
    m_parts->desktop = std::make_unique<nd::qtview::DesktopDriver>(*m_parts->mirror);
    return true;
}

bool FrontEnd::startPictures(const std::string& folder, nd::win32::UiDriver* steps,
                             std::string& error) {
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec || !std::filesystem::is_directory(folder)) {
            error = "cannot make the folder " + folder;
            return false;
        }
    }
    m_parts->session = nd::qtview::QtSession::start(nd::qtview::QtPlatform::Offscreen, error);
    if (!m_parts->session) {
        return false;
    }
    m_parts->mirror = std::make_unique<nd::qtview::WindowMirror>();
    if (!folder.empty()) {
        m_parts->pictures =
            std::make_unique<nd::qtview::ScreenshotDriver>(*m_parts->mirror, folder, steps);
    }
    return true;
}

nd::win32::UiDriver* FrontEnd::driver() {
    if (m_parts->desktop) {
        return m_parts->desktop.get();
    }
    return m_parts->pictures.get();
}

bool FrontEnd::picture(HWND window, const std::string& path, std::string& error) {
    if (!m_parts->mirror) {
        error = "pictures need the offscreen front end";
        return false;
    }
    return nd::qtview::savePicture(*m_parts->mirror, window, path, error);
}

std::string FrontEnd::picturesError() const {
    return m_parts->pictures ? m_parts->pictures->error() : std::string();
}

}  // namespace newsdesk::app
