// Pictures of dialogs, drawn from their widgets (offscreen as well as on a
// desktop).
#pragma once

#include "qtview/WindowMirror.h"
#include "win32/windows.h"

#include <QImage>

#include <string>

namespace nd::qtview {

// The top-level window as it looks now, its own size; a null image when
// the window has no widget.
QImage pictureOf(WindowMirror& mirror, HWND window);
// Writes that picture as a PNG file; false with a one-line reason.
bool savePicture(WindowMirror& mirror, HWND window, const std::string& path, std::string& error);

}  // namespace nd::qtview
