#include "ControlHarness.h"

namespace ndtest {
namespace {
ControlHarness* g_current = nullptr;
}

ControlHarness::ControlHarness() {
    WNDCLASSW wc;
    wc.lpfnWndProc = &ControlHarness::proc;
    wc.lpszClassName = u"NdTestParent";
    RegisterClassW(&wc);  // a second registration fails harmlessly
    g_current = this;
    m_parent = CreateWindowExW(0, u"NdTestParent", u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                               nullptr, nullptr, nullptr, nullptr);
}

ControlHarness::~ControlHarness() {
    DestroyWindow(m_parent);
    g_current = nullptr;
}

HWND ControlHarness::make(const char16_t* cls, DWORD style, int id, const char16_t* text, RECT r) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, m_parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

LRESULT ControlHarness::proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_current && h == g_current->m_parent) {
        if (message == WM_COMMAND) {
            g_current->notes.push_back(
                Note{message, LOWORD(wParam), static_cast<UINT>(HIWORD(wParam))});
            return 0;
        }
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            g_current->notes.push_back(
                Note{message, static_cast<int>(header->idFrom), header->code});
            return g_current->onNotify ? g_current->onNotify(header) : 0;
        }
    }
    return DefWindowProcW(h, message, wParam, lParam);
}

}  // namespace ndtest
