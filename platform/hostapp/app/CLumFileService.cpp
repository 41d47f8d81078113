#include "hostapp/app/CLumFileService.h"

#include "hostapp/ui/FileDialogs.h"

CLumFileService::~CLumFileService() = default;

CString CLumFileService::GetOpenFile(int kind, SiteIF* site, const CString& initialName,
                                     CWnd* parent) {
    return CLumOpenFileDialog::GetOpenFile(kind, site, initialName, parent);
}
