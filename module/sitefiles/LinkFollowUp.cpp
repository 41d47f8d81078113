#include "sitefiles/LinkFollowUp.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/CLumRecycledDB.h"
#include "hostapp/files/FileErrors.h"
#include "hostapp/site/CLumFileOperation.h"
#include "hostapp/site/CLumSiteDocBaseCore.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/LumSiteStaff.h"
#include "hostapp/site/SiteJournal.h"
#include "hostapp/ui/CLumSiteLinkListDlg.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/AfxMessageBox.h"
#include "mfc/CWaitCursor.h"
#include "mfc/CWnd.h"
#include "res/ResourceIds.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"
#include "win32/ShellApi.h"

namespace newsdesk {

namespace {

// Anything still at the path, a folder too, counts as not deleted.
bool stillThere(const CString& path) {
    return ::GetFileAttributesW(path.GetString()) != INVALID_FILE_ATTRIBUTES;
}

std::string nativeOf(const CString& path) {
    return nd::win32::toNativePath(path.GetString()).value_or(path.toUtf8());
}

// A file operation that failed is shown with the system's reason and kept for
// the application, which tells where it runs without windows.
void tellFailure(const CString& shown, const std::string& record, const std::string& reason) {
    CString text = shown;
    text += u"\n";
    text += CString::fromUtf8(reason);
    AfxMessageBox(text.GetString(), MB_OK | MB_ICONEXCLAMATION);
    lum::reportFailedFileOperation(record + ": " + reason);
}

}  // namespace

void collectBackLinks(SiteMgr50* siteMgr, CLumSiteDDList& nodes) {
    if (!siteMgr) {
        return;
    }
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CLumSiteDDNode& node = nodes.GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        node.m_pLinkList->RemoveAll();
        int id = siteMgr->UrlGetIDPath(node.m_strSrc, SiteMgr50::kFileUrl);
        if (id < 0) {
            continue;
        }
        std::vector<SiteRecCell50>* records = nullptr;
        if (siteMgr->GetBackLinks(UrlID50{SiteMgr50::kFileUrl, id}, &records, SiteMgr50::kFileUrl) <
                0 ||
            !records) {
            continue;
        }
        for (const SiteRecCell50& record : *records) {
            LPWSTR path = siteMgr->UrlPath(record.m_urlId);
            if (path) {
                node.m_pLinkList->AddTail(CLumSiteDDLinkNode{1, CString(path)});
                siteMgr->DeleteString(path);
            }
        }
        siteMgr->DeleteVecRecCell(records);
    }
}

void CLumRssFileOp::reset() {
    m_bDelete = 0;
    m_strFrom.Empty();
    m_strTo.Empty();
}

