#include "ControlHarness.h"
#include "win32/MessageLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::pair<HWND, UINT_PTR>> g_ticks;
std::vector<UINT> g_messages;

LRESULT recorder(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        g_ticks.emplace_back(h, wParam);
        if (wParam == 99) {
            KillTimer(h, 99);  // a one-shot timer stops itself
        }
        return 0;
    }
    if (message >= WM_USER) {
        g_messages.push_back(message);
        return 0;
    }
    return DefWindowProcW(h, message, wParam, lParam);
}

struct Window {
    HWND h;
    Window() {
        WNDCLASSW wc;
        wc.lpfnWndProc = recorder;
        wc.lpszClassName = u"NdTimerTest";
        RegisterClassW(&wc);
        h = CreateWindowExW(0, u"NdTimerTest", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr);
        g_ticks.clear();
        g_messages.clear();
    }
    ~Window() { DestroyWindow(h); }
};

bool g_swallow = false;
bool swallowUser1(MSG& m) {
    return g_swallow && m.message == WM_USER + 1;
}

}  // namespace

TEST(MessageLoop, PostedMessagesArriveInOrderAndThePreTranslateHookMayTakeThem) {
    Window w;
    auto previous = nd::win32::setPreTranslateHook(swallowUser1);
    g_swallow = true;
    PostMessageW(w.h, WM_USER + 2, 0, 0);
    PostMessageW(w.h, WM_USER + 1, 0, 0);
    PostMessageW(w.h, WM_USER + 3, 0, 0);
    EXPECT_TRUE(g_messages.empty()) << "nothing arrives before the loop runs";
    EXPECT_EQ(nd::win32::pumpMessages(), 3);
    g_swallow = false;
    nd::win32::setPreTranslateHook(previous);
    EXPECT_EQ(g_messages, (std::vector<UINT>{WM_USER + 2, WM_USER + 3}));
}

TEST(MessageLoop, TimersFireAtTheirOwnTimesInOrder) {
    Window w;
    SetTimer(w.h, 1, 300, nullptr);
    SetTimer(w.h, 2, 200, nullptr);
    SetTimer(w.h, 99, 250, nullptr);
    nd::win32::advanceClock(650);
    std::vector<UINT_PTR> ids;
    for (auto& t : g_ticks) {
        ids.push_back(t.second);
    }
    // 200: 2, 250: 99 (then stopped), 300: 1, 400: 2, 600: 1 and 2 (1 was set first)
    EXPECT_EQ(ids, (std::vector<UINT_PTR>{2, 99, 1, 2, 1, 2}));
    EXPECT_FALSE(nd::win32::hasTimer(w.h, 99));
    EXPECT_TRUE(nd::win32::hasTimer(w.h, 1));
}

TEST(MessageLoop, SettingATimerAgainRestartsItsPeriod) {
    Window w;
    SetTimer(w.h, 5, 100, nullptr);
    nd::win32::advanceClock(90);
    SetTimer(w.h, 5, 100, nullptr);
    nd::win32::advanceClock(90);
    EXPECT_TRUE(g_ticks.empty());
    nd::win32::advanceClock(10);
    EXPECT_EQ(g_ticks.size(), 1u);
}

TEST(MessageLoop, ADestroyedWindowLosesItsTimersAndQueuedMessages) {
    HWND gone;
    {
        Window w;
        gone = w.h;
        SetTimer(w.h, 7, 10, nullptr);
        PostMessageW(w.h, WM_USER + 5, 0, 0);
    }
    EXPECT_FALSE(nd::win32::hasTimer(gone, 7));
    nd::win32::advanceClock(100);
    EXPECT_TRUE(g_ticks.empty());
    EXPECT_TRUE(g_messages.empty());
}

TEST(MessageLoop, TheClockMovesOnlyWhenAdvanced) {
    DWORD before = GetTickCount();
    nd::win32::pumpMessages();
    EXPECT_EQ(GetTickCount(), before);
    nd::win32::advanceClock(1234);
    EXPECT_EQ(GetTickCount(), before + 1234);
}

namespace {
LRESULT echo(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 9) {
        PostMessageW(h, WM_USER + 9, 0, 0);  // for ever
        return 0;
    }
    return DefWindowProcW(h, message, wParam, lParam);
}
}  // namespace

TEST(MessageLoop, AWindowThatKeepsPostingToItselfDoesNotHoldTheLoopForEver) {
    WNDCLASSW wc;
    wc.lpfnWndProc = echo;
    wc.lpszClassName = u"NdEchoTest";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, u"NdEchoTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                             nullptr);
    PostMessageW(h, WM_USER + 9, 0, 0);
    EXPECT_EQ(nd::win32::pumpMessages(), 10000);
    DestroyWindow(h);
    EXPECT_EQ(nd::win32::pumpMessages(), 0) << "its messages went with it";
}
