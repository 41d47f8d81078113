#include "mfc/CPropertyPage.h"

#include "win32/Dialog.h"
#include "win32/DialogTemplate.h"

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    if (nIDCaption != 0) {
        m_strCaption.LoadString(nIDCaption);
    }
}

CPropertyPage::~CPropertyPage() = default;

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive) {
        m_bFirstSetActive = false;
    } else {
        UpdateData(FALSE);
    }
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

CString CPropertyPage::GetCaption() const {
    if (!m_strCaption.IsEmpty()) {
        return m_strCaption;
    }
    const void* data = nullptr;
    size_t size = 0;
    HINSTANCE module = nullptr;
    if (!FindTemplate(data, size, module)) {
        return CString();
    }
    auto parsed = nd::win32::parseDialogTemplate(data, size);
    return parsed ? CString(parsed->title) : CString();
}

BOOL CPropertyPage::CreatePage(CWnd* sheet) {
    if (m_hWnd) {
        return TRUE;
    }
    const void* data = nullptr;
    size_t size = 0;
    HINSTANCE module = nullptr;
    if (!sheet || !FindTemplate(data, size, module)) {
        return FALSE;
    }
    auto parsed = nd::win32::parseDialogTemplate(data, size);
    if (!parsed) {
        return FALSE;
    }
    // Pages are hidden, enabled children of the sheet whatever their template
    // says (page templates are usually drawn disabled), and their controls
    // take part in the dialog's tab order.
    parsed->style =
        (parsed->style & ~(WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_SYSMENU | WS_DISABLED)) |
        WS_CHILD;
    parsed->exStyle |= WS_EX_CONTROLPARENT;
    m_pParentWnd = sheet;
    m_bFirstSetActive = true;
    nd::mfc::attachNextWindow(this);
    HWND h = nd::win32::createDialog(module, *parsed, sheet->m_hWnd, AfxDlgProc, 0,
                                     static_cast<int>(m_nIDHelp));
    nd::mfc::cancelAttach(this);
    if (!h && m_hWnd) {
        Detach();
    }
    return h ? TRUE : FALSE;
}
