#include "qtview/MessageBoxes.h"

#include "qtview/WindowFonts.h"

namespace nd::qtview {

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

std::unique_ptr<QMessageBox> makeMessageBox(const nd::win32::MessageBoxRequest& request,
                                            QWidget* owner) {
    auto box =
        std::make_unique<QMessageBox>(boxIcon(request.style), qtText(request.caption),
                                      qtText(request.text), boxButtons(request.style), owner);
    // The button Enter presses: the first in the system's order, or the one
    // MB_DEFBUTTON2/3 names.
    const QMessageBox::StandardButton order[] = {
        QMessageBox::Ok, QMessageBox::Yes,    QMessageBox::Abort, QMessageBox::Retry,
        QMessageBox::No, QMessageBox::Ignore, QMessageBox::Cancel};
    QMessageBox::StandardButtons present = boxButtons(request.style);
    int wanted = static_cast<int>((request.style & MB_DEFMASK) >> 8);
    for (QMessageBox::StandardButton button : order) {
        if (!(present & button)) {
            continue;
        }
        if (wanted-- == 0) {
            box->setDefaultButton(button);
            break;
        }
    }
    return box;
}

QImage messageBoxPicture(const nd::win32::MessageBoxRequest& request) {
    auto box = makeMessageBox(request, nullptr);
    box->ensurePolished();
    box->adjustSize();
    return box->grab().toImage();
}

}  // namespace nd::qtview
