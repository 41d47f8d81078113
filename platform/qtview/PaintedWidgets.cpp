#include "qtview/PaintedWidgets.h"

#include "qtview/RecordPainter.h"
#include "win32/Gdi.h"
#include "win32/Window.h"

#include <QCloseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>

namespace nd::qtview {

PaintedSurface::PaintedSurface(HWND window, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_window(window) {}

void PaintedSurface::paintEvent(QPaintEvent*) {
    if (!IsWindow(m_window)) {
        return;
    }
    QPainter painter(this);
    drawRecords(painter, nd::win32::paintRecords(m_window));
}

TopLevelWindow::TopLevelWindow(HWND window, Handlers handlers)
    : PaintedSurface(window, nullptr, Qt::Dialog),
      m_window(window),
      m_handlers(std::move(handlers)) {
    // Nothing about the face comes from Qt's palette: the dialog erases its
    // own background, in the colour its brush has.
    setAutoFillBackground(true);
}

void TopLevelWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_handlers.closeRequest) {
        m_handlers.closeRequest();
    }
}

void TopLevelWindow::resizeEvent(QResizeEvent* event) {
    PaintedSurface::resizeEvent(event);
    if (!IsWindow(m_window) || !m_handlers.resize) {
        return;
    }
    // The mirror's own resizes give the window's size; only a drag differs.
    RECT r;
    GetWindowRect(m_window, &r);
    if (event->size() != QSize(r.right - r.left, r.bottom - r.top)) {
        m_handlers.resize(event->size());
    }
}

void TopLevelWindow::moveEvent(QMoveEvent* event) {
    PaintedSurface::moveEvent(event);
    if (IsWindow(m_window) && m_handlers.move && isVisible()) {
        m_handlers.move(pos());
    }
}

OwnerDrawnButton::OwnerDrawnButton(HWND window, QWidget* parent)
    : QAbstractButton(parent), m_window(window) {}

void OwnerDrawnButton::paintEvent(QPaintEvent*) {
    if (!IsWindow(m_window)) {
        return;
    }
    QPainter painter(this);
    drawRecords(painter, nd::win32::paintRecords(m_window));
}

}  // namespace nd::qtview
