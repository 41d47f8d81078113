// Extension modules and the framework's resource chain. A module that wants
// its resources found registers itself with a CDynLinkLibrary; resource
// look-ups walk the chain in order of registration.
#pragma once

#include "win32/windows.h"

#include <vector>

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// Fills the record for the module; FALSE when hModule is null.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Unregisters and deletes the module's CDynLinkLibrary objects and clears the record.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

class CDynLinkLibrary {
  public:
    // Adds the module to the end of the resource chain. Owned by the framework
    // from here on; AfxTermExtensionModule deletes it.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    virtual ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
};

// The modules on the resource chain, in search order.
std::vector<HMODULE> AfxGetResourceChain();
