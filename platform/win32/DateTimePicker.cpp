// Date-time pickers in date or time mode. A program's DTM_SETSYSTEMTIME is
// silent; a user's change notifies the parent with DTN_DATETIMECHANGE.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/SysTime.h"
#include "win32/TextConv.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <cstdio>

namespace nd::win32::detail {
namespace {

struct PickerState : ControlState {
    SYSTEMTIME value;
    bool none = false;
};

PickerState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        auto s = std::make_unique<PickerState>();
        GetLocalTime(&s->value);
        w->control = std::move(s);
    }
    return *static_cast<PickerState*>(w->control.get());
}

bool timeMode(HWND h) {
    return (static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
}

// What the field shows: the short date as yyyy/MM/dd or the time as H:mm:ss.
void show(HWND h) {
    auto& s = state(h);
    char buf[32];
    if (s.none) {
        buf[0] = 0;
    } else if (timeMode(h)) {
        std::snprintf(buf, sizeof buf, "%u:%02u:%02u", s.value.wHour, s.value.wMinute,
                      s.value.wSecond);
    } else {
        std::snprintf(buf, sizeof buf, "%04u/%02u/%02u", s.value.wYear, s.value.wMonth,
                      s.value.wDay);
    }
    std::u16string text = nd::text::fromUtf8(buf);
    Window* w = find(h);
    if (w->text != text) {
        w->text = std::move(text);
        announce(h, WindowChange::Text);
    }
    announce(h, WindowChange::Content);
    InvalidateRect(h, nullptr, TRUE);
}

void notifyChange(HWND h) {
    NMDATETIMECHANGE nm;
    nm.dwFlags = state(h).none ? GDT_NONE : GDT_VALID;
    nm.st = state(h).value;
    notifyParent(h, nm.nmhdr, DTN_DATETIMECHANGE);
}

// Parses "yyyy/mm/dd" (also with '-') or "h:mm[:ss]"; false when the text is
// not of that form or names no real date or time.
bool parse(std::u16string_view text, bool time, SYSTEMTIME& out) {
    std::string s = nd::text::toUtf8(text);
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    char sep1 = 0;
    char sep2 = 0;
    int n = std::sscanf(s.c_str(), "%u%c%u%c%u", &a, &sep1, &b, &sep2, &c);
    if (time) {
        if (n < 3 || sep1 != ':' || (n == 5 && sep2 != ':') || n == 4) {
            return false;
        }
        if (n == 3) {
            c = 0;
        }
        out.wHour = static_cast<WORD>(a);
        out.wMinute = static_cast<WORD>(b);
        out.wSecond = static_cast<WORD>(c);
        return a < 24 && b < 60 && c < 60;
    }
    if (n != 5 || sep1 != sep2 || (sep1 != '/' && sep1 != '-') || a > 9999) {
        return false;
    }
    SYSTEMTIME t = out;
    t.wYear = static_cast<WORD>(a);
    t.wMonth = static_cast<WORD>(b);
    t.wDay = static_cast<WORD>(c);
    if (b > 12 || c > 31 || !isValidSystemTime(t)) {
        return false;
    }
    out = t;
    return true;
}

}  // namespace

std::string dateTimeUserSet(HWND h, const SYSTEMTIME& value) {
    if (!isValidSystemTime(value)) {
        return "not a valid date and time";
    }
    SetFocus(h);
    auto& s = state(h);
    s.value = value;
    s.value.wMilliseconds = 0;
    s.none = false;
    show(h);
    notifyChange(h);
    return {};
}

std::string dateTimeUserType(HWND h, std::u16string_view text) {
    SetFocus(h);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    SYSTEMTIME value = state(h).value;
    if (style & DTS_APPCANPARSE) {
        // The parent may read the typed text itself.
        std::u16string typed(text);
        NMDATETIMESTRINGW nm;
        nm.pszUserString = typed.c_str();
        nm.st = value;
        nm.dwFlags = static_cast<DWORD>(GDT_ERROR);
        notifyParent(h, nm.nmhdr, DTN_USERSTRINGW);
        if (nm.dwFlags == static_cast<DWORD>(GDT_VALID) && isValidSystemTime(nm.st)) {
            return dateTimeUserSet(h, nm.st);
        }
    }
    if (!parse(text, timeMode(h), value)) {
        return "date-time picker " + std::to_string(GetDlgCtrlID(h)) + " does not take \"" +
               nd::text::toUtf8(text) + "\"";
    }
    return dateTimeUserSet(h, value);
}

LRESULT dateTimeProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            show(h);
            return 0;
        case DTM_GETSYSTEMTIME: {
            auto& s = state(h);
            if (s.none) {
                return static_cast<LRESULT>(GDT_NONE);
            }
            if (auto* out = reinterpret_cast<SYSTEMTIME*>(lParam)) {
                *out = s.value;
            }
            return static_cast<LRESULT>(GDT_VALID);
        }
        case DTM_SETSYSTEMTIME: {
            auto& s = state(h);
            if (wParam == GDT_NONE) {
                DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
                if (!(style & DTS_SHOWNONE)) {
                    return FALSE;
                }
                s.none = true;
                show(h);
                return TRUE;
            }
            auto* in = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (wParam != GDT_VALID || !in || !isValidSystemTime(*in)) {
                return FALSE;
            }
            s.value = *in;
            s.none = false;
            show(h);
            return TRUE;
        }
        case DTM_SETFORMATW:
            return TRUE;
        case DTM_GETRANGE:
            return 0;
        case DTM_SETRANGE:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            selectWindowFont(h, dc);
            RECT r;
            GetClientRect(h, &r);
            std::u16string text = windowText(h);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_SETTEXT:
            return FALSE;  // the field shows the value, not free text
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
