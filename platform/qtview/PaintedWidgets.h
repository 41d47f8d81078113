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
class TopLevelWindow : public PaintedSurface {
  public:
    TopLevelWindow(HWND window, std::function<void()> onCloseRequest);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> m_onCloseRequest;
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
