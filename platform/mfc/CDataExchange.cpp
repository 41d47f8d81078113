#include "mfc/CDataExchange.h"

#include "mfc/CDateTimeCtrl.h"
#include "mfc/CWnd.h"
#include "win32/Window.h"

#include <cstdint>
#include <limits>
#include <string>

HWND CDataExchange::PrepareCtrl(int nIDC) {
    if (!m_bFailed) {
        m_idLastControl = nIDC;  // the field that failed stays the one to focus
    }
    return m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
}

namespace {

// A window's text for members: controls keep what the user typed.
void setText(HWND h, const CString& value) {
    if (nd::win32::windowText(h) != value.view()) {
        ::SetWindowTextW(h, value.GetString());
    }
}

bool parseNumber(std::u16string_view text, bool allowSign, std::int64_t min, std::int64_t max,
                 std::int64_t& out) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    size_t end = text.size();
    while (end > i && (text[end - 1] == u' ' || text[end - 1] == u'\t')) {
        --end;
    }
    bool negative = false;
    if (i < end && (text[i] == u'-' || text[i] == u'+')) {
        if (!allowSign && text[i] == u'-') {
            return false;
        }
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= end) {
        return false;
    }
    std::int64_t v = 0;
    for (; i < end; ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return false;
        }
        v = v * 10 + (text[i] - u'0');
        if (v > (std::int64_t{1} << 40)) {
            return false;
        }
    }
    v = negative ? -v : v;
    if (v < min || v > max) {
        return false;
    }
    out = v;
    return true;
}

template <typename T>
void exchangeNumber(CDataExchange* pDX, int nIDC, T& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        std::int64_t v = 0;
        if (!parseNumber(nd::win32::windowText(h), std::numeric_limits<T>::is_signed,
                         std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v)) {
            pDX->Fail();
            return;
        }
        value = static_cast<T>(v);
    } else {
        std::string s = std::to_string(value);
        setText(h, CString(std::u16string(s.begin(), s.end())));
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = CString(nd::win32::windowText(h));
    } else {
        setText(h, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    exchangeNumber(pDX, nIDC, value);
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    exchangeNumber(pDX, nIDC, value);
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    exchangeNumber(pDX, nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageW(h, BM_SETCHECK, value < 0 || value > 2 ? 0 : static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    for (HWND b = h; b; b = ::GetWindow(b, GW_HWNDNEXT), ++index) {
        if (b != h && (::GetWindowLongPtrW(b, GWL_STYLE) & WS_GROUP)) {
            break;
        }
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
            }
        } else {
            ::SendMessageW(b, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(h, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.m_hWnd) {
        return;
    }
    HWND h = pDX->PrepareCtrl(nIDC);
    if (h) {
        control.SubclassWindow(h);
    }
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CTime& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    // A borrowed wrapper, whatever object the window may be attached to.
    CDateTimeCtrl picker;
    picker.m_hWnd = h;
    if (pDX->m_bSaveAndValidate) {
        picker.GetTime(value);
    } else {
        picker.SetTime(&value);
    }
    picker.m_hWnd = nullptr;
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bFailed || !h) {
        return;
    }
    CDateTimeCtrl picker;
    picker.m_hWnd = h;
    if (pDX->m_bSaveAndValidate) {
        picker.GetTime(value);
    } else {
        picker.SetTime(value);
    }
    picker.m_hWnd = nullptr;
}
