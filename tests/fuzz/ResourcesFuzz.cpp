// Damaged .res bytes: registration either refuses them or gives resources
// that dialogs, strings and bitmaps are loaded from without reading outside
// them. Every ordinal-named entry the bytes seem to hold is tried.
#include "win32/Dialog.h"
#include "win32/DialogTemplate.h"
#include "win32/Gdi.h"
#include "win32/Resources.h"
#include "win32/Window.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Any bytes as a dialog template on their own, and the dialog made of it.
    nd::win32::parseDialogTemplate(data, size);
    if (HWND dialog = nd::win32::createDialog(nullptr, data, size, nullptr, nullptr, 0)) {
        DestroyWindow(dialog);
    }

    HMODULE module = reinterpret_cast<HMODULE>(std::uintptr_t{0x7f0000});
    if (!nd::win32::registerModuleResources(module, data, size)) {
        return 0;
    }
    // "FFFF type FFFF name" in the headers: ordinal types with ordinal names.
    std::set<std::pair<WORD, WORD>> seen;
    for (std::size_t i = 0; i + 8 <= size; i += 2) {
        WORD w[4];
        std::memcpy(w, data + i, sizeof w);
        if (w[0] == 0xFFFF && w[2] == 0xFFFF) {
            seen.emplace(w[1], w[3]);
        }
    }
    for (auto [type, name] : seen) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
        if (!found) {
            continue;
        }
        const void* bytes = LockResource(LoadResource(module, found));
        DWORD length = SizeofResource(module, found);
        if (type == 5) {
            if (HWND dialog =
                    CreateDialogParamW(module, MAKEINTRESOURCEW(name), nullptr, nullptr, 0)) {
                DestroyWindow(dialog);
            }
            nd::win32::parseDialogTemplate(bytes, length);
        } else if (type == 2) {
            if (HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(name))) {
                DeleteObject(bitmap);
            }
        } else if (type == 6 && name > 0) {
            for (UINT k = 0; k < 16; ++k) {
                UINT id = (name - 1u) * 16u + k;
                WCHAR buffer[64];
                LoadStringW(module, id, buffer, 64);
                const WCHAR* direct = nullptr;
                int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&direct), 0);
                for (int c = 0; c < n; ++c) {
                    volatile WCHAR touch = direct[c];
                    (void)touch;
                }
            }
        }
    }
    nd::win32::unregisterModuleResources(module);
    return 0;
}
