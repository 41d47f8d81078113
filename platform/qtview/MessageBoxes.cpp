#include "qtview/MessageBoxes.h"

#include "qtview/DesktopDriver.h"
#include "qtview/WindowFonts.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>

namespace nd::qtview {
namespace {

// The system's captions in the dialogs' language, each with the letter
// that presses it (with Alt or alone, as in the system's boxes).
const struct {
    QMessageBox::StandardButton button;
    const char16_t* text;
} kCaptions[] = {
    {QMessageBox::Ok, u"OK"},           {QMessageBox::Cancel, u"キャンセル"},
    {QMessageBox::Yes, u"はい(&Y)"},    {QMessageBox::No, u"いいえ(&N)"},
    {QMessageBox::Abort, u"中止(&A)"},  {QMessageBox::Retry, u"再試行(&R)"},
    {QMessageBox::Ignore, u"無視(&I)"},
};

// Placed as the dialogs are: centred over the owner, or mid-screen for
// none. Qt's own placing allows for a window manager's frame that may not
// be there; the size is only final once the box lays itself out on show.
class OwnedMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            move(placeCentred(size(), owner ? owner->geometry() : QRect(),
                              screen->availableGeometry()));
        }
    }
};

}  // namespace

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
    // A box without a caption is still named in the task bar and by the
    // window manager: by the program's name.
    QString caption = qtText(request.caption);
    if (caption.isEmpty()) {
        caption = QGuiApplication::applicationDisplayName();
    }
    std::unique_ptr<QMessageBox> box = std::make_unique<OwnedMessageBox>(
        boxIcon(request.style), caption, qtText(request.text), boxButtons(request.style), owner);
    for (const auto& caption : kCaptions) {
        if (QAbstractButton* button = box->button(caption.button)) {
            button->setText(QString::fromUtf16(caption.text));
        }
    }
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
