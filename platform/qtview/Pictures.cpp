#include "qtview/Pictures.h"

#include <QFile>

namespace nd::qtview {

QImage pictureOf(WindowMirror& mirror, HWND window) {
    mirror.flush();
    QWidget* widget = mirror.widgetFor(window);
    if (!widget) {
        return QImage();
    }
    widget->ensurePolished();
    return widget->grab().toImage();
}

bool savePicture(WindowMirror& mirror, HWND window, const std::string& path, std::string& error) {
    QImage image = pictureOf(mirror, window);
    if (image.isNull()) {
        error = "the window has nothing to show";
        return false;
    }
    if (!image.save(QFile::decodeName(path.c_str()), "PNG")) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace nd::qtview
