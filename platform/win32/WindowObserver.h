// The one place where the window system announces change: every creation,
// destruction and change of a window's or control's state goes through
// announce(), so that a front end can mirror the tree.
#pragma once

#include "win32/windows.h"

namespace nd::win32 {

enum class WindowChange {
    Created,    // the window exists, with its class, style, text and rectangle
    Destroyed,  // announced before the handle becomes invalid
    Text,
    Style,  // style or extended style
    Enabled,
    Visible,
    Geometry,  // position or size
    Parent,
    ZOrder,
    Focus,    // the window gained the focus
    Content,  // control content: rows, selection, check state, date, image
    Painted,  // new drawing records
};

class WindowObserver {
  public:
    virtual ~WindowObserver() = default;
    virtual void windowChanged(HWND window, WindowChange change) = 0;
};

// Observers are called in the order they were added; an observer must not
// add or remove observers from within windowChanged.
void addWindowObserver(WindowObserver* observer);
void removeWindowObserver(WindowObserver* observer);
void announce(HWND window, WindowChange change);

}  // namespace nd::win32
