// A dialog's controls reached by id: their text, numbers and check states.
#include "win32/Dialog.h"

#include "win32/Window.h"
#include "win32/WindowTree.h"

#include <string>

using nd::win32::detail::find;

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
    return static_cast<UINT>(GetWindowTextW(GetDlgItem(dialog, id), buffer, size));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    std::u16string text = nd::win32::windowText(GetDlgItem(dialog, id));
    if (translated) {
        *translated = FALSE;
    }
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    if (i >= text.size()) {
        return 0;
    }
    std::int64_t v = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        v = v * 10 + (text[i] - u'0');
        if (v > 0xFFFFFFFFll) {
            return 0;
        }
    }
    if (i != text.size()) {
        return 0;
    }
    if (translated) {
        *translated = TRUE;
    }
    return static_cast<UINT>(negative ? -v : v);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string s = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemTextW(dialog, id, std::u16string(s.begin(), s.end()).c_str());
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetDlgItem(dialog, id), message, wParam, lParam);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND b = GetDlgItem(dialog, id);
    if (!b) {
        return FALSE;
    }
    SendMessageW(b, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    if (!find(dialog)) {
        return FALSE;
    }
    for (int id = first; id <= last; ++id) {
        if (HWND b = GetDlgItem(dialog, id)) {
            SendMessageW(b, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}
