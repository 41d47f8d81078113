// A parent window that records the notifications its controls send, for the
// control tests.
#pragma once

#include "win32/Window.h"

#include <functional>
#include <vector>

namespace ndtest {

struct Note {
    UINT message;  // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM ...
    int id;
    UINT code;
    friend bool operator==(const Note&, const Note&) = default;
};

class ControlHarness {
  public:
    ControlHarness();
    ~ControlHarness();
    ControlHarness(const ControlHarness&) = delete;
    ControlHarness& operator=(const ControlHarness&) = delete;

    HWND make(const char16_t* cls, DWORD style, int id, const char16_t* text = u"",
              RECT r = RECT{0, 0, 100, 20});
    HWND parent() const { return m_parent; }

    std::vector<Note> notes;
    // Answers a WM_NOTIFY (for refusals); 0 by default.
    std::function<LRESULT(NMHDR*)> onNotify;

  private:
    static LRESULT proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_parent;
};

}  // namespace ndtest
