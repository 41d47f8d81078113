// The Qt application of the host program: on the desktop for real windows,
// or on Qt's offscreen platform for pictures (no display needed).
#pragma once

#include <memory>
#include <string>

class QApplication;

namespace nd::qtview {

enum class QtPlatform { Desktop, Offscreen };

class QtSession {
  public:
    // nullptr with a one-line reason when there is no display to show
    // windows on (Desktop without DISPLAY or WAYLAND_DISPLAY, or a platform
    // Qt cannot open).
    static std::unique_ptr<QtSession> start(QtPlatform platform, std::string& error);
    ~QtSession();

  private:
    QtSession() = default;
    std::unique_ptr<QApplication> m_app;
};

// Why Desktop cannot work in this environment; empty when it may.
std::string desktopUnavailable();

}  // namespace nd::qtview
