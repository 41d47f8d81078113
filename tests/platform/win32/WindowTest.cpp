#include "win32/Dialog.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

HWND makeParent(int x = 100, int y = 50) {
    return CreateWindowExW(0, WC_STATIC, u"parent", WS_POPUP | WS_VISIBLE, x, y, 200, 100, nullptr,
                           nullptr, nullptr, nullptr);
}

HWND makeChild(HWND parent, int id, RECT r, DWORD style = WS_VISIBLE, DWORD ex = 0) {
    return CreateWindowExW(ex, WC_STATIC, u"", WS_CHILD | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

struct Recorder : nd::win32::WindowObserver {
    std::vector<std::pair<HWND, nd::win32::WindowChange>> seen;
    void windowChanged(HWND w, nd::win32::WindowChange c) override { seen.emplace_back(w, c); }
    bool saw(HWND w, nd::win32::WindowChange c) const {
        return std::find(seen.begin(), seen.end(), std::make_pair(w, c)) != seen.end();
    }
};

}  // namespace

TEST(Window, ChildrenWalkInCreationOrderFromTheTop) {
    HWND parent = makeParent();
    HWND a = makeChild(parent, 1, {0, 0, 10, 10});
    HWND b = makeChild(parent, 2, {10, 0, 20, 10});
    HWND c = makeChild(parent, 3, {20, 0, 30, 10});
    EXPECT_EQ(GetTopWindow(parent), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetDlgItem(parent, 2), b);
    EXPECT_EQ(GetDlgCtrlID(c), 3);
    EXPECT_EQ(GetParent(b), parent);
    EXPECT_TRUE(IsChild(parent, c));
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(parent), c);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(parent));
}

TEST(Window, StateChangesReturnThePreviousStateAndAreAnnounced) {
    Recorder rec;
    nd::win32::addWindowObserver(&rec);
    HWND parent = makeParent();
    HWND child = makeChild(parent, 7, {0, 0, 10, 10});
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_TRUE(EnableWindow(child, TRUE));    // was disabled
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));   // was visible
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(child, SW_SHOW);
    ShowWindow(parent, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child)) << "a hidden parent hides its children";
    SetWindowTextW(child, u"text");
    EXPECT_EQ(nd::win32::windowText(child), u"text");
    EXPECT_TRUE(rec.saw(child, nd::win32::WindowChange::Created));
    EXPECT_TRUE(rec.saw(child, nd::win32::WindowChange::Enabled));
    EXPECT_TRUE(rec.saw(child, nd::win32::WindowChange::Visible));
    EXPECT_TRUE(rec.saw(child, nd::win32::WindowChange::Text));
    DestroyWindow(parent);
    EXPECT_TRUE(rec.saw(child, nd::win32::WindowChange::Destroyed));
    nd::win32::removeWindowObserver(&rec);
}

TEST(Window, FocusLeavesAWindowThatIsDisabledOrDestroyed) {
    HWND parent = makeParent();
    HWND child = makeChild(parent, 1, {0, 0, 10, 10});
    SetFocus(child);
    EXPECT_EQ(GetFocus(), child);
    EnableWindow(child, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(child), nullptr) << "a disabled window cannot take the focus";
    EnableWindow(child, TRUE);
    SetFocus(child);
    DestroyWindow(parent);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST(Window, CoordinatesMapBetweenClientAreasAndTheScreen) {
    HWND parent = makeParent(100, 50);
    HWND child = makeChild(parent, 1, {10, 20, 60, 40});
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 110);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right, 160);
    GetClientRect(child, &r);
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 20);
    POINT p{5, 5};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 115);
    EXPECT_EQ(p.y, 75);
    ScreenToClient(parent, &p);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 25);
    POINT q{0, 0};
    MapWindowPoints(child, parent, &q, 1);
    EXPECT_EQ(q.x, 10);
    EXPECT_EQ(q.y, 20);
    DestroyWindow(parent);
}

