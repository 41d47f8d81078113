// Entry points whose commands have not been built yet. Each answers with its
// failure result and touches nothing, so the application sees a command that
// did not run rather than one that pretends to.
#include "host/Entries.h"

namespace newsdesk {

void RssFileListEntry() {}

void InsertRssLinkEntry(PageEditIF*) {}

bool EditRssFileEntry(CWnd*, CString&, bool, CLumRssFileConfigDlg**) {
    return false;
}

void GetRssFormatEntry(CString&, int*) {}

int ReadRssFileEntry(CString&, CRSSChannel*) {
    return 0;
}

void RewriteRssFileEntry(CString&, CRSSChannel*) {}

bool RssWelcomeEntry(void*, CLumRssBeginaviPage**, HICON) {
    return false;
}

}  // namespace newsdesk
