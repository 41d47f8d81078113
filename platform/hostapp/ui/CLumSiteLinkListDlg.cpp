#include "hostapp/ui/CLumSiteLinkListDlg.h"

#include "hostapp/ui/HostResourceIds.h"
#include "win32/CommCtrl.h"
#include "win32/Dialog.h"

#include <set>

CLumSiteLinkListDlg::CLumSiteLinkListDlg(CWnd* owner, int mode)
    : CDialog(IDD_LUM_SITE_LINK_LIST, owner), m_mode(mode) {}

BOOL CLumSiteLinkListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_mode == 1) {
        ::SetDlgItemTextW(m_hWnd, IDC_LINK_LIST_MESSAGE,
                          u"次のページから削除するファイルへのリンクを取り除きます。");
    }
    HWND pages = ::GetDlgItem(m_hWnd, IDC_LINK_LIST_PAGES);
    if (!pages || !m_pNodes) {
        return TRUE;
    }
    // A page linking to several of the files is revised once; list it once.
    std::set<std::u16string> listed;
    for (POSITION pos = m_pNodes->GetHeadPosition(); pos;) {
        const CLumSiteDDNode& node = m_pNodes->GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        for (POSITION link = node.m_pLinkList->GetHeadPosition(); link;) {
            const CLumSiteDDLinkNode& page = node.m_pLinkList->GetNext(link);
            if (listed.insert(page.m_strPath.GetString()).second) {
                ::SendMessageW(pages, LB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(page.m_strPath.GetString()));
            }
        }
    }
    return TRUE;
}
