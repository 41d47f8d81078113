#include "qtview/Pictures.h"

#include <QFile>
#include <QSaveFile>

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
    // Opened here rather than by QImage::save, which does not say why it
    // failed; a picture already there stays whole until the new one is.
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = "cannot write " + path + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace nd::qtview
