// Windows, messages, focus, geometry and properties of the headless window
// system. All state lives here; nothing is drawn on a screen. Functions given
// a handle that is not a live window fail the way the system does (0, null or
// FALSE) and change nothing.
#pragma once

#include "win32/windows.h"

#include <string>
#include <vector>

struct WNDCLASSW {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCWSTR lpszMenuName = nullptr;
    LPCWSTR lpszClassName = nullptr;
};

struct CREATESTRUCTW {
    LPVOID lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    LPCWSTR lpszName = nullptr;
    LPCWSTR lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

// Classes: 0 when the name is taken or missing. Class names compare without case.
ATOM RegisterClassW(const WNDCLASSW* wc);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* out);

// A child takes its id from `menu`. Null when the class is unknown, a child
// has no live parent, or WM_CREATE answers -1.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the oldest posted message (for `window` and its children, or any
// with null) when there is one; never waits.
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
inline LONG GetWindowLongW(HWND window, int index) {
    return static_cast<LONG>(GetWindowLongPtrW(window, index));
}
inline LONG SetWindowLongW(HWND window, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrW(window, index, value));
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size);
int GetWindowTextLengthW(HWND window);
BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetClassNameW(HWND window, LPWSTR buffer, int size);

HWND GetParent(HWND window);
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND window, UINT relation);
HWND GetTopWindow(HWND window);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
BOOL IsChild(HWND parent, HWND window);

// Both return the previous state: EnableWindow TRUE when the window was
// disabled, ShowWindow TRUE when it was visible.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL ShowWindow(HWND window, int command);
// TRUE only when the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND window);

HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);

// There is no non-client area: a window's client area is its whole rectangle.
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ScreenToClient(HWND window, LPPOINT point);
BOOL ClientToScreen(HWND window, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
// The child containing the point (client coordinates of `parent`), the
// parent itself when no child that passes the skip flags does, null when the
// point is outside the parent.
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
HWND ChildWindowFromPoint(HWND parent, POINT point);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);

// Mouse capture: while a window has it, mouse moves go to it wherever the
// cursor is.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// Asks for WM_MOUSELEAVE when the cursor leaves the window (TME_LEAVE).
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
// The normal position is the window rectangle (parent client coordinates
// for children, the screen for top-level windows).
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);

namespace nd::win32 {
// The window tracked for WM_MOUSELEAVE, null when none.
HWND mouseTracked();
void clearMouseTracking();
}  // namespace nd::win32

// The high bit is set while the key is held down (only Shift is tracked:
// the UI driver holds it around a shifted key press).
SHORT GetKeyState(int virtualKey);

namespace nd::win32 {
void setKeyDown(UINT virtualKey, bool down);
}  // namespace nd::win32

BOOL SetPropW(HWND window, LPCWSTR name, HANDLE data);
HANDLE GetPropW(HWND window, LPCWSTR name);
HANDLE RemovePropW(HWND window, LPCWSTR name);

namespace nd::win32 {
// A top-level window its program placed itself (a remembered placement)
// carries this property; a front end then leaves its place alone instead of
// centring it.
inline constexpr char16_t kPlacedByProgram[] = u"nd.placedByProgram";
}  // namespace nd::win32

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);

// Rectangle helpers.
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL InflateRect(LPRECT rect, int dx, int dy);
BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
int MulDiv(int number, int numerator, int denominator);

namespace nd::win32 {

// Called right after a window's record exists and before it gets any
// message (the framework attaches its objects here). One hook at a time;
// returns the previous one.
using CreationHook = void (*)(HWND window, const CREATESTRUCTW& create);
CreationHook setCreationHook(CreationHook hook);

// The class name of a window, as registered.
std::u16string className(HWND window);
// The window text without a buffer.
std::u16string windowText(HWND window);
// The first descendant with this id, searching depth first in z-order and
// preferring visible windows; null when there is none.
HWND findDescendant(HWND root, int id);
// Every live top-level window, oldest first.
std::vector<HWND> topLevelWindows();

}  // namespace nd::win32
