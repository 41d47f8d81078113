// Widgets whose face is whatever their window painted: dialogs (their
// background brush and any drawing of their own), owner-drawn buttons and
// areas of classes the program registered.
#pragma once

#include "win32/windows.h"

#include <QAbstractButton>
#include <QWidget>

#include <functional>

namespace nd::qtview {

class PaintedSurface : public QWidget {
  public:
    PaintedSurface(HWND window, QWidget* parent, Qt::WindowFlags flags = {});

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    HWND m_window;
};

// A top-level window on the desktop. Closing it from the window manager
// asks the window (WM_CLOSE) instead of closing: the dialog decides.
// A window with a sizing border resizes with the window manager's drag;
// the window hears the new size (onResize) and lays out its controls. A
// window dragged elsewhere tells where it went (onMove), so that a dialog
// that keeps its placement keeps the one the person chose.
class TopLevelWindow : public PaintedSurface {
  public:
    struct Handlers {
        std::function<void()> closeRequest;
        std::function<void(QSize)> resize;
        std::function<void(QPoint)> move;
    };
    TopLevelWindow(HWND window, Handlers handlers);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    HWND m_window;
    Handlers m_handlers;
};

class OwnerDrawnButton : public QAbstractButton {
  public:
    OwnerDrawnButton(HWND window, QWidget* parent);
    QSize sizeHint() const override { return size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    HWND m_window;
};

}  // namespace nd::qtview
