#include "win32/Window.h"

#include "win32/TextConv.h"
#include "win32/WindowObserver.h"
#include "win32/WindowSystem.h"
#include "win32/WindowTree.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace nd::win32::detail {

std::u16string foldName(std::u16string_view name) {
    std::u16string out(name);
    for (auto& c : out) {
        c = static_cast<char16_t>(u_tolower(c));
    }
    return out;
}

System& sys() {
    static System* s = new System;  // lives as long as the process
    return *s;
}

std::u16string propKey(LPCWSTR name) {
    if (name == nullptr) {
        return u"";
    }
    if (IS_INTRESOURCE(name)) {
        return u"#" + nd::text::fromUtf8(std::to_string(reinterpret_cast<UINT_PTR>(name)));
    }
    return foldName(name);
}

std::vector<HWND>& siblingsOf(Window& w) {
    if ((w.style & WS_CHILD) && w.parent) {
        return find(w.parent)->children;
    }
    return sys().topLevel;
}

POINT clientOrigin(HWND handle) {
    POINT p;
    for (Window* w = find(handle); w; w = (w->style & WS_CHILD) ? find(w->parent) : nullptr) {
        p.x += w->rect.left;
        p.y += w->rect.top;
    }
    return p;
}

Window* find(HWND handle) {
    auto it = sys().windows.find(handle);
    return it == sys().windows.end() || !it->second ? nullptr : it->second.get();
}

LRESULT notifyParentCommand(HWND control, WORD code) {
    Window* w = find(control);
    if (!w || !w->parent) {
        return 0;
    }
    return SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code),
                        reinterpret_cast<LPARAM>(control));
}

LRESULT notifyParent(HWND control, NMHDR& header, UINT code) {
    Window* w = find(control);
    if (!w || !w->parent) {
        return 0;
    }
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(w->id);
    header.code = code;
    return SendMessageW(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id),
                        reinterpret_cast<LPARAM>(&header));
}

}  // namespace nd::win32::detail

namespace nd::win32::detail {
void ensureBuiltinClasses();
}  // namespace nd::win32::detail

using nd::win32::announce;
using nd::win32::WindowChange;
using nd::win32::detail::find;
using nd::win32::detail::sys;
using nd::win32::detail::Window;

