// Tab control wrapper.
#pragma once

#include "mfc/CWnd.h"

class CTabCtrl : public CWnd {
  public:
    LONG InsertItem(int index, LPCWSTR text) {
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(text);
        return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL, 0, 0)); }
    int SetCurSel(int index) {
        return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index), 0));
    }
    void AdjustRect(BOOL larger, LPRECT rect) {
        SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), reinterpret_cast<LPARAM>(rect));
    }
};
