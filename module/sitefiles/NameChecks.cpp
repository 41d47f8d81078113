#include "sitefiles/NameChecks.h"

#include "hostapp/files/PathUtil.h"
#include "mfc/CFile.h"
#include "res/ResourceIds.h"
#include "sitefiles/SitePath.h"

namespace newsdesk::sitefiles {

NameProblem checkFeedName(CString& folder, CString& name, bool refuseExisting) {
    CString typed = folder;
    addLastYenMark(typed);
    typed += name;
    CString path = normalizedPath(typed);
    if (path.IsEmpty() || !insideOpenSite(path)) {
        return NameProblem::OutsideSite;
    }
    CFileStatus status;
    if (refuseExisting && CFile::GetStatus(path.GetString(), status)) {
        return NameProblem::Exists;
    }
    folder = getBasePath(path);
    name = getBaseName(path);
    return NameProblem::None;
}

unsigned messageFor(NameProblem problem) {
    return problem == NameProblem::OutsideSite ? IDS_RSS_FOLDER_OUTSIDE_SITE : IDS_RSS_FILE_EXISTS;
}

}  // namespace newsdesk::sitefiles
