#include "mfc/CDialog.h"

#include "mfc/AfxResource.h"
#include "mfc/CDataExchange.h"
#include "mfc/CPropertySheet.h"
#include "win32/Dialog.h"
#include "win32/Resources.h"

#include <cstdint>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_COMMAND(ID_HELP, &CWnd::OnHelp)
END_MESSAGE_MAP()

INT_PTR AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (auto* dialog = dynamic_cast<CDialog*>(wnd)) {
            return dialog->OnInitDialog();
        }
        if (auto* sheet = dynamic_cast<CPropertySheet*>(wnd)) {
            return sheet->OnInitDialog();
        }
        return TRUE;
    }
    return FALSE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd) {
    m_nIDHelp = nIDTemplate;
}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {
    if (IS_INTRESOURCE(lpszTemplateName)) {
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    }
}

CDialog::~CDialog() = default;

BOOL CDialog::InitModalIndirect(const void* lpDialogTemplate, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = nullptr;
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    return lpDialogTemplate ? TRUE : FALSE;
}

bool CDialog::FindTemplate(const void*& data, size_t& size, HINSTANCE& module) const {
    if (m_lpDialogTemplate) {
        data = m_lpDialogTemplate;
        size = SIZE_MAX / 2;  // the caller's own bytes, trusted as the system does
        module = AfxGetResourceHandle();
        return true;
    }
    if (!m_lpszTemplateName) {
        return false;
    }
    module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC res = FindResourceW(module, m_lpszTemplateName, RT_DIALOG);
    data = LockResource(LoadResource(module, res));
    size = SizeofResource(module, res);
    return data != nullptr;
}

HWND CDialog::CreateFromTemplate(HWND parent) {
    const void* data = nullptr;
    size_t size = 0;
    HINSTANCE module = nullptr;
    if (m_hWnd || !FindTemplate(data, size, module)) {
        return nullptr;
    }
    nd::mfc::attachNextWindow(this);
    HWND h = nd::win32::createDialog(module, data, size, parent, AfxDlgProc, 0,
                                     static_cast<int>(m_nIDHelp));
    nd::mfc::cancelAttach(this);
    if (!h && m_hWnd) {
        Detach();
    }
    return h;
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    HWND h = CreateFromTemplate(parent);
    if (!h) {
        return -1;
    }
    return nd::win32::runModal(h);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_lpszTemplateName = MAKEINTRESOURCEW(nIDTemplate);
    m_lpDialogTemplate = nullptr;
    if (m_nIDHelp == 0) {
        m_nIDHelp = nIDTemplate;
    }
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr) ? TRUE : FALSE;
}

BOOL CDialog::CreateIndirect(const void* lpDialogTemplate, CWnd* pParentWnd) {
    InitModalIndirect(lpDialogTemplate, pParentWnd);
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr) ? TRUE : FALSE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd) {
        return FALSE;
    }
    CDataExchange dx(this, bSaveAndValidate);
    HWND before = nd::mfc::lockOutNotifications(m_hWnd);
    DoDataExchange(&dx);
    nd::mfc::lockOutNotifications(before);
    if (dx.m_bFailed) {
        if (dx.m_idLastControl) {
            GotoDlgCtrl(GetDlgItem(dx.m_idLastControl));
        }
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
    }
}

void CDialog::NextDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keyboard messages of a top-level dialog get the dialog manager's
    // handling (Enter, Esc, Tab) here, as in the framework.
    if (pMsg && m_hWnd && !(GetStyle() & WS_CHILD) &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        return ::IsDialogMessageW(m_hWnd, pMsg);
    }
    return FALSE;
}