int CLumRssFileOp::deleteWithFollowUp(CLumSiteDDList& nodes) {
    SiteMgr50* siteMgr = LumSiteMgr::getSiteMgr();
    if (!siteMgr) {
        reset();
        return 0;
    }
    CLumSiteLinkListDlg linkList(m_pOwner, 1);
    linkList.SetList(&nodes);
    // The list asks for consent: anything but OK (Cancel, a list that could
    // not be shown) keeps every file.
    if (linkList.DoModal() != IDOK) {
        reset();
        return 0;
    }
    // The plan is on record before anything is written, so that whenever
    // the process stops, the next newsdesk to take the site can finish or
    // undo what was begun.
    const std::string root = siteMgr->location().root;
    lum::site::Journal journal;
    journal.operation = lum::site::Journal::Operation::Delete;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        const CLumSiteDDNode& node = nodes.GetNext(pos);
        journal.files.push_back(nativeOf(node.m_strSrc));
        for (POSITION link = node.m_pLinkList ? node.m_pLinkList->GetHeadPosition() : nullptr;
             link;) {
            journal.pages.push_back({nativeOf(node.m_pLinkList->GetNext(link).m_strPath), {}});
        }
    }
    std::string error;
    if (!lum::site::writeJournal(root, journal, error)) {
        tellFailure(u"ファイルを削除しませんでした", "not deleted", error);
        reset();
        return 0;
    }
    lum::site::operationStep();
    // Every linking page is revised and written beside itself before any
    // file goes: a page that cannot be written (read-only, a full disk)
    // keeps every file, rather than leaving pages that link to nothing.
    CLumSiteDocBaseCore* staged = reviseLinkingPages(nodes);
    lum::site::operationStep();
    if (!staged || !recordStaged(root, journal, *staged)) {
        if (staged) {
            staged->abandon();
        }
        lum::site::clearJournal(root);
        reset();
        return 0;
    }
    lum::site::operationStep();
    m_strFrom.AppendChar(u'\0');
    m_strTo.AppendChar(u'\0');

    CLumRecycledDB recycled;
    bool hasRecycleData = recycled.HasRecycleData(m_strFrom);
    DWORD attributes = 0;
    DWORD reserved = 0;
    bool attributesRead = hasRecycleData && recycled.GetFileAttr(m_strFrom, attributes, reserved);

    SHFILEOPSTRUCTW operation;
    operation.hwnd = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = m_strFrom.GetString();
    operation.pTo = m_strTo.GetString();
    operation.fFlags = FOF_NOCONFIRMATION;
    int shellResult = SHFileOperationW(&operation);
    if (shellResult == 0 && hasRecycleData && attributesRead) {
        recycled.DeleteSrc(m_strFrom, attributes, reserved);
    }
    lum::site::operationStep();

    int gone = 0;
    journal.files.clear();
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CLumSiteDDNode& node = nodes.GetNext(pos);
        if (!stillThere(node.m_strSrc)) {
            ++gone;
            journal.files.push_back(nativeOf(node.m_strSrc));
        } else {
            CString shown = u"ファイルを削除できませんでした: ";
            shown += node.m_strSrc;
            tellFailure(shown, nativeOf(node.m_strSrc) + ": not deleted",
                        lum::fileErrorReason(shellResult ? static_cast<DWORD>(shellResult)
                                                         : ERROR_ACCESS_DENIED));
            // Still there: its pages keep their links.
            node.destroyLinkList();
        }
    }
    if (gone == 0) {
        staged->abandon();
        lum::site::clearJournal(root);
        reset();
        return 0;
    }
    if (gone < static_cast<int>(nodes.GetCount())) {
        // The pages were revised for every file; only those that went count.
        // Should that revision fail, the first one stands: a page then loses
        // its link to a file that stayed, rather than keeping one to a file
        // that went.
        CLumSiteDocBaseCore* again = reviseLinkingPages(nodes);
        if (again && recordStaged(root, journal, *again)) {
            staged->abandon();
            staged = again;
        } else if (again) {
            again->abandon();
        }
    }
    // Revising the linking pages can take a while on a large site.
    CWaitCursor wait;
    staged->commitRevisions(lum::site::operationStep);
    staged->abandon();
    lum::site::clearJournal(root);
    reset();
    return 1;
}

bool CLumRssFileOp::recordStaged(const std::string& root, lum::site::Journal& journal,
                                 CLumSiteDocBaseCore& staged) {
    std::string error;
    if (!staged.syncRevisions()) {
        error = "cannot bring the revised pages to disk";
    } else {
        journal.staged = true;
        journal.pages.clear();
        for (const auto& page : staged.staged()) {
            journal.pages.push_back({page.native, page.temp});
        }
        if (lum::site::writeJournal(root, journal, error)) {
            return true;
        }
    }
    tellFailure(u"ファイルを削除しませんでした", "not deleted", error);
    return false;
}

