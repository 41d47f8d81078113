// What the editor's tests share: the module's resources on the framework's
// chain, the product folder with the category list, a settings folder of
// their own, and small helpers for looking at a dialog.
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "support/TestUiDriver.h"
#include "win32/Window.h"

#include <string>
#include <vector>

namespace edtest {

using nd::win32::UiStep;

// The text, enabled state and check state of a control of a dialog or of a
// page inside it.
std::u16string textOf(HWND dialog, int id);
bool enabled(HWND dialog, int id);
bool checked(HWND dialog, int id);
// The rows of a list box, top to bottom.
std::vector<std::u16string> listBoxRows(HWND dialog, int id);
// The control with the id anywhere below the dialog (pages included).
HWND control(HWND dialog, int id);

CRSSCategory category(const char16_t* name, const char16_t* sub = u"");

// A channel with everything the three formats carry filled in.
void fillChannel(CRSSChannel& channel, int format);

}  // namespace edtest
