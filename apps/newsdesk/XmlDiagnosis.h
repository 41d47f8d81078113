// Why a file the module found to be no XML is not, in words a person can act
// on: the parser's reason with line and column, the encoding that was
// declared and the one the bytes look like, or which of our bounds it goes
// past.
#pragma once

#include <string>

namespace newsdesk::app {

// For a regular file that the module's format detection answered with -1.
std::string whyNotReadableXml(const std::string& nativePath);

}  // namespace newsdesk::app
