#include "win32/UserInput.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::pair<HWND, UINT>> g_seen;

LRESULT watcher(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) {
        g_seen.emplace_back(h, message);
        if (message == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = h;
            TrackMouseEvent(&track);
        }
        return 0;
    }
    return DefWindowProcW(h, message, wParam, lParam);
}

struct Scene {
    HWND top;
    HWND a;
    HWND b;
    Scene() {
        WNDCLASSW wc;
        wc.lpfnWndProc = watcher;
        wc.lpszClassName = u"NdMouseTest";
        RegisterClassW(&wc);
        top = CreateWindowExW(0, u"NdMouseTest", u"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
        a = CreateWindowExW(0, u"NdMouseTest", u"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top,
                            reinterpret_cast<HMENU>(1), nullptr, nullptr);
        b = CreateWindowExW(0, u"NdMouseTest", u"", WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, top,
                            reinterpret_cast<HMENU>(2), nullptr, nullptr);
        g_seen.clear();
    }
    ~Scene() { DestroyWindow(top); }
};

}  // namespace

TEST(Mouse, MovesGoToTheWindowUnderTheCursorAndATrackedWindowHearsItLeave) {
    Scene s;
    nd::win32::userMoveMouse(s.top, POINT{10, 10});
    nd::win32::userMoveMouse(s.top, POINT{70, 10});
    nd::win32::userMoveMouse(s.top, POINT{500, 500});
    std::vector<std::pair<HWND, UINT>> expected{
        {s.a, WM_MOUSEMOVE}, {s.a, WM_MOUSELEAVE}, {s.b, WM_MOUSEMOVE}, {s.b, WM_MOUSELEAVE}};
    EXPECT_EQ(g_seen, expected);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 600);
    EXPECT_EQ(p.y, 600);
}

TEST(Mouse, ACapturedMouseReportsToItsCaptorWherever) {
    Scene s;
    SetCapture(s.a);
    nd::win32::userMoveMouse(s.top, POINT{70, 10});
    ASSERT_FALSE(g_seen.empty());
    EXPECT_EQ(g_seen.front(), std::make_pair(s.a, WM_MOUSEMOVE));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(s.a);
    EXPECT_EQ(nd::win32::mouseTracked(), nullptr) << "a destroyed window is not tracked";
}
