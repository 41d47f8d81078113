#include "qtview/MirrorInput.h"

#include "qtview/WindowMirror.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QWidget>

namespace nd::qtview {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

MirrorInput::MirrorInput(WindowMirror& mirror) : m_mirror(mirror) {}

bool MirrorInput::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) {
        return false;
    }
    QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::MouseMove &&
        type != QEvent::Leave && !isUserInput(type)) {
        return false;
    }
    HWND top = m_mirror.topLevelFor(watched);
    if (!top) {
        return false;
    }
    // A window the system has disabled (the owner of a modal dialog) takes
    // no input, though it keeps its face.
    if (isUserInput(type) && !IsWindowEnabled(top)) {
        return true;
    }
    switch (type) {
        case QEvent::KeyPress:
            return keyPressed(watched, *static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn: {
            // Only a click moves the window system's focus: Qt's own choice
            // on showing a window would override the one the dialog made.
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
                focusMoved(watched);
            }
            return false;
        }
        case QEvent::MouseMove:
            mouseMoved(watched, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return false;
        case QEvent::Leave:
            if (static_cast<QWidget*>(watched)->isWindow()) {
                // Outside the dialog: whatever tracked the mouse hears it leave.
                m_lastMouseWindow = nullptr;
                m_mirror.userAction(top, [top] {
                    return nd::win32::userMoveMouse(top, POINT{-32000, -32000});
                });
            }
            return false;
        default:
            return false;
    }
}

bool MirrorInput::keyPressed(QObject* watched, const QKeyEvent& event) {
    int key = event.key();
    if (QApplication::activePopupWidget()) {
        return false;  // an open drop-down list or calendar takes its own keys
    }
    HWND top = m_mirror.topLevelFor(watched);
    HWND window = m_mirror.windowFor(watched);
    UINT vk = 0;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A multi-line edit that wants Enter takes it as a new line.
            DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
            if (qobject_cast<QPlainTextEdit*>(m_mirror.widgetFor(window)) &&
                (style & ES_WANTRETURN)) {
                return false;
            }
            vk = VK_RETURN;
            break;
        }
        case Qt::Key_Escape:
            vk = VK_ESCAPE;
            break;
        case Qt::Key_Tab:
            if (event.modifiers() & Qt::ControlModifier) {
                bool back = event.modifiers() & Qt::ShiftModifier;
                m_mirror.userAction(top, [top, back] { return nd::win32::userNextTab(top, back); });
                return true;
            }
            vk = VK_TAB;
            break;
        case Qt::Key_F1:
            vk = VK_F1;
            break;
        case Qt::Key_Backtab:
            if (event.modifiers() & Qt::ControlModifier) {
                m_mirror.userAction(top, [top] { return nd::win32::userNextTab(top, true); });
                return true;
            }
            m_mirror.userAction(top, [window] {
                if (HWND dialog = nd::win32::dialogOf(window)) {
                    SendMessageW(dialog, WM_NEXTDLGCTL, 1, 0);
                }
                return std::string();
            });
            return true;
        default:
            return (event.modifiers() & Qt::AltModifier) && accessKey(top, key);
    }
    m_mirror.userAction(top, [top, vk] { return nd::win32::userKey(top, vk); });
    return true;
}

bool MirrorInput::accessKey(HWND top, int key) {
    // Qt's key codes for letters and digits are their upper-case characters.
    bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    if (!letter && !(key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return false;
    }
    auto code = static_cast<char16_t>(key);
    bool found = false;
    m_mirror.userAction(top, [top, code, &found] {
        std::string why = nd::win32::userAccessKey(top, code);
        found = why.empty();
        return why;
    });
    return found;
}

void MirrorInput::focusMoved(QObject* now) {
    HWND window = m_mirror.windowFor(now);
    if (!window || GetFocus() == window || !IsWindowVisible(window)) {
        return;
    }
    m_mirror.userAction(window, [window] {
        SetFocus(window);
        return std::string();
    });
}

void MirrorInput::mouseMoved(QObject* watched, QPoint globalPos) {
    HWND top = m_mirror.topLevelFor(watched);
    QWidget* topWidget = m_mirror.widgetFor(top);
    if (!topWidget) {
        return;
    }
    QPoint local = topWidget->mapFromGlobal(globalPos);
    if (top == m_lastMouseWindow && local == m_lastMouse) {
        return;  // the same move seen by each widget it passes through
    }
    m_lastMouseWindow = top;
    m_lastMouse = local;
    POINT point{local.x(), local.y()};
    m_mirror.userAction(top, [top, point] { return nd::win32::userMoveMouse(top, point); });
}

}  // namespace nd::qtview
