// Windows paths of the fixture files under tests/fixtures.
#pragma once

#include "mfc/CString.h"
#include "win32/PathMapping.h"

#include <string>

inline CString fixturePath(const std::string& name) {
    return CString(
        nd::win32::toWindowsPath(std::string(NEWSDESK_FIXTURES) + "/" + name).value_or(u""));
}
