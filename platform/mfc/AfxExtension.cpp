#include "mfc/AfxExtension.h"

#include <algorithm>
#include <mutex>

namespace {

struct Chain {
    std::mutex lock;
    std::vector<CDynLinkLibrary*> libraries;
};

Chain& chain() {
    static Chain* c = new Chain;  // outlives every module's unload hook
    return *c;
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (hModule == nullptr) {
        return FALSE;
    }
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
    std::vector<CDynLinkLibrary*> doomed;
    {
        std::lock_guard guard(chain().lock);
        for (CDynLinkLibrary* lib : chain().libraries) {
            if (lib->m_hModule == state.hModule) {
                doomed.push_back(lib);
            }
        }
    }
    for (CDynLinkLibrary* lib : doomed) {
        delete lib;
    }
    state = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource) {
    std::lock_guard guard(chain().lock);
    chain().libraries.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::lock_guard guard(chain().lock);
    std::erase(chain().libraries, this);
}

std::vector<HMODULE> AfxGetResourceChain() {
    std::lock_guard guard(chain().lock);
    std::vector<HMODULE> out;
    for (CDynLinkLibrary* lib : chain().libraries) {
        out.push_back(lib->m_hResource);
    }
    return out;
}
