// Attach and detach work of the module.
#include "host/DllMain.h"

#include "mfc/AfxExtension.h"
#include "res/CompiledResources.h"
#include "win32/Resources.h"

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
            {
                // The window system finds dialogs, strings and bitmaps by module
                // handle. The bytes are checked by the tests at build time; should
                // they ever be refused, the module still loads and only its
                // resources are missing, as with a failed allocation below.
                auto resources = newsdesk::res::compiledResources();
                (void)nd::win32::registerModuleResources(instance, resources.data(),
                                                         resources.size());
            }
            // Registers the module's resources with the framework, which owns the
            // object from here on and deletes it when the record is terminated.
            // A failed allocation only means the resources are not found.
            (void)new (std::nothrow) CDynLinkLibrary(g_extensionModule);
            break;
        case DLL_PROCESS_DETACH: {
            HMODULE module = g_extensionModule.hModule;
            AfxTermExtensionModule(g_extensionModule);
            if (module != nullptr) {
                nd::win32::unregisterModuleResources(module);
            }
            break;
        }
        default:
            break;
    }
    return TRUE;
}

}  // namespace newsdesk
