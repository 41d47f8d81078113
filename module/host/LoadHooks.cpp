// The loader runs a shared object's constructor and destructor hooks where
// Windows calls a DLL's entry function, so both hand over to DllMain. Only
// the shared object holds this file: programs that link the module's code
// for testing do not attach it.
#include "host/DllMain.h"
#include "win32/Loader.h"

namespace {

// This loader cannot refuse a library from its constructor; a failed attach is
// remembered so that the unload hook does not terminate a record that was
// never set up.
BOOL g_attached = FALSE;

__attribute__((constructor)) void onLoad() {
    HINSTANCE self = nd::win32::moduleHandleFor(reinterpret_cast<const void*>(&onLoad));
    g_attached = newsdesk::DllMain(self, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void onUnload() {
    if (g_attached) {
        newsdesk::DllMain(nullptr, DLL_PROCESS_DETACH, nullptr);
        g_attached = FALSE;
    }
}

}  // namespace
