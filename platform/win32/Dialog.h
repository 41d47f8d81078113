// Dialogs: creation from templates, the dialog manager's default handling
// and modal runs. A modal run hands the user's part to the UI driver
// (win32/UiDriver.h).
#pragma once

#include "win32/DialogTemplate.h"
#include "win32/windows.h"

#include <cstddef>

HWND CreateDialogIndirectParamW(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM param);
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM param);
// The template is looked up as a dialog resource of `instance` (then along
// the resource chain's modules registered with the window system).
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Keyboard handling of a dialog: Enter, Esc, Tab (with Shift backwards) and the
// arrows inside a group. TRUE when it took the message.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
// Converts dialog units to pixels with the dialog's font.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of the control's group,
// wrapping round inside the group; the control itself when it is alone.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

namespace nd::win32 {

// Creates a dialog from a parsed template. Every item becomes a child window
// of its class with its id, text, styles and pixel rectangle; an item of an
// unknown class makes the creation fail (null), as on the system.
HWND createDialog(HINSTANCE instance, const DialogTemplate& dialog, HWND parent, DLGPROC proc,
                  LPARAM param, int templateId = 0);
// The same from template bytes; size bounds the parse.
HWND createDialog(HINSTANCE instance, const void* data, size_t size, HWND parent, DLGPROC proc,
                  LPARAM param, int templateId = 0);
// Shows an existing dialog modally: disables its owner, lets the UI driver
// act until EndDialog, destroys the dialog and returns the EndDialog code
// (-1 when the driver gave up or there is no driver).
INT_PTR runModal(HWND dialog);
// The template id a dialog was created from (0 when unknown).
int dialogTemplateId(HWND dialog);
void setDialogTemplateId(HWND dialog, int templateId);
// The nearest window at or above `window` that is a dialog and not a child
// dialog (a property page's dialog is a child): the one whose keyboard
// handling applies.
HWND dialogOf(HWND window);
// True when the window is a dialog (created by the dialog functions).
bool isDialog(HWND window);
// True when EndDialog has been called on a dialog that still exists.
bool dialogEnded(HWND dialog);

}  // namespace nd::win32
