// What a person does that is not a widget's own signal: keys the dialog
// manager handles (Enter, Esc, Tab, F1), focus moving by a click, and mouse
// moves over a dialog. Installed on the application by the mirror.
#pragma once

#include "win32/windows.h"

#include <QObject>
#include <QPoint>

class QKeyEvent;

namespace nd::qtview {

class WindowMirror;

class MirrorInput : public QObject {
  public:
    explicit MirrorInput(WindowMirror& mirror);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyPressed(QObject* watched, const QKeyEvent& event);
    // Alt with a letter or digit: true when a control of the dialog had it.
    bool accessKey(HWND top, int key);
    void focusMoved(QObject* now);
    void mouseMoved(QObject* watched, QPoint globalPos);

    WindowMirror& m_mirror;
    HWND m_lastMouseWindow = nullptr;
    QPoint m_lastMouse;
};

}  // namespace nd::qtview
