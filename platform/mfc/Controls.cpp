// The out-of-line parts of the control wrappers.
#include "mfc/CComboBox.h"
#include "mfc/CDateTimeCtrl.h"
#include "mfc/CListBox.h"
#include "mfc/CListCtrl.h"

void CListBox::GetText(int index, CString& text) const {
    int n = GetTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    std::u16string buf(static_cast<size_t>(n) + 1, u'\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(n));
    text = CString(std::move(buf));
}

void CComboBox::GetLBText(int index, CString& text) const {
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    std::u16string buf(static_cast<size_t>(n) + 1, u'\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(n));
    text = CString(std::move(buf));
}

int CListCtrl::InsertColumn(int col, LPCWSTR heading, int format, int width, int subItem) {
    LVCOLUMNW c;
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.fmt = format;
    c.pszText = const_cast<LPWSTR>(heading);
    if (width != -1) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    if (subItem != -1) {
        c.mask |= LVCF_SUBITEM;
        c.iSubItem = subItem;
    }
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int index, LPCWSTR text) {
    return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCWSTR text, UINT state, UINT stateMask, int image,
                          LPARAM param) {
    LVITEMW item;
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.state = state;
    item.stateMask = stateMask;
    item.iImage = image;
    item.lParam = param;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCWSTR text) {
    LVITEMW item;
    item.iSubItem = subItem;
    item.pszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int index, int subItem) const {
    // Grow the buffer until the text fits.
    for (int size = 256;; size *= 4) {
        std::u16string buf(static_cast<size_t>(size), u'\0');
        LVITEMW item;
        item.iSubItem = subItem;
        item.pszText = buf.data();
        item.cchTextMax = size;
        int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
        if (n < size - 1 || size > (1 << 22)) {
            buf.resize(static_cast<size_t>(n));
            return CString(std::move(buf));
        }
    }
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
    LVITEMW item;
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

// A position is the row index plus one, so that no selection is null.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int first = GetNextItem(-1, LVNI_SELECTED);
    return first < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(first) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int index = static_cast<int>(reinterpret_cast<UINT_PTR>(pos)) - 1;
    int next = GetNextItem(index, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(next) + 1);
    return index;
}

DWORD CDateTimeCtrl::GetTime(CTime& time) const {
    SYSTEMTIME st;
    DWORD r = GetTime(&st);
    if (r == GDT_VALID) {
        time = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    }
    return r;
}

BOOL CDateTimeCtrl::SetTime(const CTime* time) {
    if (!time) {
        return SetTime(static_cast<LPSYSTEMTIME>(nullptr));
    }
    std::tm tm{};
    if (!time->GetLocalTm(tm)) {
        return FALSE;
    }
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(tm.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    st.wDay = static_cast<WORD>(tm.tm_mday);
    st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    st.wHour = static_cast<WORD>(tm.tm_hour);
    st.wMinute = static_cast<WORD>(tm.tm_min);
    st.wSecond = static_cast<WORD>(tm.tm_sec);
    return SetTime(&st);
}

BOOL CDateTimeCtrl::GetTime(COleDateTime& time) const {
    SYSTEMTIME st;
    if (GetTime(&st) != GDT_VALID) {
        time.SetStatus(COleDateTime::null);
        return FALSE;
    }
    time = COleDateTime(st);
    return TRUE;
}

BOOL CDateTimeCtrl::SetTime(const COleDateTime& time) {
    SYSTEMTIME st;
    if (time.GetStatus() == COleDateTime::null) {
        return SetTime(static_cast<LPSYSTEMTIME>(nullptr));
    }
    if (!time.GetAsSystemTime(st)) {
        return FALSE;
    }
    return SetTime(&st);
}
