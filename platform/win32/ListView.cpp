// List views in report style: columns, rows of texts with item data, and
// selection. Every change of a row's state notifies the parent with
// LVN_ITEMCHANGED, whether a user or the program made it.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <algorithm>

namespace nd::win32::detail {
namespace {

struct Column {
    std::u16string text;
    int width = 0;
    int format = LVCFMT_LEFT;
};

struct Row {
    std::vector<std::u16string> texts;  // one per column, item first
    LPARAM data = 0;
    UINT state = 0;
    int image = 0;
};

struct ListViewState : ControlState {
    std::vector<Column> columns;
    std::vector<Row> rows;
    DWORD exStyle = 0;
};

ListViewState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<ListViewState>();
    }
    return *static_cast<ListViewState*>(w->control.get());
}

DWORD style(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
}

bool valid(const ListViewState& s, int index) {
    return index >= 0 && static_cast<size_t>(index) < s.rows.size();
}

std::u16string& textOf(Row& row, int sub) {
    if (static_cast<size_t>(sub) >= row.texts.size()) {
        row.texts.resize(static_cast<size_t>(sub) + 1);
    }
    return row.texts[static_cast<size_t>(sub)];
}

void changed(HWND h) {
    announce(h, WindowChange::Content);
    InvalidateRect(h, nullptr, TRUE);
}

// Sets the state bits of one row; notifies when they changed.
void setState(HWND h, int index, UINT value, UINT mask) {
    auto& s = state(h);
    if (!valid(s, index)) {
        return;
    }
    Row& row = s.rows[static_cast<size_t>(index)];
    UINT old = row.state;
    UINT now = (old & ~mask) | (value & mask);
    if (now == old) {
        return;
    }
    NMLISTVIEW nm;
    nm.iItem = index;
    nm.uNewState = now;
    nm.uOldState = old;
    nm.uChanged = LVIF_STATE;
    nm.lParam = row.data;
    if (notifyParent(h, nm.hdr, LVN_ITEMCHANGING)) {
        return;  // the parent refused
    }
    if (!valid(state(h), index)) {
        return;
    }
    state(h).rows[static_cast<size_t>(index)].state = now;
    changed(h);
    notifyParent(h, nm.hdr, LVN_ITEMCHANGED);
}

// A single-selection list keeps one selected row (and one focused row).
void selectOnly(HWND h, int index, UINT bits) {
    auto& s = state(h);
    for (int i = 0; i < static_cast<int>(s.rows.size()); ++i) {
        if (i != index && (state(h).rows[static_cast<size_t>(i)].state & bits)) {
            setState(h, i, 0, bits);
        }
    }
}

LRESULT insertItem(HWND h, const LVITEMW* item) {
    auto& s = state(h);
    if (!item) {
        return -1;
    }
    Row row;
    if (item->mask & LVIF_TEXT) {
        textOf(row, 0) = item->pszText ? item->pszText : u"";
    }
    if (item->mask & LVIF_PARAM) {
        row.data = item->lParam;
    }
    if (item->mask & LVIF_IMAGE) {
        row.image = item->iImage;
    }
    UINT initial = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
    size_t at = std::min(static_cast<size_t>(std::max(item->iItem, 0)), s.rows.size());
    if (style(h) & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        bool down = style(h) & LVS_SORTDESCENDING;
        const auto& t = textOf(row, 0);
        auto it = std::find_if(s.rows.begin(), s.rows.end(), [&](Row& r) {
            int c = compareForSort(t, textOf(r, 0));
            return down ? c > 0 : c < 0;
        });
        at = static_cast<size_t>(it - s.rows.begin());
    }
    s.rows.insert(s.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    changed(h);
    NMLISTVIEW nm;
    nm.iItem = static_cast<int>(at);
    nm.lParam = s.rows[at].data;
    notifyParent(h, nm.hdr, LVN_INSERTITEM);
    if (initial) {
        if (style(h) & LVS_SINGLESEL) {
            selectOnly(h, static_cast<int>(at), initial & LVIS_SELECTED);
        }
        setState(h, static_cast<int>(at), initial, initial);
    }
    return static_cast<LRESULT>(at);
}

LRESULT nextItem(const ListViewState& s, int start, UINT flags) {
    for (int i = start + 1; i < static_cast<int>(s.rows.size()); ++i) {
        UINT st = s.rows[static_cast<size_t>(i)].state;
        bool ok = true;
        if ((flags & LVNI_SELECTED) && !(st & LVIS_SELECTED)) {
            ok = false;
        }
        if ((flags & LVNI_FOCUSED) && !(st & LVIS_FOCUSED)) {
            ok = false;
        }
        if (ok) {
            return i;
        }
    }
    return -1;
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    auto& s = state(h);
    RECT r;
    GetClientRect(h, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int y = 0;
    auto line = [&](const std::vector<std::u16string>& cells) {
        int x = 0;
        for (size_t c = 0; c < s.columns.size(); ++c) {
            RECT cell{x, y, x + s.columns[c].width, y + 18};
            const std::u16string empty;
            const auto& t = c < cells.size() ? cells[c] : empty;
            DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &cell, DT_LEFT);
            x += s.columns[c].width;
        }
        y += 18;
    };
    std::vector<std::u16string> header;
    for (const auto& c : s.columns) {
        header.push_back(c.text);
    }
    line(header);
    for (const auto& row : s.rows) {
        line(row.texts);
    }
    EndPaint(h, &ps);
}

}  // namespace

