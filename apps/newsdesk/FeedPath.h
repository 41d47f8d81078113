// The feed file a person names on the command line, as the module sees it.
#pragma once

#include "mfc/CString.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace newsdesk::app {

// The Windows path of a native path; nullopt (with the reason on err) when
// the path cannot be written as one.
std::optional<CString> feedPathArgument(const std::string& nativePath, std::ostream& err);

// Why a feed could not be read, for one line on stderr: missing, a folder,
// unreadable, not well-formed XML (format -1) or not a feed.
std::string unreadableReason(const std::string& nativePath, int format);

}  // namespace newsdesk::app
