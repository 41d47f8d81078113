// Attach and detach work of the module.
#include "host/DllMain.h"

#include "mfc/AfxExtension.h"

#include <new>

namespace {

AFX_EXTENSION_MODULE g_extensionModule;

}  // namespace

namespace newsdesk {

BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            if (!AfxInitExtensionModule(g_extensionModule, instance)) {
                return FALSE;
            }
            // Registers the module's resources with the framework, which owns the
            // object from here on and deletes it when the record is terminated.
            // A failed allocation only means the resources are not found.
            (void)new (std::nothrow) CDynLinkLibrary(g_extensionModule);
            break;
        case DLL_PROCESS_DETACH:
            AfxTermExtensionModule(g_extensionModule);
            break;
        default:
            break;
    }
    return TRUE;
}

}  // namespace newsdesk
