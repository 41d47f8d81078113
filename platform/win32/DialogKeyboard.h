// What the dialog manager's default handling and its keyboard interface
// share: the controls in tab order and pressing a button by its id.
#pragma once

#include "win32/windows.h"

#include <vector>

namespace nd::win32::detail {

// Controls of a dialog in tab order, descending into child dialogs that have
// WS_EX_CONTROLPARENT (property sheets and their pages).
void collectTabOrder(HWND parent, std::vector<HWND>& out);
// Sends the dialog the button's click, unless the button is disabled.
void pressButton(HWND dialog, int id);

}  // namespace nd::win32::detail
