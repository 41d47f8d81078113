// What a user does to a control, with the notifications a person's action
// causes (a program's own messages to the control cause fewer). Each returns
// an empty text on success, else why the action could not happen (the
// control is missing, hidden, disabled, read-only or of another kind).
#pragma once

#include "win32/windows.h"

#include <string>
#include <vector>

namespace nd::win32 {

// Replaces the text of an edit (or an editable combo box, or a date-time
// picker as typed input) as typing would.
std::string userType(HWND control, std::u16string_view text);
// A mouse click on a button (check boxes and radio buttons change state as
// their kind does).
std::string userClick(HWND control);
// Sets a check box to the given state, clicking it when it differs.
std::string userCheck(HWND control, bool checked);
// Selects exactly these rows of a list box or list view (one row for a
// single-selection list), or the row of a combo box.
std::string userSelectRows(HWND control, const std::vector<int>& rows);
// A double click on a row of a list view or list box: the row is selected
// as a click selects it, then the parent hears NM_DBLCLK (LBN_DBLCLK from a
// list box with LBS_NOTIFY).
std::string userDoubleClickRow(HWND control, int row);
// Picks the row with this text (ignoring case) of a combo box, list box or
// list view (its first column); the only selected row of a list.
std::string userSelectText(HWND control, std::u16string_view text);
// Sets the date and/or time of a date-time picker.
std::string userSetDateTime(HWND control, const SYSTEMTIME& value);
// Brings a tab of a tab control to the front.
std::string userSelectTab(HWND control, int index);
// Ctrl+Tab (back: Ctrl+Shift+Tab) in a dialog with tabs: the next (or
// previous) tab comes to the front, wrapping round.
std::string userNextTab(HWND dialog, bool back);
// Presses a key in the window that has the focus (or `window` when none does),
// with Shift held when `shift` is set.
std::string userKey(HWND window, UINT virtualKey, bool shift = false);
// Alt and a letter (or digit) in a dialog: a button, check box or radio
// button whose caption marks that key is clicked; a label marking it puts
// the focus on the next control that takes it (an edit's text selected).
// Hidden and disabled controls have no key.
std::string userAccessKey(HWND dialog, char16_t key);
// Moves the mouse to a point in the client coordinates of `window`: the
// cursor moves and the window under it gets WM_MOUSEMOVE.
std::string userMoveMouse(HWND window, POINT point);
// Moves the mouse to the centre of a control of `dialog` (which must be
// visible): the cursor rests there as a person's hand would.
std::string userHover(HWND dialog, HWND control);
// Moves the mouse to the centre of the control, then presses (down) or
// releases (up) the left button there; the window under the cursor (or the
// one holding the mouse capture) gets the button message.
std::string userMouseButton(HWND dialog, HWND control, bool down);
// Resizes a dialog to width x height pixels as dragging its border does (it
// gets WM_SIZE); refused for a dialog whose border cannot be dragged.
std::string userResize(HWND dialog, int width, int height);

}  // namespace nd::win32