namespace nd::win32 {

void addWindowObserver(WindowObserver* observer) {
    if (observer) {
        sys().observers.push_back(observer);
    }
}

void removeWindowObserver(WindowObserver* observer) {
    std::erase(sys().observers, observer);
}

void announce(HWND window, WindowChange change) {
    for (WindowObserver* o : sys().observers) {
        o->windowChanged(window, change);
    }
}

CreationHook setCreationHook(CreationHook hook) {
    return std::exchange(sys().hook, hook);
}

std::u16string className(HWND window) {
    Window* w = find(window);
    return w ? w->className : std::u16string();
}

std::u16string windowText(HWND window) {
    int n = GetWindowTextLengthW(window);
    std::u16string out(static_cast<size_t>(n) + 1, u'\0');
    out.resize(static_cast<size_t>(GetWindowTextW(window, out.data(), n + 1)));
    return out;
}

HWND findDescendant(HWND root, int id) {
    Window* w = find(root);
    if (!w) {
        return nullptr;
    }
    HWND hidden = nullptr;
    std::vector<HWND> stack(w->children.rbegin(), w->children.rend());
    while (!stack.empty()) {
        HWND h = stack.back();
        stack.pop_back();
        Window* c = find(h);
        if (!c) {
            continue;
        }
        if (c->id == id) {
            if (IsWindowVisible(h)) {
                return h;
            }
            if (!hidden) {
                hidden = h;
            }
        }
        stack.insert(stack.end(), c->children.rbegin(), c->children.rend());
    }
    return hidden;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> out(sys().topLevel.rbegin(), sys().topLevel.rend());
    return out;
}

}  // namespace nd::win32

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc) {
        return 0;
    }
    auto key = nd::win32::detail::foldName(wc->lpszClassName);
    auto& s = sys();
    if (s.classes.count(key)) {
        return 0;
    }
    s.classes[key] = *wc;
    s.classNames[key] = wc->lpszClassName;
    s.classes[key].lpszClassName = s.classNames[key].c_str();
    return static_cast<ATOM>(0xC000 + s.classes.size());
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    if (!className || IS_INTRESOURCE(className)) {
        return FALSE;
    }
    auto key = nd::win32::detail::foldName(className);
    for (auto& [h, w] : sys().windows) {
        if (w && nd::win32::detail::foldName(w->className) == key) {
            return FALSE;  // still in use
        }
    }
    sys().classNames.erase(key);
    return sys().classes.erase(key) ? TRUE : FALSE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* out) {
    if (!className || IS_INTRESOURCE(className)) {
        return FALSE;
    }
    auto it = sys().classes.find(nd::win32::detail::foldName(className));
    if (it == sys().classes.end()) {
        return FALSE;
    }
    if (out) {
        *out = it->second;
    }
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    nd::win32::detail::ensureBuiltinClasses();
    auto& s = sys();
    if (!className || IS_INTRESOURCE(className)) {
        return nullptr;
    }
    auto cls = s.classes.find(nd::win32::detail::foldName(className));
    if (cls == s.classes.end()) {
        return nullptr;
    }
    if ((style & WS_CHILD) && !find(parent)) {
        return nullptr;
    }
    if (parent && !find(parent)) {
        return nullptr;
    }
    if (!(style & WS_CHILD)) {
        // The owner of a top-level window is always a top-level window.
        while (parent && (find(parent)->style & WS_CHILD)) {
            parent = find(parent)->parent;
        }
    }
    auto record = std::make_unique<Window>();
    HWND h = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;
    Window& w = *record;
    w.handle = h;
    w.className = cls->second.lpszClassName;
    w.proc = cls->second.lpfnWndProc;
    w.instance = instance;
    w.parent = parent;
    w.style = style;
    w.exStyle = exStyle;
    w.id = (style & WS_CHILD) ? static_cast<int>(reinterpret_cast<UINT_PTR>(menu)) : 0;
    w.text = windowName ? windowName : u"";
    w.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    s.windows[h] = std::move(record);
    // New windows go to the bottom of the z-order among their siblings, as
    // dialog controls are created in template order.
    nd::win32::detail::siblingsOf(w).push_back(h);

    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (s.hook) {
        s.hook(h, cs);
    }
    w.invalid = (style & WS_VISIBLE) != 0;
    announce(h, WindowChange::Created);
    if (SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    return IsWindow(h) ? h : nullptr;
}

namespace {

void destroyTree(HWND h) {
    Window* w = find(h);
    if (!w || w->destroying) {
        return;
    }
    w->destroying = true;
    if (sys().focus == h) {
        sys().focus = nullptr;
    }
    SendMessageW(h, WM_DESTROY, 0, 0);
    // Children go after their parent has seen WM_DESTROY, each completely.
    for (;;) {
        w = find(h);
        if (!w || w->children.empty()) {
            break;
        }
        HWND child = w->children.front();
        if (find(child) && !find(child)->destroying) {
            destroyTree(child);
        } else {
            std::erase(w->children, child);
        }
    }
    SendMessageW(h, WM_NCDESTROY, 0, 0);
    announce(h, WindowChange::Destroyed);
    w = find(h);
    if (w) {
        std::erase(nd::win32::detail::siblingsOf(*w), h);
    }
    // Top-level windows owned by this one go too.
    std::vector<HWND> owned;
    for (HWND t : sys().topLevel) {
        if (Window* tw = find(t); tw && tw->parent == h) {
            owned.push_back(t);
        }
    }
    if (sys().active == h) {
        sys().active = nullptr;
    }
    if (sys().capture == h) {
        sys().capture = nullptr;
    }
    if (sys().tracked == h) {
        sys().tracked = nullptr;
    }
    sys().windows.erase(h);
    for (HWND o : owned) {
        destroyTree(o);
    }
}

}  // namespace

namespace nd::win32::detail {
void ensureBuiltinClasses();
void killTimersOf(HWND window);
void dropMessagesFor(HWND window);
}  // namespace nd::win32::detail

BOOL DestroyWindow(HWND window) {
    Window* w = find(window);
    if (!w || w->destroying) {
        return FALSE;
    }
    std::vector<HWND> all{window};
    for (size_t i = 0; i < all.size(); ++i) {
        if (Window* x = find(all[i])) {
            all.insert(all.end(), x->children.begin(), x->children.end());
        }
    }
    destroyTree(window);
    for (HWND h : all) {
        nd::win32::detail::killTimersOf(h);
        nd::win32::detail::dropMessagesFor(h);
    }
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return find(window) ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(window);
    if (!w || !w->proc) {
        return 0;
    }
    return w->proc(window, message, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(window, message, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(window);
    if (!w) {
        return 0;
    }
    switch (message) {
        case WM_SETTEXT: {
            auto text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : u"";
            if (text != w->text) {
                w->text = std::move(text);
                announce(window, WindowChange::Text);
            }
            return TRUE;
        }
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPWSTR>(lParam);
            if (!buffer || wParam == 0) {
                return 0;
            }
            size_t n = std::min<size_t>(w->text.size(), wParam - 1);
            std::copy_n(w->text.data(), n, buffer);
            buffer[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_SETFONT:
            w->font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(w->font);
        case WM_SETICON: {
            HICON old = w->icons.count(wParam) ? w->icons[wParam] : nullptr;
            w->icons[wParam] = reinterpret_cast<HICON>(lParam);
            announce(window, WindowChange::Content);
            return reinterpret_cast<LRESULT>(old);
        }
        case WM_GETICON:
            return w->icons.count(wParam) ? reinterpret_cast<LRESULT>(w->icons[wParam]) : 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_PAINT:
            w->invalid = false;  // nothing to draw, but the window is valid again
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_F1) {
                HELPINFO info;
                info.iContextType = HELPINFO_WINDOW;
                info.iCtrlId = w->id;
                info.hItemHandle = window;
                GetCursorPos(&info.MousePos);
                SendMessageW(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            }
            return 0;
        case WM_HELP:
            // Unanswered help requests travel up to the parent, as on the system.
            if ((w->style & WS_CHILD) && w->parent) {
                return SendMessageW(w->parent, WM_HELP, wParam, lParam);
            }
            return 0;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return 0;
        default:
            return 0;
    }
}
