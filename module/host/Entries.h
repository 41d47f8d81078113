// The seven commands the application calls through its function table.
#pragma once

#include "hostapp/records/FunctionTable.h"

namespace newsdesk {

void RssFileListEntry();
void InsertRssLinkEntry(PageEditIF* page);
bool EditRssFileEntry(CWnd* parent, CString& path, bool report, CLumRssFileConfigDlg** dialog);
void GetRssFormatEntry(CString& path, int* format);
int ReadRssFileEntry(CString& path, CRSSChannel* channel);
void RewriteRssFileEntry(CString& path, CRSSChannel* channel);
bool RssWelcomeEntry(void* reserved, CLumRssBeginaviPage** dialog, HICON icon);

}  // namespace newsdesk
