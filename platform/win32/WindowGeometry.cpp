// Rectangles, coordinates and hit testing.
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

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Window* w = find(window);
    if (!w || !rect) {
        return FALSE;
    }
    POINT o = nd::win32::detail::clientOrigin(window);
    *rect =
        RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Window* w = find(window);
    if (!w || !rect) {
        return FALSE;
    }
    *rect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = find(window);
    if (!w) {
        return FALSE;
    }
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        OffsetRect(&r, x - r.left, y - r.top);
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    bool moved = !EqualRect(&r, &w->rect);
    w->rect = r;
    if (moved) {
        announce(window, WindowChange::Geometry);
        SendMessageW(window, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(r.left), static_cast<WORD>(r.top)));
        SendMessageW(
            window, WM_SIZE, 0,
            MAKELPARAM(static_cast<WORD>(r.right - r.left), static_cast<WORD>(r.bottom - r.top)));
    }
    if (!(flags & SWP_NOZORDER) && find(window)) {
        auto& sib = nd::win32::detail::siblingsOf(*find(window));
        std::erase(sib, window);
        auto at = sib.begin();
        if (insertAfter == HWND_BOTTOM) {
            at = sib.end();
        } else if (insertAfter) {
            auto it = std::find(sib.begin(), sib.end(), insertAfter);
            at = it == sib.end() ? sib.begin() : it + 1;
        }
        sib.insert(at, window);
        announce(window, WindowChange::ZOrder);
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(window, SW_SHOWNA);
    } else if (flags & SWP_HIDEWINDOW) {
        ShowWindow(window, SW_HIDE);
    }
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    if (!find(window) || !point) {
        return FALSE;
    }
    POINT o = nd::win32::detail::clientOrigin(window);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    if (!find(window) || !point) {
        return FALSE;
    }
    POINT o = nd::win32::detail::clientOrigin(window);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    if ((from && !find(from)) || (to && !find(to))) {
        return 0;
    }
    POINT a = from ? nd::win32::detail::clientOrigin(from) : POINT{};
    POINT b = to ? nd::win32::detail::clientOrigin(to) : POINT{};
    LONG dx = a.x - b.x;
    LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    Window* w = find(parent);
    if (!w) {
        return nullptr;
    }
    RECT client;
    GetClientRect(parent, &client);
    if (!PtInRect(&client, point)) {
        return nullptr;
    }
    for (HWND c : w->children) {
        Window* cw = find(c);
        if (!cw || !PtInRect(&cw->rect, point)) {
            continue;
        }
        if ((flags & CWP_SKIPINVISIBLE) && !(cw->style & WS_VISIBLE)) {
            continue;
        }
        if ((flags & CWP_SKIPDISABLED) && (cw->style & WS_DISABLED)) {
            continue;
        }
        if ((flags & CWP_SKIPTRANSPARENT) && (cw->exStyle & WS_EX_TRANSPARENT)) {
            continue;
        }
        return c;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) {
        return FALSE;
    }
    *point = sys().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    sys().cursor = POINT{x, y};
    return TRUE;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) {
        return FALSE;
    }
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL IsRectEmpty(const RECT* rect) {
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL PtInRect(const RECT* rect, POINT p) {
    return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect) {
        return FALSE;
    }
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect) {
        return FALSE;
    }
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b) {
    if (!out || !a || !b) {
        return FALSE;
    }
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *out = RECT{};
        return FALSE;
    }
    *out = r;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    long long v = static_cast<long long>(number) * numerator;
    long long half = (denominator < 0 ? -denominator : denominator) / 2;
    long long r =
        ((v < 0) != (denominator < 0)) ? (v - half) / denominator : (v + half) / denominator;
    return static_cast<int>(r);
}
