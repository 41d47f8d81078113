#include "mfc/AfxResource.h"

#include "mfc/AfxExtension.h"
#include "win32/Resources.h"

namespace {
HINSTANCE g_resource = nullptr;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
    for (HMODULE module : AfxGetResourceChain()) {
        if (module && FindResourceW(module, name, type)) {
            return module;
        }
    }
    return g_resource;
}

HINSTANCE AfxGetResourceHandle() {
    return g_resource;
}

void AfxSetResourceHandle(HINSTANCE instance) {
    g_resource = instance;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_resource;
}
