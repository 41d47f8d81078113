#include "qtview/ScreenshotDriver.h"

#include "qtview/MessageBoxes.h"
#include "qtview/Pictures.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/Window.h"

#include <QFile>

#include <cstdio>

namespace nd::qtview {

ScreenshotDriver::ScreenshotDriver(WindowMirror& mirror, std::string folder,
                                   nd::win32::UiDriver* steps)
    : m_mirror(mirror), m_folder(std::move(folder)), m_steps(steps) {
    m_mirror.setChangeListener([this](HWND top) { m_changed.insert(top); });
}

ScreenshotDriver::~ScreenshotDriver() {
    m_mirror.setChangeListener(nullptr);
}

void ScreenshotDriver::picture(HWND dialog, int templateId) {
    m_changed.erase(dialog);
    char name[32];
    std::snprintf(name, sizeof name, "%03zu-%d.png", m_written.size() + 1, templateId);
    std::string path = m_folder + "/" + name;
    std::string why;
    if (!savePicture(m_mirror, dialog, path, why)) {
        if (m_error.empty()) {
            m_error = why;
        }
        return;
    }
    m_written.push_back(path);
    // Drawing the picture may itself report changes; they are not the user's.
    m_changed.erase(dialog);
}

void ScreenshotDriver::dialogOpened(HWND dialog, int templateId) {
    if (m_steps) {
        m_steps->dialogOpened(dialog, templateId);
    }
    // The dialog paints once its messages are delivered.
    nd::win32::pumpMessages();
    picture(dialog, templateId);
}

bool ScreenshotDriver::step(HWND dialog, int templateId) {
    if (m_changed.count(dialog)) {
        picture(dialog, templateId);  // changed by a dialog it opened
    }
    if (!m_steps) {
        return false;
    }
    bool more = m_steps->step(dialog, templateId);
    nd::win32::pumpMessages();
    if (IsWindow(dialog) && !nd::win32::dialogEnded(dialog) && m_changed.count(dialog)) {
        picture(dialog, templateId);
    }
    return more;
}

void ScreenshotDriver::dialogClosed(HWND dialog, int templateId, INT_PTR result) {
    m_changed.erase(dialog);
    if (m_steps) {
        m_steps->dialogClosed(dialog, templateId, result);
    }
}

int ScreenshotDriver::messageBox(const nd::win32::MessageBoxRequest& request) {
    // Named by the string the text came from, which the tests and the
    // string table know it by.
    char name[40];
    if (request.stringId != 0) {
        std::snprintf(name, sizeof name, "%03zu-box-%u.png", m_written.size() + 1,
                      request.stringId);
    } else {
        std::snprintf(name, sizeof name, "%03zu-box.png", m_written.size() + 1);
    }
    std::string path = m_folder + "/" + name;
    if (messageBoxPicture(request).save(QFile::decodeName(path.c_str()), "PNG")) {
        m_written.push_back(path);
    } else if (m_error.empty()) {
        m_error = "cannot write " + path;
    }
    return m_steps ? m_steps->messageBox(request) : nd::win32::harmlessAnswer(request.style);
}

std::optional<std::u16string> ScreenshotDriver::choose(const nd::win32::ChooserRequest& request) {
    return m_steps ? m_steps->choose(request) : std::nullopt;
}

void ScreenshotDriver::helpRequested(const nd::win32::HtmlHelpRequest& request) {
    if (m_steps) {
        m_steps->helpRequested(request);
    }
}

bool ScreenshotDriver::aborted() const {
    return m_steps && m_steps->aborted();
}

}  // namespace nd::qtview
