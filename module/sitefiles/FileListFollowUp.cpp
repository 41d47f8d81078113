// PENDING: rename and delete wait for the link follow-up.
#include "sitefiles/CLumRssFileListDlg.h"
void CLumRssFileListDlg::OnRenameFile() {}
void CLumRssFileListDlg::OnDeleteFiles() {}
