#include "win32/MessageLoop.h"

#include "win32/Dialog.h"
#include "win32/Window.h"
#include "win32/WindowTree.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    DWORD period;
    std::uint64_t due;
    TIMERPROC proc;
    std::uint64_t serial;
};

struct Loop {
    std::deque<MSG> queue;
    std::vector<Timer> timers;
    std::uint64_t now = 0;
    std::uint64_t serial = 0;
    nd::win32::PreTranslateHook hook = nullptr;
    UINT_PTR nextTimerId = 1;
};

Loop& loop() {
    static Loop* l = new Loop;
    return *l;
}

bool matches(const MSG& m, HWND window, UINT lo, UINT hi) {
    if (window && m.hwnd != window && !IsChild(window, m.hwnd)) {
        return false;
    }
    return (lo == 0 && hi == 0) || (m.message >= lo && m.message <= hi);
}

void paintInvalidWindows() {
    // Paint parents before children, as the system does.
    std::vector<HWND> order;
    for (HWND top : nd::win32::topLevelWindows()) {
        order.push_back(top);
        for (size_t i = order.size() - 1; i < order.size(); ++i) {
            if (auto* w = nd::win32::detail::find(order[i])) {
                order.insert(order.end(), w->children.rbegin(), w->children.rend());
            }
        }
    }
    for (HWND h : order) {
        auto* w = nd::win32::detail::find(h);
        if (w && w->invalid && IsWindowVisible(h)) {
            SendMessageW(h, WM_PAINT, 0, 0);
            if (auto* again = nd::win32::detail::find(h)) {
                again->invalid = false;  // a window that does not paint is validated
            }
        }
    }
}

}  // namespace

namespace nd::win32::detail {

void killTimersOf(HWND window) {
    std::erase_if(loop().timers, [&](const Timer& t) { return t.window == window; });
}

void dropMessagesFor(HWND window) {
    std::erase_if(loop().queue, [&](const MSG& m) { return m.hwnd == window; });
}

}  // namespace nd::win32::detail

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window)) {
        return FALSE;
    }
    MSG m;
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    GetCursorPos(&m.pt);
    loop().queue.push_back(m);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    auto& q = loop().queue;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (matches(*it, window, filterMin, filterMax)) {
            if (msg) {
                *msg = *it;
            }
            if (remove & PM_REMOVE) {
                q.erase(it);
            }
            return TRUE;
        }
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !msg->hwnd) {
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (window && !IsWindow(window)) {
        return 0;
    }
    auto& l = loop();
    if (!window) {
        id = l.nextTimerId++;
    }
    // Windows clamps periods below 10 ms.
    DWORD period = std::max<DWORD>(elapse, 10);
    for (auto& t : l.timers) {
        if (t.window == window && t.id == id) {
            t.period = period;
            t.due = l.now + period;
            t.proc = proc;
            return window ? 1 : id;
        }
    }
    l.timers.push_back(Timer{window, id, period, l.now + period, proc, l.serial++});
    return window ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = loop().timers;
    auto n =
        std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    std::erase_if(loop().queue, [&](const MSG& m) {
        return m.hwnd == window && m.message == WM_TIMER && m.wParam == id;
    });
    return n ? TRUE : FALSE;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(loop().now);
}

namespace nd::win32 {

PreTranslateHook setPreTranslateHook(PreTranslateHook hook) {
    return std::exchange(loop().hook, hook);
}

int pumpMessages() {
    // A window that posts to itself on every message would keep this loop
    // busy for ever; past the limit the rest waits for the next round, so the
    // modal loop and its driver still get their turn.
    constexpr int kLimit = 10000;
    int delivered = 0;
    while (delivered < kLimit) {
        MSG m;
        if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            break;
        }
        if (m.message == WM_QUIT || (m.hwnd && !IsWindow(m.hwnd))) {
            continue;
        }
        ++delivered;
        if (loop().hook && loop().hook(m)) {
            continue;
        }
        HWND dialog = dialogOf(m.hwnd);
        if (dialog && IsDialogMessageW(dialog, &m)) {
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    paintInvalidWindows();
    return delivered;
}

void advanceClock(DWORD milliseconds) {
    auto& l = loop();
    const std::uint64_t target = l.now + milliseconds;
    for (;;) {
        auto next =
            std::min_element(l.timers.begin(), l.timers.end(), [](const Timer& a, const Timer& b) {
                return a.due != b.due ? a.due < b.due : a.serial < b.serial;
            });
        if (next == l.timers.end() || next->due > target) {
            break;
        }
        // A handler may have run a nested loop that moved the clock further.
        l.now = std::max(l.now, next->due);
        next->due = std::max(next->due + next->period, l.now + 1);
        MSG m;
        m.hwnd = next->window;
        m.message = WM_TIMER;
        m.wParam = next->id;
        m.lParam = reinterpret_cast<LPARAM>(next->proc);
        m.time = GetTickCount();
        GetCursorPos(&m.pt);
        if (!next->window) {
            if (next->proc) {
                next->proc(nullptr, WM_TIMER, next->id, m.time);
            }
        } else {
            // The system never queues a second WM_TIMER for the same timer.
            bool queued = std::any_of(l.queue.begin(), l.queue.end(), [&](const MSG& q) {
                return q.hwnd == m.hwnd && q.message == WM_TIMER && q.wParam == m.wParam;
            });
            if (!queued) {
                l.queue.push_back(m);
            }
        }
        pumpMessages();
    }
    l.now = std::max(l.now, target);
    pumpMessages();
}

bool hasTimer(HWND window, UINT_PTR id) {
    return std::any_of(loop().timers.begin(), loop().timers.end(),
                       [&](const Timer& t) { return t.window == window && t.id == id; });
}

}  // namespace nd::win32
