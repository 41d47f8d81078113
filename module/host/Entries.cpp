// The entry points. Those whose commands have not been built yet answer with
// their failure result and touch nothing, so the application sees a command
// that did not run rather than one that pretends to.
#include "host/Entries.h"

#include "feed/FeedReaders.h"
#include "sitefiles/CLumRssFileListDlg.h"
#include "sitefiles/SiteRebuild.h"

#include <memory>

namespace newsdesk {

void RssFileListEntry() {
    auto dialog = std::make_unique<CLumRssFileListDlg>(0, nullptr);
    dialog->DoModal();
    if (dialog->m_bFilesChanged != 0) {
        sitefiles::rebuildOpenSite();
    }
}

void GetRssFormatEntry(CString& path, int* format) {
    if (format != nullptr) {
        *format = detectRssFormat(path);
    }
}

int ReadRssFileEntry(CString& path, CRSSChannel* channel) {
    return readRssFile(path, channel);
}

}  // namespace newsdesk