TEST(Window, ChildWindowFromPointExHonoursEachSkipFlag) {
    HWND parent = makeParent();
    // Three stacked children at the same place, topmost first.
    HWND hidden = makeChild(parent, 1, {0, 0, 50, 50}, 0);
    HWND disabled = makeChild(parent, 2, {0, 0, 50, 50}, WS_VISIBLE | WS_DISABLED);
    HWND transparent = makeChild(parent, 3, {0, 0, 50, 50}, WS_VISIBLE, WS_EX_TRANSPARENT);
    HWND plain = makeChild(parent, 4, {0, 0, 50, 50});
    POINT in{10, 10};
    EXPECT_EQ(ChildWindowFromPointEx(parent, in, CWP_ALL), hidden);
    EXPECT_EQ(ChildWindowFromPointEx(parent, in, CWP_SKIPINVISIBLE), disabled);
    EXPECT_EQ(ChildWindowFromPointEx(parent, in, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED),
              transparent);
    EXPECT_EQ(ChildWindowFromPointEx(parent, in, CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT), hidden);
    EXPECT_EQ(ChildWindowFromPointEx(parent, in,
                                     CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT),
              plain);
    EXPECT_EQ(ChildWindowFromPointEx(parent, POINT{150, 80}, CWP_ALL), parent)
        << "inside the parent but on no child";
    EXPECT_EQ(ChildWindowFromPointEx(parent, POINT{250, 10}, CWP_ALL), nullptr)
        << "outside the parent";
    EXPECT_EQ(ChildWindowFromPointEx(parent, POINT{50, 10}, CWP_ALL), parent)
        << "the right edge belongs to the neighbour";
    DestroyWindow(parent);
}

TEST(Window, PropertiesAreKeptPerWindowUntilRemoved) {
    HWND w = makeParent();
    EXPECT_TRUE(SetPropW(w, u"Marker", reinterpret_cast<HANDLE>(1)));
    EXPECT_EQ(GetPropW(w, u"MARKER"), reinterpret_cast<HANDLE>(1)) << "names ignore case";
    EXPECT_EQ(RemovePropW(w, u"marker"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropW(w, u"Marker"), nullptr);
    DestroyWindow(w);
    EXPECT_FALSE(SetPropW(w, u"Marker", nullptr)) << "a dead handle takes nothing";
}

TEST(Window, MessagesToADeadHandleDoNothing) {
    HWND w = makeParent();
    DestroyWindow(w);
    EXPECT_EQ(SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"x")), 0);
    EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), 0);
    EXPECT_FALSE(DestroyWindow(w));
}

TEST(Window, AnObserverSeesADialogBuiltParentFirstAndEachControlChange) {
    Recorder rec;
    nd::win32::addWindowObserver(&rec);
    const BYTE templ[] = {
        // DLGTEMPLATE: style WS_POPUP|WS_VISIBLE, 1 item, 0,0,40,20, no menu/class/title
        0x00, 0x00, 0x00, 0x90, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 40, 0, 20, 0, 0, 0, 0, 0, 0, 0,
        // item: style WS_CHILD|WS_VISIBLE|BS_AUTOCHECKBOX, 0,0,30,10, id 7, Button, no title
        0x03, 0x00, 0x00, 0x50, 0, 0, 0, 0, 0, 0, 0, 0, 30, 0, 10, 0, 7, 0, 0xFF, 0xFF, 0x80, 0, 0,
        0, 0, 0};
    HWND dlg = CreateDialogIndirectParamW(nullptr, templ, nullptr, nullptr, 0);
    ASSERT_TRUE(dlg);
    HWND box = GetDlgItem(dlg, 7);
    ASSERT_TRUE(box);
    auto created = std::find(rec.seen.begin(), rec.seen.end(),
                             std::make_pair(dlg, nd::win32::WindowChange::Created));
    auto child = std::find(rec.seen.begin(), rec.seen.end(),
                           std::make_pair(box, nd::win32::WindowChange::Created));
    EXPECT_LT(created, child) << "the parent exists before its controls";
    EXPECT_TRUE(rec.saw(dlg, nd::win32::WindowChange::Visible)) << "shown after its controls";
    rec.seen.clear();
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(rec.saw(box, nd::win32::WindowChange::Content));
    DestroyWindow(dlg);
    EXPECT_TRUE(rec.saw(box, nd::win32::WindowChange::Destroyed));
    nd::win32::removeWindowObserver(&rec);
}
