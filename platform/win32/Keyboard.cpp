// Key state. Only Shift is held by anyone (the UI driver, around a shifted
// key press), so the state is one set of held keys.
#include "win32/Window.h"

#include <set>

namespace {

std::set<UINT>& heldKeys() {
    static std::set<UINT> keys;
    return keys;
}

}  // namespace

SHORT GetKeyState(int virtualKey) {
    return heldKeys().count(static_cast<UINT>(virtualKey)) ? static_cast<SHORT>(0x8000) : 0;
}

namespace nd::win32 {

void setKeyDown(UINT virtualKey, bool down) {
    if (down) {
        heldKeys().insert(virtualKey);
    } else {
        heldKeys().erase(virtualKey);
    }
}

}  // namespace nd::win32