std::string listViewUserSelect(HWND h, const std::vector<int>& rows) {
    auto& s = state(h);
    for (int r : rows) {
        if (!valid(s, r)) {
            return "list view " + std::to_string(GetDlgCtrlID(h)) + " has no row " +
                   std::to_string(r);
        }
    }
    if ((style(h) & LVS_SINGLESEL) && rows.size() > 1) {
        return "list view " + std::to_string(GetDlgCtrlID(h)) + " selects one row only";
    }
    SetFocus(h);
    int count = static_cast<int>(state(h).rows.size());
    for (int i = 0; i < count; ++i) {
        if (std::find(rows.begin(), rows.end(), i) == rows.end()) {
            setState(h, i, 0, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    for (size_t k = 0; k < rows.size(); ++k) {
        bool last = k + 1 == rows.size();
        setState(h, rows[k], LVIS_SELECTED | (last ? LVIS_FOCUSED : 0),
                 LVIS_SELECTED | LVIS_FOCUSED);
    }
    return {};
}

LRESULT listViewProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case LVM_INSERTCOLUMNW: {
            auto& s = state(h);
            auto* col = reinterpret_cast<const LVCOLUMNW*>(lParam);
            if (!col) {
                return -1;
            }
            Column c;
            if (col->mask & LVCF_TEXT) {
                c.text = col->pszText ? col->pszText : u"";
            }
            if (col->mask & LVCF_WIDTH) {
                c.width = col->cx;
            }
            if (col->mask & LVCF_FMT) {
                c.format = col->fmt;
            }
            size_t at = std::min(static_cast<size_t>(wParam), s.columns.size());
            s.columns.insert(s.columns.begin() + static_cast<std::ptrdiff_t>(at), std::move(c));
            if (at > 0) {
                for (auto& row : s.rows) {
                    if (row.texts.size() > at) {
                        row.texts.insert(row.texts.begin() + static_cast<std::ptrdiff_t>(at), u"");
                    }
                }
            }
            changed(h);
            return static_cast<LRESULT>(at);
        }
        case LVM_DELETECOLUMN: {
            auto& s = state(h);
            if (wParam >= s.columns.size()) {
                return FALSE;
            }
            s.columns.erase(s.columns.begin() + static_cast<std::ptrdiff_t>(wParam));
            for (auto& row : s.rows) {
                if (row.texts.size() > wParam) {
                    row.texts.erase(row.texts.begin() + static_cast<std::ptrdiff_t>(wParam));
                }
            }
            changed(h);
            return TRUE;
        }
        case LVM_GETCOLUMNW: {
            auto& s = state(h);
            auto* col = reinterpret_cast<LVCOLUMNW*>(lParam);
            if (!col || wParam >= s.columns.size()) {
                return FALSE;
            }
            const auto& c = s.columns[wParam];
            if (col->mask & LVCF_WIDTH) {
                col->cx = c.width;
            }
            if (col->mask & LVCF_FMT) {
                col->fmt = c.format;
            }
            if (col->mask & LVCF_TEXT) {
                copyText(c.text, col->pszText, static_cast<size_t>(std::max(col->cchTextMax, 0)));
            }
            return TRUE;
        }
        case LVM_GETCOLUMNWIDTH: {
            auto& s = state(h);
            return wParam < s.columns.size() ? s.columns[wParam].width : 0;
        }
        case LVM_SETCOLUMNWIDTH: {
            auto& s = state(h);
            if (wParam >= s.columns.size()) {
                return FALSE;
            }
            s.columns[wParam].width =
                static_cast<int>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))));
            changed(h);
            return TRUE;
        }
        case LVM_INSERTITEMW:
            return insertItem(h, reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_SETITEMW: {
            auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            auto& s = state(h);
            if (!item || !valid(s, item->iItem)) {
                return FALSE;
            }
            Row& row = s.rows[static_cast<size_t>(item->iItem)];
            if (item->mask & LVIF_TEXT) {
                textOf(row, item->iSubItem) = item->pszText ? item->pszText : u"";
            }
            if (item->iSubItem == 0) {
                if (item->mask & LVIF_PARAM) {
                    row.data = item->lParam;
                }
                if (item->mask & LVIF_IMAGE) {
                    row.image = item->iImage;
                }
            }
            changed(h);
            if ((item->mask & LVIF_STATE) && item->iSubItem == 0) {
                setState(h, item->iItem, item->state, item->stateMask);
            }
            return TRUE;
        }
        case LVM_GETITEMW: {
            auto* item = reinterpret_cast<LVITEMW*>(lParam);
            auto& s = state(h);
            if (!item || !valid(s, item->iItem)) {
                return FALSE;
            }
            Row& row = s.rows[static_cast<size_t>(item->iItem)];
            if (item->mask & LVIF_TEXT) {
                copyText(textOf(row, item->iSubItem), item->pszText,
                         static_cast<size_t>(std::max(item->cchTextMax, 0)));
            }
            if (item->mask & LVIF_PARAM) {
                item->lParam = row.data;
            }
            if (item->mask & LVIF_STATE) {
                item->state = row.state & item->stateMask;
            }
            if (item->mask & LVIF_IMAGE) {
                item->iImage = row.image;
            }
            return TRUE;
        }
        case LVM_SETITEMTEXTW: {
            auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            auto& s = state(h);
            int index = static_cast<int>(wParam);
            if (!item || !valid(s, index)) {
                return FALSE;
            }
            textOf(s.rows[static_cast<size_t>(index)], item->iSubItem) =
                item->pszText ? item->pszText : u"";
            changed(h);
            return TRUE;
        }
        case LVM_GETITEMTEXTW: {
            auto* item = reinterpret_cast<LVITEMW*>(lParam);
            auto& s = state(h);
            int index = static_cast<int>(wParam);
            if (!item || !valid(s, index)) {
                return 0;
            }
            return copyText(textOf(s.rows[static_cast<size_t>(index)], item->iSubItem),
                            item->pszText, static_cast<size_t>(std::max(item->cchTextMax, 0)));
        }
        case LVM_DELETEITEM: {
            auto& s = state(h);
            int index = static_cast<int>(wParam);
            if (!valid(s, index)) {
                return FALSE;
            }
            NMLISTVIEW nm;
            nm.iItem = index;
            nm.lParam = s.rows[static_cast<size_t>(index)].data;
            notifyParent(h, nm.hdr, LVN_DELETEITEM);
            auto& after = state(h);
            if (valid(after, index)) {
                after.rows.erase(after.rows.begin() + index);
            }
            changed(h);
            return TRUE;
        }
        case LVM_DELETEALLITEMS: {
            NMLISTVIEW nm;
            nm.iItem = -1;
            // A parent answering FALSE hears of each row too, the last first.
            bool each = !notifyParent(h, nm.hdr, LVN_DELETEALLITEMS);
            for (int i = static_cast<int>(state(h).rows.size()) - 1; each && i >= 0; --i) {
                auto& rows = state(h).rows;
                if (static_cast<size_t>(i) >= rows.size()) {
                    continue;  // a handler took rows away
                }
                NMLISTVIEW one;
                one.iItem = i;
                one.lParam = rows[static_cast<size_t>(i)].data;
                notifyParent(h, one.hdr, LVN_DELETEITEM);
            }
            state(h).rows.clear();
            changed(h);
            return TRUE;
        }
        case LVM_GETITEMCOUNT:
            return static_cast<LRESULT>(state(h).rows.size());
        case LVM_ENSUREVISIBLE: {
            // Every row counts as visible: nothing scrolls here.
            return valid(state(h), static_cast<int>(wParam)) ? TRUE : FALSE;
        }
        case LVM_GETSELECTEDCOUNT: {
            auto& s = state(h);
            return std::count_if(s.rows.begin(), s.rows.end(),
                                 [](const Row& r) { return r.state & LVIS_SELECTED; });
        }
        case LVM_GETNEXTITEM:
            return nextItem(state(h), static_cast<int>(wParam),
                            static_cast<UINT>(LOWORD(static_cast<DWORD_PTR>(lParam))));
        case LVM_SETITEMSTATE: {
            auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            if (!item) {
                return FALSE;
            }
            int index = static_cast<int>(wParam);
            if (index == -1) {
                int n = static_cast<int>(state(h).rows.size());
                for (int i = 0; i < n; ++i) {
                    setState(h, i, item->state, item->stateMask);
                }
                return TRUE;
            }
            if (!valid(state(h), index)) {
                return FALSE;
            }
            if ((style(h) & LVS_SINGLESEL) && (item->state & item->stateMask & LVIS_SELECTED)) {
                selectOnly(h, index, LVIS_SELECTED);
            }
            if (item->state & item->stateMask & LVIS_FOCUSED) {
                selectOnly(h, index, LVIS_FOCUSED);
            }
            setState(h, index, item->state, item->stateMask);
            return TRUE;
        }
        case LVM_GETITEMSTATE: {
            auto& s = state(h);
            int index = static_cast<int>(wParam);
            return valid(s, index)
                       ? static_cast<LRESULT>(s.rows[static_cast<size_t>(index)].state & lParam)
                       : 0;
        }
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            auto& s = state(h);
            DWORD old = s.exStyle;
            DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
            s.exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
            changed(h);
            return static_cast<LRESULT>(old);
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return static_cast<LRESULT>(state(h).exStyle);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_PAINT:
            paint(h);
            return 0;
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
