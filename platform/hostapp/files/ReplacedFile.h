// What every save that replaces an existing file keeps of it: a file marked
// read-only stays as it is, and the new content takes the old file's owner,
// group and permissions.
#pragma once

#include "mfc/CString.h"

#include <sys/stat.h>

#include <string>

namespace lum {

// true when saves leave the file at nativePath (described by st) alone: the
// process may not write it, or nobody may (the superuser, whom permissions
// do not bind, included).
bool refusesReplacing(const std::string& nativePath, const struct stat& st);

// The same for the regular file at a Windows path; false when there is none.
bool isReadOnlyFile(const CString& windowsPath);

// Gives the open new file fd the owner, group and permissions of the file
// old describes, so that a web server's feed saved by the superuser stays
// the server's. Where the process may not set the owner, it gives the group
// when it may, else the new file is the process's own. 0, or the errno
// value of a failed change of permissions.
int takeOverOwnerAndMode(int fd, const struct stat& old);

}  // namespace lum
