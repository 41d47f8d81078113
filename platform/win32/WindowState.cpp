// Enabled, visible, focus, activation, capture, mouse tracking, placement,
// properties and invalidation.
#include "win32/Window.h"

#include "win32/WindowObserver.h"
#include "win32/WindowSystem.h"
#include "win32/WindowTree.h"

#include <algorithm>
#include <utility>
#include <vector>

using nd::win32::announce;
using nd::win32::WindowChange;
using nd::win32::detail::find;
using nd::win32::detail::sys;
using nd::win32::detail::Window;

BOOL EnableWindow(HWND window, BOOL enable) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable == !wasDisabled) {
        return wasDisabled;
    }
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        if (sys().focus == window || IsChild(window, sys().focus)) {
            SetFocus(nullptr);
        }
    }
    announce(window, WindowChange::Enabled);
    SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Window* w = find(window);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    BOOL was = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = command != SW_HIDE;
    if (show == static_cast<bool>(was)) {
        return was;
    }
    if (show) {
        w->style |= WS_VISIBLE;
    } else {
        w->style &= ~WS_VISIBLE;
        if (sys().focus == window || IsChild(window, sys().focus)) {
            sys().focus = nullptr;
        }
    }
    announce(window, WindowChange::Visible);
    SendMessageW(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (show) {
        // A window that appears paints itself and everything inside it.
        std::vector<HWND> all{window};
        for (size_t i = 0; i < all.size(); ++i) {
            if (Window* x = find(all[i])) {
                x->invalid = true;
                all.insert(all.end(), x->children.begin(), x->children.end());
            }
        }
    }
    return was;
}

BOOL IsWindowVisible(HWND window) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    for (; w; w = (w->style & WS_CHILD) ? find(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE)) {
            return FALSE;
        }
    }
    return TRUE;
}

HWND SetFocus(HWND window) {
    auto& s = sys();
    HWND old = s.focus;
    if (window && (!find(window) || (find(window)->style & WS_DISABLED))) {
        return nullptr;
    }
    if (old == window) {
        return old;
    }
    s.focus = window;
    if (old && find(old)) {
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window && s.focus == window) {
        announce(window, WindowChange::Focus);
        SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

HWND GetFocus() {
    return find(sys().focus) ? sys().focus : nullptr;
}

HWND GetActiveWindow() {
    return find(sys().active) ? sys().active : nullptr;
}

HWND SetActiveWindow(HWND window) {
    if (window && !find(window)) {
        return nullptr;
    }
    return std::exchange(sys().active, window);
}

HWND SetCapture(HWND window) {
    if (window && !find(window)) {
        return nullptr;
    }
    HWND old = std::exchange(sys().capture, window);
    if (old && old != window && find(old)) {
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return old;
}

BOOL ReleaseCapture() {
    SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    return find(sys().capture) ? sys().capture : nullptr;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (!track || !find(track->hwndTrack)) {
        return FALSE;
    }
    if (track->dwFlags & TME_CANCEL) {
        if (sys().tracked == track->hwndTrack) {
            sys().tracked = nullptr;
        }
        return TRUE;
    }
    if (track->dwFlags & TME_LEAVE) {
        sys().tracked = track->hwndTrack;
    }
    return TRUE;
}

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
    Window* w = find(window);
    if (!w || !placement) {
        return FALSE;
    }
    placement->flags = 0;
    placement->showCmd = (w->style & WS_VISIBLE) ? SW_SHOWNORMAL : SW_HIDE;
    placement->rcNormalPosition = w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) {
    if (!find(window) || !placement) {
        return FALSE;
    }
    const RECT& r = placement->rcNormalPosition;
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, placement->showCmd == SW_HIDE ? SW_HIDE : SW_SHOWNA);
    return TRUE;
}

namespace nd::win32 {

HWND mouseTracked() {
    return find(sys().tracked) ? sys().tracked : nullptr;
}

void clearMouseTracking() {
    sys().tracked = nullptr;
}

}  // namespace nd::win32

BOOL SetPropW(HWND window, LPCWSTR name, HANDLE data) {
    Window* w = find(window);
    if (!w || !name) {
        return FALSE;
    }
    w->props[nd::win32::detail::propKey(name)] = data;
    return TRUE;
}

HANDLE GetPropW(HWND window, LPCWSTR name) {
    Window* w = find(window);
    if (!w || !name) {
        return nullptr;
    }
    auto it = w->props.find(nd::win32::detail::propKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND window, LPCWSTR name) {
    Window* w = find(window);
    if (!w || !name) {
        return nullptr;
    }
    auto it = w->props.find(nd::win32::detail::propKey(name));
    if (it == w->props.end()) {
        return nullptr;
    }
    HANDLE old = it->second;
    w->props.erase(it);
    return old;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    w->invalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    if (w->invalid && IsWindowVisible(window)) {
        SendMessageW(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}