CLumSiteDocBaseCore* CLumRssFileOp::reviseLinkingPages(CLumSiteDDList& nodes) {
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    if (!docBase) {
        return nullptr;
    }
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CLumSiteDDNode& node = nodes.GetNext(pos);
        if (node.m_pLinkList) {
            docBase->AddFile(node.m_strSrc, CString());
        }
    }
    std::vector<std::string> obstacles;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CLumSiteDDNode& node = nodes.GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        for (POSITION link = node.m_pLinkList->GetHeadPosition(); link;) {
            const CLumSiteDDLinkNode& page = node.m_pLinkList->GetNext(link);
            if (page.m_bRevise && !docBase->ReviseLinkedFile(page.m_strPath, 0) &&
                docBase->lastFailureBlocks()) {
                obstacles.push_back(docBase->lastError());
            }
        }
    }
    if (obstacles.empty()) {
        return docBase;
    }
    docBase->abandon();
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        const CString& source = nodes.GetNext(pos).m_strSrc;
        std::string reasons;
        for (const std::string& obstacle : obstacles) {
            reasons += (reasons.empty() ? "" : "; ") + obstacle;
        }
        CString shown = u"リンクを修正できないページがあるため、ファイルを削除しませんでした: ";
        shown += source;
        tellFailure(shown, nativeOf(source) + ": not deleted", reasons);
    }
    return nullptr;
}

bool deleteFiles(CLumRssFileOp* op, const std::vector<CString>& paths) {
    CLumAppEngineer* application = CLumAppEngineer::getInstance();
    if (!application || !op) {
        return false;
    }
    if (!application->isAllDocumentSaved(true)) {
        lum::afxMessageBox(IDS_RSS_UNSAVED_PAGES, MB_OK, static_cast<UINT>(-1));
        return false;
    }
    if (paths.empty()) {
        return false;
    }
    CLumSiteDDList nodes(10);
    op->m_strFrom.Empty();
    for (const CString& path : paths) {
        nodes.AddTail(CLumSiteDDNode(path, CString()));
        op->m_strFrom += path;
        op->m_strFrom.AppendChar(u'\0');
    }
    collectBackLinks(LumSiteMgr::getSiteMgr(), nodes);
    op->m_strTo.Empty();
    op->m_strTo.AppendChar(u'\0');
    op->m_bDelete = 1;
    op->deleteWithFollowUp(nodes);
    op->m_bDelete = 0;
    return true;
}

bool renameFollowUp(CWnd* owner, const CString& oldPath, const CString& newPath) {
    CLumSiteDDList nodes(10);
    nodes.AddTail(CLumSiteDDNode(oldPath, newPath));
    SiteMgr50* siteMgr = LumSiteMgr::getSiteMgr();
    collectBackLinks(siteMgr, nodes);
    CLumAppEngineer* application = CLumAppEngineer::getInstance();
    CLumFileOperation* fileOperation = application ? application->getFileOperation() : nullptr;
    if (!fileOperation) {
        return false;
    }
    if (!fileOperation->execute(owner, siteMgr, CLumFileOperation::kRename, oldPath, newPath,
                                &nodes)) {
        CString shown = u"ファイルの名前を変更できませんでした: ";
        shown += oldPath;
        // Every page in the way is named, so that all can be fixed at once.
        std::string reason =
            fileOperation->obstacles().size() > 1 ? std::string() : fileOperation->error();
        for (const CLumFileOperation::Failure& obstacle : fileOperation->obstacles()) {
            if (fileOperation->obstacles().size() > 1) {
                reason += (reason.empty() ? "" : "; ") + obstacle.reason;
            }
        }
        tellFailure(shown, nativeOf(oldPath) + ": not renamed to " + nativeOf(newPath), reason);
        return false;
    }
    for (const CLumFileOperation::Failure& failure : fileOperation->failures()) {
        CString shown = u"リンクを修正できなかったページがあります: ";
        shown += failure.page;
        tellFailure(shown, nativeOf(failure.page) + ": links not revised", failure.reason);
    }
    return true;
}

}  // namespace newsdesk
