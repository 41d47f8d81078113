// The mouse as a person uses it on a control: resting on it, pressing and
// letting go of the button as separate acts (so that what is drawn while the
// button is held can be seen), and dragging a dialog's border.
#include "win32/Controls.h"
#include "win32/MessageLoop.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

namespace nd::win32 {
namespace {

// Dialogs larger than this are no size a screen shows.
constexpr int kLargestSide = 16384;

// The centre of the control in the dialog's client coordinates.
POINT centreIn(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &p);
    return p;
}

// The window that gets a mouse message at the cursor: the captor, else the
// deepest visible, enabled window under it.
HWND mouseTarget(HWND dialog, POINT screen) {
    if (HWND capture = GetCapture()) {
        return capture;
    }
    HWND target = nullptr;
    POINT local = screen;
    ScreenToClient(dialog, &local);
    for (HWND h = dialog; h;) {
        HWND child = ChildWindowFromPointEx(h, local, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (!child) {
            break;
        }
        target = child;
        if (child == h) {
            break;
        }
        local = screen;
        ScreenToClient(child, &local);
        h = child;
    }
    return target;
}

}  // namespace

std::string userHover(HWND dialog, HWND control) {
    if (!IsWindow(dialog) || !IsWindow(control)) {
        return "no such control";
    }
    if (!IsWindowVisible(control)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " is hidden";
    }
    return userMoveMouse(dialog, centreIn(dialog, control));
}

std::string userMouseButton(HWND dialog, HWND control, bool down) {
    if (auto why = detail::unusable(control); !why.empty()) {
        return why;
    }
    if (auto why = userMoveMouse(dialog, centreIn(dialog, control)); !why.empty()) {
        return why;
    }
    POINT screen;
    GetCursorPos(&screen);
    HWND target = mouseTarget(dialog, screen);
    if (!target) {
        return "nothing is under the mouse";
    }
    if (down) {
        // A press moves the focus as a click does.
        SetFocus(target);
    }
    POINT p = screen;
    ScreenToClient(target, &p);
    PostMessageW(target, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0,
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    pumpMessages();
    return {};
}

std::string userResize(HWND dialog, int width, int height) {
    if (!IsWindow(dialog)) {
        return "the dialog is gone";
    }
    if (!(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_THICKFRAME)) {
        return "the dialog cannot be resized";
    }
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return "a dialog's size must be 1 to " + std::to_string(kLargestSide) + " pixels";
    }
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    return {};
}

}  // namespace nd::win32
