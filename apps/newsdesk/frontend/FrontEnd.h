// Where the dialogs of a command appear: nowhere (played by a UI script, or
// ended at once), in real windows on the desktop (--gui), or as pictures
// drawn offscreen (--screenshots, dialog --png). Qt stays behind this class.
#pragma once

#include "win32/UiDriver.h"
#include "win32/windows.h"

#include <memory>
#include <string>

namespace newsdesk::app {

class FrontEnd {
  public:
    FrontEnd();
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Whether real windows can be tried here: a display is named
    // (DISPLAY, WAYLAND_DISPLAY) or the user chose Qt's platform.
    static bool displayPresent();
    // Real windows; a person plays the user. false with a one-line reason
    // when there is no display.
    bool startDesktop(std::string& error);
    // Offscreen pictures. With a folder, every dialog is pictured as it
    // opens and after each step of `steps` (may be null) that changes it;
    // the folder is made when missing. Without one, only picture() works.
    bool startPictures(const std::string& folder, nd::win32::UiDriver* steps, std::string& error);

    // The UI driver to install; null when the front end is not started or
    // only draws pictures on request.
    nd::win32::UiDriver* driver();
    // Writes a PNG of a top-level window as it is now.
    bool picture(HWND window, const std::string& path, std::string& error);
    // Why a picture of the run could not be written; empty when all were.
    std::string picturesError() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

}  // namespace newsdesk::app
