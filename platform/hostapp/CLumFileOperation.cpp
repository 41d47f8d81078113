#include "hostapp/CLumFileOperation.h"

#include "hostapp/CLumSiteDocBaseCore.h"
#include "hostapp/LumSiteStaff.h"
#include "win32/FileApi.h"

int CLumFileOperation::execute(CWnd*, SiteMgr50*, int operation, const CString& from,
                               const CString& to, CLumSiteDDList* nodes) {
    m_failures.clear();
    if (operation != kRename || from.IsEmpty() || to.IsEmpty()) {
        return 0;
    }
    // MoveFileW refuses an existing target, so nothing is ever overwritten.
    if (!::MoveFileW(from.GetString(), to.GetString())) {
        return 0;
    }
    if (!nodes) {
        return 1;
    }
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    if (!docBase) {
        return 1;
    }
    docBase->AddFile(from, to);
    for (POSITION pos = nodes->GetHeadPosition(); pos;) {
        const CLumSiteDDNode& node = nodes->GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        for (POSITION link = node.m_pLinkList->GetHeadPosition(); link;) {
            const CLumSiteDDLinkNode& page = node.m_pLinkList->GetNext(link);
            if (page.m_bRevise && !docBase->ReviseLinkedFile(page.m_strPath, 0)) {
                m_failures.push_back({page.m_strPath, docBase->lastError()});
            }
        }
    }
    for (const CString& page : docBase->commitRevisions()) {
        m_failures.push_back({page, "cannot replace " + page.toUtf8()});
    }
    docBase->destroy();
    return 1;
}
