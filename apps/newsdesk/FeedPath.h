// The feed file a person names on the command line, as the module sees it
// and as this program shows it again.
#pragma once

#include "mfc/CString.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace newsdesk::app {

// The Windows path of a native path; nullopt (with the reason on err) when
// the path cannot be carried to the module exactly (a name that is not
// UTF-8, a backslash in a name). Nothing is opened before that answer.
std::optional<CString> feedPathArgument(const std::string& nativePath, std::ostream& err);

// Why a feed could not be read, for one line on stderr: missing, a folder,
// not a regular file, unreadable, not well-formed XML (with the parser's
// reason) or not a feed.
std::string unreadableReason(const std::string& nativePath, int format);

// Why nothing can be read at the path, or empty when a regular file that
// can be read stands there.
std::string unopenableReason(const std::string& nativePath);

// A Windows path from a record, as this system spells it: the path the
// person gave when it names the same file (given is the argument, givenWindows
// its Windows form), else the native path. Paths off drive Z: stay as they are.
std::string displayPath(const CString& windowsPath, const std::string& given,
                        const CString& givenWindows);

// The name with bytes that are not UTF-8 shown as \xNN, for messages.
std::string printableName(const std::string& name);

}  // namespace newsdesk::app
