// The file list's rename and delete: the link follow-up moves or removes the
// files and revises the pages; the list then shows what is on disk.
#include "hostapp/files/PathUtil.h"
#include "hostapp/ui/LumMessageBox.h"
#include "res/ResourceIds.h"
#include "sitefiles/CLumRssFileListDlg.h"
#include "sitefiles/CLumRssRenameFileDlg.h"
#include "sitefiles/LinkFollowUp.h"

#include <algorithm>
#include <memory>

void CLumRssFileListDlg::OnRenameFile() {
    CRSSChannel* selected = getSelectedChannel();
    if (selected == nullptr) {
        return;
    }
    CLumRssRenameFileDlg names(this);
    names.setFolder(getBasePath(selected->m_filePath));
    names.m_strFileName = getBaseName(selected->m_filePath);
    if (names.DoModal() == IDOK) {
        CString oldPath = selected->m_filePath;
        CString newPath = names.getPath();
        // The row follows the file only when it really moved: a row naming a
        // path where nothing is would mislead every later operation.
        if (newsdesk::renameFollowUp(this, oldPath, newPath) && is_file(newPath) &&
            !is_file(oldPath)) {
            selected->m_filePath = newPath;
            m_bFilesChanged = 1;
        }
    }
    fillFileList();
}

void CLumRssFileListDlg::OnDeleteFiles() {
    if (lum::afxMessageBox(IDS_RSS_CONFIRM_DELETE, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    UpdateData(TRUE);
    std::vector<CRSSChannel*> doomed;
    std::vector<CString> paths;
    for (int row = m_fileList.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_fileList.GetNextItem(row, LVNI_SELECTED)) {
        auto* channel = reinterpret_cast<CRSSChannel*>(m_fileList.GetItemData(row));
        doomed.push_back(channel);
        paths.push_back(channel->m_filePath);
    }
    auto operation = std::make_unique<newsdesk::CLumRssFileOp>(this);
    if (!newsdesk::deleteFiles(operation.get(), paths)) {
        return;
    }
    for (CRSSChannel* channel : doomed) {
        // A file that could not be deleted keeps its row (the user was told).
        if (is_file(channel->m_filePath)) {
            continue;
        }
        auto at = std::find(m_channels.begin(), m_channels.end(), channel);
        if (at != m_channels.end()) {
            m_channels.erase(at);
        }
        delete channel;
    }
    m_bFilesChanged = 1;
    fillFileList();
}
