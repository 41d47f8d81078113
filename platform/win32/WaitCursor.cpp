#include "win32/WaitCursor.h"

namespace nd::win32 {

namespace {

int g_depth = 0;

std::function<void(bool)>& listener() {
    static std::function<void(bool)> heard;
    return heard;
}

}  // namespace

void beginWaitCursor() {
    if (g_depth++ == 0 && listener()) {
        listener()(true);
    }
}

void endWaitCursor() {
    // An end without a begin must not leave the count below zero, or the
    // next wait would never show.
    if (g_depth == 0) {
        return;
    }
    if (--g_depth == 0 && listener()) {
        listener()(false);
    }
}

bool waitCursorShown() {
    return g_depth > 0;
}

void setWaitCursorListener(std::function<void(bool)> heard) {
    listener() = std::move(heard);
}

}  // namespace nd::win32
