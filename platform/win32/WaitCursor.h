// The cursor's shape: the arrow, or the hourglass while the program works
// and input would wait anyway. Nested waits keep the hourglass until the
// outermost ends.
#pragma once

#include "win32/windows.h"

#include <functional>

namespace nd::win32 {

void beginWaitCursor();
void endWaitCursor();
// true while at least one wait is under way.
bool waitCursorShown();
// Heard when the shape changes (a front end that draws a real cursor);
// empty to stop.
void setWaitCursorListener(std::function<void(bool waiting)> listener);

}  // namespace nd::win32
