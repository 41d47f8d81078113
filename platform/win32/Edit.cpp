// Edit controls, single and multi-line.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <algorithm>

namespace nd::win32::detail {
namespace {

struct EditState : ControlState {
    size_t selStart = 0;
    size_t selEnd = 0;
    bool modified = false;
    size_t limit = 30000;
};

EditState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<EditState>();
    }
    return *static_cast<EditState*>(w->control.get());
}

DWORD style(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
}

bool multiLine(HWND h) {
    return style(h) & ES_MULTILINE;
}

// Replaces the selection as typing does: the text changes, the caret follows
// the insertion and the parent hears EN_UPDATE then EN_CHANGE.
void replaceSelection(HWND h, std::u16string_view insert, bool byUser) {
    Window* w = find(h);
    auto& s = state(h);
    size_t a = std::min({s.selStart, s.selEnd, w->text.size()});
    size_t b = std::min(std::max(s.selStart, s.selEnd), w->text.size());
    std::u16string text = w->text.substr(0, a);
    std::u16string piece(insert);
    if (!multiLine(h)) {
        // A single-line edit keeps only the first line of what is pasted.
        auto nl = piece.find_first_of(u"\r\n");
        if (nl != std::u16string::npos) {
            piece.resize(nl);
        }
    }
    if (byUser && (style(h) & ES_NUMBER)) {
        std::erase_if(piece, [](char16_t c) { return c < u'0' || c > u'9'; });
    }
    size_t room = s.limit > w->text.size() - (b - a) ? s.limit - (w->text.size() - (b - a)) : 0;
    bool cut = byUser && piece.size() > room;
    if (cut) {
        piece.resize(room);
    }
    text += piece;
    text += w->text.substr(b);
    bool changed = text != w->text;
    w->text = std::move(text);
    s.selStart = s.selEnd = a + piece.size();
    if (changed) {
        s.modified = true;
        announce(h, WindowChange::Text);
        InvalidateRect(h, nullptr, TRUE);
        notifyParentCommand(h, EN_UPDATE);
        notifyParentCommand(h, EN_CHANGE);
    }
    if (cut) {
        notifyParentCommand(h, EN_MAXTEXT);
    }
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    bool grey = (style(h) & ES_READONLY) || !IsWindowEnabled(h);
    HBRUSH brush = controlColor(h, dc, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    RECT r;
    GetClientRect(h, &r);
    if (brush) {
        FillRect(dc, &r, brush);
    }
    std::u16string text = windowText(h);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT);
    EndPaint(h, &ps);
}

}  // namespace

std::string editUserType(HWND h, std::u16string_view text) {
    if (style(h) & ES_READONLY) {
        return "edit " + std::to_string(GetDlgCtrlID(h)) + " is read-only";
    }
    SetFocus(h);
    auto& s = state(h);
    s.selStart = 0;
    s.selEnd = find(h)->text.size();
    if (text.empty() && s.selEnd == 0) {
        return {};
    }
    replaceSelection(h, text, true);
    return {};
}

LRESULT editProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(h, message, wParam, lParam);
            auto& s = state(h);
            s.selStart = s.selEnd = 0;
            s.modified = false;
            InvalidateRect(h, nullptr, TRUE);
            // Setting the text of a single-line edit notifies the parent as a
            // change; a multi-line edit stays silent.
            if (!multiLine(h)) {
                notifyParentCommand(h, EN_UPDATE);
                notifyParentCommand(h, EN_CHANGE);
            }
            return r;
        }
        case EM_GETSEL: {
            auto& s = state(h);
            if (wParam) {
                *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s.selStart);
            }
            if (lParam) {
                *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(s.selEnd);
            }
            return static_cast<LRESULT>(
                MAKELONG(static_cast<WORD>(s.selStart), static_cast<WORD>(s.selEnd)));
        }
        case EM_SETSEL: {
            auto& s = state(h);
            size_t n = find(h)->text.size();
            auto clamp = [n](LONG_PTR v) {
                return v < 0 ? n : std::min(static_cast<size_t>(v), n);
            };
            auto start = static_cast<LONG_PTR>(static_cast<int>(wParam));
            if (start == -1) {
                s.selStart = s.selEnd = n;  // -1 removes the selection
            } else {
                s.selStart = clamp(start);
                s.selEnd = clamp(static_cast<int>(lParam));
            }
            return 0;
        }
        case EM_REPLACESEL:
            replaceSelection(
                h, lParam ? std::u16string_view(reinterpret_cast<LPCWSTR>(lParam)) : u"", false);
            return 0;
        case EM_GETMODIFY:
            return state(h).modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            state(h).modified = wParam != 0;
            return 0;
        case EM_LIMITTEXT:
            state(h).limit = wParam ? wParam : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(state(h).limit);
        case EM_SETREADONLY: {
            DWORD st = style(h);
            st = wParam ? (st | ES_READONLY) : (st & ~ES_READONLY);
            SetWindowLongPtrW(h, GWL_STYLE, static_cast<LONG_PTR>(st));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case EM_GETLINECOUNT: {
            const auto& t = find(h)->text;
            return 1 + std::count(t.begin(), t.end(), u'\n');
        }
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_HASSETSEL | DLGC_WANTARROWS;
            auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
                (style(h) & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN)) {
                code |= DLGC_WANTALLKEYS;
            }
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && multiLine(h) && !(style(h) & ES_READONLY)) {
                replaceSelection(h, u"\r\n", true);
                return 0;
            }
            return DefWindowProcW(h, message, wParam, lParam);
        case WM_CHAR:
            if (!(style(h) & ES_READONLY) && wParam >= 0x20) {
                char16_t c = static_cast<char16_t>(wParam);
                replaceSelection(h, std::u16string_view(&c, 1), true);
            }
            return 0;
        case WM_SETFOCUS:
            notifyParentCommand(h, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            notifyParentCommand(h, EN_KILLFOCUS);
            return 0;
        case WM_PAINT:
            paint(h);
            return 0;
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
