// The checks the new-file and rename dialogs share before they close.
#pragma once

#include "mfc/CString.h"

namespace newsdesk::sitefiles {

enum class NameProblem { None, OutsideSite, Exists };

// Normalises folder + name into path and checks, in this order, that it
// lies inside the open site and (when refuseExisting) that nothing is there
// yet. On None, folder and name are replaced by those of the normalised
// path, so the caller acts on the very path that was checked.
NameProblem checkFeedName(CString& folder, CString& name, bool refuseExisting);

// The message that names the problem to the user.
unsigned messageFor(NameProblem problem);

}  // namespace newsdesk::sitefiles
