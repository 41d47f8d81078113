// What the navigator's tests share: the module and the host program's
// pictures attached once, and a stand-in for the application's function
// 40153 that records how it was called.
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

#include <vector>

namespace navtest {

struct EditCall {
    HWND parent = nullptr;
    CString path;
    bool report = false;
    bool dialogSlotGiven = false;
};

// Offers the recorder as function 40153 for the lifetime of the object
// (and withdraws it after); calls() lists what reached it.
class EditRecorder {
  public:
    EditRecorder();
    ~EditRecorder();
    const std::vector<EditCall>& calls() const;
};

}  // namespace navtest
