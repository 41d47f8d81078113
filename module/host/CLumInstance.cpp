#include "host/CLumInstance.h"

#include "hostapp/records/InstanceName.h"
#include "win32/Window.h"

CString CLumInstance::makeInstanceName(const CString& feature) const {
    CString name;
    name.Format(lum::kInstanceNamePattern, lum::kMajorVersion, feature.GetString());
    return name;
}

void CLumInstance::setInstanceProp(HWND window, const CString& name, HANDLE value) const {
    (void)SetPropW(window, name.GetString(), value);
}
