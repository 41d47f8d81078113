// The file list's operations on the site's feed files.
#include "editor/CLumRssFileConfigDlg.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/ui/LumMessageBox.h"
#include "res/ResourceIds.h"
#include "sitefiles/CLumRssFileListDlg.h"
#include "sitefiles/CLumRssNewFileDlg.h"
#include "sitefiles/CLumRssRenameFileDlg.h"
#include "sitefiles/ChannelCopy.h"

#include <algorithm>
#include <memory>

void CLumRssFileListDlg::OnNewFile() {
    CLumRssNewFileDlg names(1, nullptr);
    if (names.DoModal() != IDOK) {
        return;
    }
    auto settings = std::make_unique<CLumRssFileConfigDlg>(nullptr, nullptr);
    settings->m_strFileName = names.getPath();
    if (settings->DoModal() == IDOK) {
        auto channel = std::make_unique<CRSSChannel>();
        saveEdited(*settings, channel.get(), true);
        m_channels.push_back(channel.release());
        m_bFilesChanged = 1;
    }
    settings.reset();
    fillFileList();
}

void CLumRssFileListDlg::OnCopyFile() {
    CRSSChannel* selected = getSelectedChannel();
    if (selected == nullptr) {
        return;
    }
    CLumRssNewFileDlg names(1, nullptr);
    names.setFolder(getBasePath(selected->m_filePath));
    if (names.DoModal() == IDOK) {
        auto copy = std::make_unique<CRSSChannel>();
        newsdesk::sitefiles::copyChannel(*selected, *copy);
        copy->m_filePath = names.getPath();
        auto settings = std::make_unique<CLumRssFileConfigDlg>(copy.get(), nullptr);
        if (settings->DoModal() == IDOK) {
            // A copy is a new file of its own: the site's records of the
            // original stay with the original.
            saveEdited(*settings, copy.get(), false);
            m_channels.push_back(copy.release());
        }
    }
    m_bFilesChanged = 1;
    fillFileList();
}

void CLumRssFileListDlg::OnEditFile() {
    if (CRSSChannel* selected = getSelectedChannel()) {
        auto settings = std::make_unique<CLumRssFileConfigDlg>(selected, nullptr);
        if (settings->DoModal() == IDOK) {
            saveEdited(*settings, selected, true);
            m_bFilesChanged = 1;
        }
    }
    fillFileList();
}
