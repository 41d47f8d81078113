// Marks a window as the open instance of one of the application's editors,
// by a window property under the application's instance name.
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

class CLumInstance {
  public:
    CLumInstance() = default;
    virtual ~CLumInstance() = default;

    // The application's instance name for a feature word ("Rss").
    CString makeInstanceName(const CString& feature) const;
    // Sets the named property of the window to the value.
    void setInstanceProp(HWND window, const CString& name, HANDLE value) const;
};
