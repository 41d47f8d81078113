// The window system's own state behind the handle functions. Internal to
// the Window*.cpp files.
#pragma once

#include "win32/Window.h"
#include "win32/WindowObserver.h"
#include "win32/WindowTree.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nd::win32::detail {

struct System {
    std::map<std::u16string, WNDCLASSW> classes;  // by folded name
    std::map<std::u16string, std::u16string> classNames;
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;
    std::uintptr_t nextHandle = 0x10000;
    HWND focus = nullptr;
    HWND active = nullptr;
    POINT cursor;
    HWND capture = nullptr;
    HWND tracked = nullptr;
    CreationHook hook = nullptr;
    std::vector<WindowObserver*> observers;
};

System& sys();
std::u16string foldName(std::u16string_view name);
// The key of a window property: an atom as "#n", a name folded to lower case.
std::u16string propKey(LPCWSTR name);
// The z-ordered list a window belongs to: its parent's children, or the top level.
std::vector<HWND>& siblingsOf(Window& w);
// Where a window's client area starts on the screen.
POINT clientOrigin(HWND handle);

}  // namespace nd::win32::detail
