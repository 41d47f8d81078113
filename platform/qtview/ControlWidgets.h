// The widget of each kind: making it (with its inputs wired to the window
// system's user-input functions) and bringing it in step with its window.
#pragma once

#include "qtview/WidgetKind.h"
#include "win32/windows.h"

#include <QWidget>

namespace nd::qtview {

class WindowMirror;

// A new widget for a child window, under `parent`.
QWidget* makeControlWidget(WidgetKind kind, HWND window, QWidget* parent, WindowMirror& mirror);
// Text, state and content (rows, selection, check, date, picture) as the
// window has them now; the widget's signals are blocked meanwhile, so that
// nothing here reads as a person's action.
void syncControlWidget(WidgetKind kind, HWND window, QWidget* widget);
// The height a control shows at: a combo box's rectangle includes its
// drop-down list and a tab control's its pages, which Qt draws elsewhere.
int shownHeight(WidgetKind kind, QWidget* widget, int windowHeight);

}  // namespace nd::qtview
