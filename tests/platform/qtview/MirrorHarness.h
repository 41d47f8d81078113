// What the front end's tests share: a mirror for the test's lifetime and a
// UI step that acts on the Qt widgets once they are up to date.
#pragma once

#include "qtview/WindowMirror.h"
#include "win32/ScriptedDriver.h"
#include "win32/Window.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace ndtest {

class MirrorTest : public ::testing::Test {
  protected:
    nd::qtview::WindowMirror mirror;

    // A step that works on the widgets, as a person would.
    nd::win32::UiStep onQt(std::function<void(HWND)> act) {
        return nd::win32::UiStep::run([this, act](HWND dialog) {
            mirror.flush();
            act(dialog);
        });
    }

    template <typename W>
    W* widget(HWND dialog, int id) {
        mirror.flush();
        auto* w = qobject_cast<W*>(mirror.widgetFor(GetDlgItem(dialog, id)));
        EXPECT_NE(w, nullptr) << "control " << id << " has no widget of the expected kind";
        return w;
    }
};

// A window's rectangle in its parent's client coordinates.
inline QRect rectInParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<LPPOINT>(&r), 2);
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// How many different colours a picture has: a blank one has one or two.
int colourCount(const QImage& image);

}  // namespace ndtest
