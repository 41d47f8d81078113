// The window records behind the handles. Internal to the window system and
// its controls; everyone else uses the handle functions of win32/Window.h.
#pragma once

#include "win32/windows.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nd::win32::detail {

// Per-class state of a control, owned by its window.
struct ControlState {
    virtual ~ControlState() = default;
};

// What a dialog keeps beyond a plain window.
struct DialogState {
    DLGPROC proc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool ended = false;
    INT_PTR result = 0;
    bool modal = false;
    int templateId = 0;
    int baseUnitX = 6;
    int baseUnitY = 13;
    HFONT font = nullptr;  // made from the template, deleted with the dialog
};

struct Window {
    HWND handle = nullptr;
    std::u16string className;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;       // the parent of a child, the owner of a top-level window
    std::vector<HWND> children;  // z-order, top first
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::u16string text;
    RECT rect;  // in the parent's client coordinates; on the screen for top-level windows
    std::map<std::u16string, HANDLE> props;
    LONG_PTR userData = 0;
    HFONT font = nullptr;
    std::map<WPARAM, HICON> icons;
    bool invalid = false;
    bool destroying = false;
    std::unique_ptr<DialogState> dialog;
    std::unique_ptr<ControlState> control;
};

// The record of a live window; null for anything else.
Window* find(HWND handle);

template <typename State>
State* controlState(HWND handle) {
    Window* w = find(handle);
    return w ? dynamic_cast<State*>(w->control.get()) : nullptr;
}

// Sends a notification to the parent of a control.
LRESULT notifyParentCommand(HWND control, WORD code);
LRESULT notifyParent(HWND control, NMHDR& header, UINT code);

}  // namespace nd::win32::detail
