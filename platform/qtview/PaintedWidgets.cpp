#include "qtview/PaintedWidgets.h"

#include "qtview/RecordPainter.h"
#include "win32/Gdi.h"
#include "win32/Window.h"

#include <QCloseEvent>
#include <QPainter>

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

TopLevelWindow::TopLevelWindow(HWND window, std::function<void()> onCloseRequest)
    : PaintedSurface(window, nullptr, Qt::Dialog), m_onCloseRequest(std::move(onCloseRequest)) {
    // Nothing about the face comes from Qt's palette: the dialog erases its
    // own background, in the colour its brush has.
    setAutoFillBackground(true);
}

void TopLevelWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_onCloseRequest) {
        m_onCloseRequest();
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
