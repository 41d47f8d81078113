// Progress bars: a range, a position kept inside it, and a step.
#include "win32/CommCtrl.h"
#include "win32/Controls.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <algorithm>

namespace nd::win32::detail {
namespace {

struct ProgressState : ControlState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
};

ProgressState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<ProgressState>();
    }
    return *static_cast<ProgressState*>(w->control.get());
}

// Sets the position, clamped to the range; the previous position.
LRESULT moveTo(HWND h, long long pos) {
    auto& s = state(h);
    int old = s.pos;
    int clamped = static_cast<int>(std::clamp<long long>(pos, s.low, std::max(s.low, s.high)));
    if (clamped != s.pos) {
        s.pos = clamped;
        announce(h, WindowChange::Content);
        InvalidateRect(h, nullptr, TRUE);
    }
    return old;
}

// A new range; the position is kept inside it. The previous range as
// MAKELPARAM(low, high), as the 16-bit message answers.
LRESULT setRange(HWND h, int low, int high) {
    auto& s = state(h);
    LRESULT old = MAKELPARAM(static_cast<WORD>(s.low), static_cast<WORD>(s.high));
    s.low = low;
    s.high = high;
    s.pos = std::clamp(s.pos, s.low, std::max(s.low, s.high));
    announce(h, WindowChange::Content);
    return old;
}

}  // namespace

LRESULT progressBarProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case PBM_SETRANGE:
            return setRange(h, LOWORD(static_cast<DWORD_PTR>(lParam)),
                            HIWORD(static_cast<DWORD_PTR>(lParam)));
        case PBM_SETRANGE32:
            return setRange(h, static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_GETRANGE: {
            auto& s = state(h);
            if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) {
                range->iLow = s.low;
                range->iHigh = s.high;
            }
            return wParam ? s.low : s.high;
        }
        case PBM_SETPOS:
            return moveTo(h, static_cast<int>(wParam));
        case PBM_DELTAPOS:
            return moveTo(h, static_cast<long long>(state(h).pos) + static_cast<int>(wParam));
        case PBM_GETPOS:
            return state(h).pos;
        case PBM_SETSTEP: {
            int old = state(h).step;
            state(h).step = static_cast<int>(wParam);
            return old;
        }
        case PBM_STEPIT: {
            // Stepping past the end wraps round to the start, as the bar does.
            auto& s = state(h);
            long long next = static_cast<long long>(s.pos) + s.step;
            if (next > s.high) {
                next = s.low + (next - s.high) % std::max(1, s.high - s.low);
            }
            return moveTo(h, next);
        }
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
