// Message boxes as Qt draws them: the icon, text and buttons of a box
// style, on the desktop and in pictures alike.
#pragma once

#include "win32/UiDriver.h"

#include <QImage>
#include <QMessageBox>

#include <memory>

namespace nd::qtview {

// The buttons of a message box style and the answer a pressed one gives.
QMessageBox::StandardButtons boxButtons(UINT style);
QMessageBox::Icon boxIcon(UINT style);
int boxAnswer(QMessageBox::StandardButton button, UINT style);
// The box a request shows, modal over owner (may be null).
std::unique_ptr<QMessageBox> makeMessageBox(const nd::win32::MessageBoxRequest& request,
                                            QWidget* owner);
// The box as it would open, for --screenshots.
QImage messageBoxPicture(const nd::win32::MessageBoxRequest& request);

}  // namespace nd::qtview
