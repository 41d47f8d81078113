#include "hostapp/site/CLumFileOperation.h"

#include "hostapp/site/CLumSiteDocBaseCore.h"
#include "hostapp/site/LumSiteStaff.h"
#include "hostapp/site/SiteScanner.h"
#include "win32/FileApi.h"

namespace {

// Windows paths of two files in the same folder, by their text: a page moved
// within its folder keeps every relative link as it was.
bool sameFolder(const std::string& a, const std::string& b) {
    size_t slashA = a.find_last_of("\\/");
    size_t slashB = b.find_last_of("\\/");
    return slashA == slashB && a.compare(0, slashA, b, 0, slashB) == 0;
}

}  // namespace

int CLumFileOperation::execute(CWnd*, SiteMgr50* siteMgr, int operation, const CString& from,
                               const CString& to, CLumSiteDDList* nodes) {
    m_failures.clear();
    m_movedPageRevised = false;
    if (operation != kRename || from.IsEmpty() || to.IsEmpty()) {
        return 0;
    }
    // MoveFileW refuses an existing target, so nothing is ever overwritten.
    if (!::MoveFileW(from.GetString(), to.GetString())) {
        return 0;
    }
    bool movedPage =
        siteMgr && lum::site::isPagePath(from.toUtf8()) && !sameFolder(from.toUtf8(), to.toUtf8());
    if (!nodes && !movedPage) {
        return 1;
    }
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    if (!docBase) {
        return 1;
    }
    docBase->AddFile(from, to);
    // A page moved to another folder: its own relative links are rewritten
    // too, or they would name files beside its new place.
    if (movedPage) {
        if (!docBase->ReviseMovedPage(from, to)) {
            m_failures.push_back({to, docBase->lastError()});
        }
        m_movedPageRevised = docBase->revisedCount() > 0;
    }
    for (POSITION pos = nodes->GetHeadPosition(); pos;) {
        const CLumSiteDDNode& node = nodes->GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        for (POSITION link = node.m_pLinkList->GetHeadPosition(); link;) {
            const CLumSiteDDLinkNode& page = node.m_pLinkList->GetNext(link);
            // A page linking to itself is no longer at its old name; its
            // links were revised above.
            if (page.m_strPath == from) {
                continue;
            }
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
