#include "hostapp/ui/FileDialogs.h"

#include "win32/UiDriver.h"

namespace {

CString ask(nd::win32::ChooserKind kind, int fileKind, CWnd* parent, const CString& initial,
            const CString& title) {
    nd::win32::ChooserRequest request;
    request.kind = kind;
    request.owner = parent ? parent->m_hWnd : nullptr;
    request.fileKind = fileKind;
    request.initialPath = initial.str();
    request.title = title.str();
    auto path = nd::win32::choosePath(request);
    return path ? CString(*path) : CString();
}

}  // namespace

CString CLumOpenFileDialog::GetOpenFile(int kind, SiteIF*, const CString& initialName,
                                        CWnd* parent) {
    return ask(nd::win32::ChooserKind::OpenFile, kind, parent, initialName, CString());
}

CLumFileDialog::CLumFileDialog(BOOL bOpenFileDialog, int fileType, LPCWSTR, DWORD, CWnd* parent,
                               SiteIF* site)
    : m_open(bOpenFileDialog), m_fileType(fileType), m_parent(parent), m_site(site) {}

INT_PTR CLumFileDialog::DoModal(int, LPCWSTR initialDir, LPCWSTR initialName) {
    CString initial(initialDir ? initialDir : u"");
    initial += initialName;
    m_path = ask(m_open ? nd::win32::ChooserKind::OpenFile : nd::win32::ChooserKind::SaveFile,
                 m_fileType, m_parent, initial, CString());
    return m_path.IsEmpty() ? IDCANCEL : IDOK;
}

CLumDirDlg::CLumDirDlg(LPCWSTR initialDir, LPCWSTR title, int kind)
    : m_initialDir(initialDir), m_title(title), m_kind(kind) {}

INT_PTR CLumDirDlg::ShowDialog(CWnd* parent) {
    m_path = ask(nd::win32::ChooserKind::Folder, m_kind, parent, m_initialDir, m_title);
    return m_path.IsEmpty() ? IDCANCEL : IDOK;
}
