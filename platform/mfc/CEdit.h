// Edit control wrapper.
#pragma once

#include "mfc/CWnd.h"

class CEdit : public CWnd {
  public:
    void SetSel(int start, int end, BOOL = FALSE) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    }
    void GetSel(int& start, int& end) const {
        DWORD s = 0;
        DWORD e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE) {
        SendMessage(EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) {
        return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
    }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(max), 0); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT, 0, 0)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY, 0, 0)); }
    void SetModify(BOOL modified = TRUE) {
        SendMessage(EM_SETMODIFY, static_cast<WPARAM>(modified), 0);
    }
};
