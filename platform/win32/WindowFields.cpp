// What a window carries and how it hangs in the tree, asked and changed one
// field at a time: window longs, text, class name, parent, siblings and
// dialog items. Creation, destruction and message dispatch live in Window.cpp.
#include "win32/Window.h"

#include "win32/TextConv.h"
#include "win32/WindowObserver.h"
#include "win32/WindowSystem.h"
#include "win32/WindowTree.h"

#include <algorithm>

using nd::win32::announce;
using nd::win32::WindowChange;
using nd::win32::detail::find;
using nd::win32::detail::sys;
using nd::win32::detail::Window;

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    Window* w = find(window);
    if (!w) {
        return 0;
    }
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->parent);
        case GWLP_ID:
            return w->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exStyle);
        case GWLP_USERDATA:
            return w->userData;
        case DWLP_MSGRESULT:
            return w->dialog ? w->dialog->msgResult : 0;
        case DWLP_DLGPROC:
            return w->dialog ? reinterpret_cast<LONG_PTR>(w->dialog->proc) : 0;
        case DWLP_USER:
            return w->dialog ? w->dialog->user : 0;
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    Window* w = find(window);
    if (!w) {
        return 0;
    }
    LONG_PTR old = GetWindowLongPtrW(window, index);
    switch (index) {
        case GWLP_WNDPROC:
            w->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            break;
        case GWLP_ID:
            w->id = static_cast<int>(value);
            break;
        case GWL_STYLE:
            w->style = static_cast<DWORD>(value);
            announce(window, WindowChange::Style);
            break;
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            announce(window, WindowChange::Style);
            break;
        case GWLP_USERDATA:
            w->userData = value;
            break;
        case DWLP_MSGRESULT:
            if (w->dialog) {
                w->dialog->msgResult = value;
            }
            break;
        case DWLP_DLGPROC:
            if (w->dialog) {
                w->dialog->proc = reinterpret_cast<DLGPROC>(value);
            }
            break;
        case DWLP_USER:
            if (w->dialog) {
                w->dialog->user = value;
            }
            break;
        default:
            return 0;
    }
    return old;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    buffer[0] = 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!find(window)) {
        return FALSE;
    }
    return static_cast<BOOL>(
        SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")));
}

int GetClassNameW(HWND window, LPWSTR buffer, int size) {
    Window* w = find(window);
    if (!w || !buffer || size <= 0) {
        return 0;
    }
    size_t n = std::min<size_t>(w->className.size(), static_cast<size_t>(size) - 1);
    std::copy_n(w->className.data(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}

HWND GetParent(HWND window) {
    Window* w = find(window);
    return w ? w->parent : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = find(child);
    if (!w || (newParent && !find(newParent)) || newParent == child ||
        (newParent && IsChild(child, newParent))) {
        return nullptr;
    }
    HWND old = w->parent;
    std::erase(nd::win32::detail::siblingsOf(*w), child);
    w->parent = newParent;
    if (!newParent) {
        w->style &= ~WS_CHILD;
    }
    nd::win32::detail::siblingsOf(*w).insert(nd::win32::detail::siblingsOf(*w).begin(), child);
    announce(child, WindowChange::Parent);
    return old;
}

HWND GetWindow(HWND window, UINT relation) {
    Window* w = find(window);
    if (!w) {
        return nullptr;
    }
    if (relation == GW_CHILD) {
        return w->children.empty() ? nullptr : w->children.front();
    }
    if (relation == GW_OWNER) {
        return (w->style & WS_CHILD) ? nullptr : w->parent;
    }
    auto& sib = nd::win32::detail::siblingsOf(*w);
    auto it = std::find(sib.begin(), sib.end(), window);
    switch (relation) {
        case GW_HWNDFIRST:
            return sib.front();
        case GW_HWNDLAST:
            return sib.back();
        case GW_HWNDNEXT:
            return (it == sib.end() || it + 1 == sib.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return (it == sib.begin() || it == sib.end()) ? nullptr : *(it - 1);
        default:
            return nullptr;
    }
}

HWND GetTopWindow(HWND window) {
    if (!window) {
        return sys().topLevel.empty() ? nullptr : sys().topLevel.front();
    }
    return GetWindow(window, GW_CHILD);
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = find(dialog);
    if (!w) {
        return nullptr;
    }
    for (HWND c : w->children) {
        if (Window* cw = find(c); cw && cw->id == id) {
            return c;
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    Window* w = find(window);
    return w ? w->id : 0;
}

BOOL IsChild(HWND parent, HWND window) {
    Window* w = find(window);
    while (w && (w->style & WS_CHILD)) {
        if (w->parent == parent) {
            return TRUE;
        }
        w = find(w->parent);
    }
    return FALSE;
}
