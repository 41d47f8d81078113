// The hourglass for as long as the object lives.
#pragma once

#include "win32/WaitCursor.h"

class CWaitCursor {
  public:
    CWaitCursor() { nd::win32::beginWaitCursor(); }
    ~CWaitCursor() { nd::win32::endWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
