#include "mfc/CPropertySheet.h"

#include "mfc/AfxResource.h"
#include "win32/Dialog.h"
#include "win32/DialogTemplate.h"
#include "win32/Resources.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTabStrip = 26;  // tab row and border above a page, in pixels
constexpr int kBorder = 4;

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void putText(std::vector<std::uint8_t>& out, std::u16string_view s) {
    for (char16_t c : s) {
        put16(out, c);
    }
    put16(out, 0);
}

// The sheet's own dialog: no controls of its own; the tab control is added
// after creation, sized to the pages.
std::vector<std::uint8_t> sheetTemplate(DWORD style, DWORD exStyle, std::u16string_view caption) {
    std::vector<std::uint8_t> t;
    put16(t, 1);
    put16(t, 0xFFFF);
    put32(t, 0);
    put32(t, exStyle);
    put32(t, (style & ~DS_SETFONT) | DS_SETFONT);
    put16(t, 0);  // no items
    put16(t, 0);
    put16(t, 0);
    put16(t, 10);
    put16(t, 10);
    put16(t, 0);  // menu
    put16(t, 0);  // class
    putText(t, caption);
    put16(t, 9);
    put16(t, 400);
    t.push_back(0);
    t.push_back(1);
    putText(t, u"MS Shell Dlg");
    return t;
}

// A page's size in pixels from its template and font.
SIZE pageSize(CPropertyPage* page) {
    SIZE s{0, 0};
    if (!page) {
        return s;
    }
    HINSTANCE module = AfxFindResourceHandle(page->m_lpszTemplateName, RT_DIALOG);
    const void* data = page->m_lpDialogTemplate;
    size_t size = SIZE_MAX / 2;
    if (!data && page->m_lpszTemplateName) {
        HRSRC res = FindResourceW(module, page->m_lpszTemplateName, RT_DIALOG);
        data = LockResource(LoadResource(module, res));
        size = SizeofResource(module, res);
    }
    auto parsed = data ? nd::win32::parseDialogTemplate(data, size) : std::nullopt;
    if (parsed) {
        auto units = nd::win32::baseUnitsFor(*parsed);
        s.cx = MulDiv(parsed->cx, units.x, 4);
        s.cy = MulDiv(parsed->cy, units.y, 8);
    }
    return s;
}

}  // namespace

CPropertySheet::CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption), m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage) {}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage) {
    m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::~CPropertySheet() {
    // Page windows go with the sheet's; the page objects belong to the caller.
    if (m_hWnd) {
        HWND h = UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage) {
        return;
    }
    m_pages.push_back(pPage);
    if (CTabCtrl* tab = GetTabControl()) {
        tab->InsertItem(tab->GetItemCount(), pPage->GetCaption().GetString());
    }
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) {
        return;
    }
    CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
    if (page->m_hWnd) {
        page->DestroyWindow();
    }
    m_pages.erase(m_pages.begin() + nPage);
    if (CTabCtrl* tab = GetTabControl()) {
        tab->SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nPage), 0);
    }
    if (m_active == nPage) {
        m_active = -1;
        if (!m_pages.empty()) {
            SetActivePage(std::min(nPage, GetPageCount() - 1));
        }
    } else if (m_active > nPage) {
        --m_active;
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(m_active >= 0 ? m_active : static_cast<int>(m_nStartPage));
}

int CPropertySheet::GetActiveIndex() const {
    return m_active >= 0 ? m_active : static_cast<int>(m_nStartPage);
}

CTabCtrl* CPropertySheet::GetTabControl() const {
    if (!m_hWnd) {
        return nullptr;
    }
    return static_cast<CTabCtrl*>(CWnd::FromHandle(::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL)));
}

void CPropertySheet::PlacePage(CPropertyPage* page) {
    CTabCtrl* tab = GetTabControl();
    if (!tab || !page->m_hWnd) {
        return;
    }
    RECT r;
    tab->GetClientRect(&r);
    tab->AdjustRect(FALSE, &r);
    tab->MapWindowPoints(this, &r);
    // Above the tab control, in its page area.
    ::SetWindowPos(page->m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE);
}

BOOL CPropertySheet::ShowPage(int nPage) {
    CPropertyPage* page = GetPage(nPage);
    if (!page || !m_hWnd) {
        return FALSE;
    }
    if (!page->m_hWnd) {
        if (!page->CreatePage(this)) {
            return FALSE;
        }
        PlacePage(page);
    }
    if (m_active >= 0 && m_active != nPage) {
        if (CPropertyPage* old = GetPage(m_active); old && old->m_hWnd) {
            old->ShowWindow(SW_HIDE);
        }
    }
    m_active = nPage;
    if (CTabCtrl* tab = GetTabControl(); tab && tab->GetCurSel() != nPage) {
        tab->SetCurSel(nPage);
    }
    page->ShowWindow(SW_SHOW);
    page->OnSetActive();
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) {
        return FALSE;
    }
    if (!m_hWnd) {
        m_nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_active) {
        return TRUE;
    }
    if (CPropertyPage* current = GetPage(m_active); current && current->m_hWnd) {
        if (!current->OnKillActive()) {
            return FALSE;
        }
    }
    return ShowPage(nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
    return SetActivePage(GetPageIndex(pPage));
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (m_hWnd) {
        return FALSE;
    }
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    if (dwStyle == static_cast<DWORD>(-1)) {
        dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    }
    m_template = sheetTemplate(dwStyle & ~WS_VISIBLE, dwExStyle, m_strCaption.view());
    nd::mfc::attachNextWindow(this);
    HWND h = nd::win32::createDialog(nullptr, m_template.data(), m_template.size(),
                                     m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
    nd::mfc::cancelAttach(this);
    if (!h) {
        if (m_hWnd) {
            Detach();
        }
        return FALSE;
    }
    if (dwStyle & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog() {
    // Size the sheet to its largest page, then make the tab control.
    SIZE largest{0, 0};
    for (CPropertyPage* page : m_pages) {
        SIZE s = pageSize(page);
        largest.cx = std::max(largest.cx, s.cx);
        largest.cy = std::max(largest.cy, s.cy);
    }
    int width = largest.cx + 2 * kBorder;
    int height = largest.cy + kTabStrip + kBorder;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND tab = ::CreateWindowExW(
        0, WC_TABCONTROL, u"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDC_TAB_CONTROL)), nullptr, nullptr);
    if (tab) {
        for (size_t i = 0; i < m_pages.size(); ++i) {
            static_cast<CTabCtrl*>(CWnd::FromHandle(tab))
                ->InsertItem(static_cast<int>(i), m_pages[i]->GetCaption().GetString());
        }
    }
    if (!m_pages.empty()) {
        ShowPage(std::min(static_cast<int>(m_nStartPage), GetPageCount() - 1));
    }
    return TRUE;
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->idFrom == static_cast<UINT_PTR>(AFX_IDC_TAB_CONTROL)) {
        if (header->code == TCN_SELCHANGING) {
            CPropertyPage* current = GetPage(m_active);
            BOOL refuse = current && current->m_hWnd && !current->OnKillActive();
            if (pResult) {
                *pResult = refuse;
            }
            return TRUE;
        }
        if (header->code == TCN_SELCHANGE) {
            if (CTabCtrl* tab = GetTabControl()) {
                ShowPage(tab->GetCurSel());
            }
            if (pResult) {
                *pResult = 0;
            }
            return TRUE;
        }
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}
