#include "hostapp/files/ReplacedFile.h"

#include "win32/PathMapping.h"

#include <unistd.h>

#include <cerrno>

namespace lum {

bool refusesReplacing(const std::string& nativePath, const struct stat& st) {
    return ::access(nativePath.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
}

bool isReadOnlyFile(const CString& windowsPath) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    struct stat st {};
    return native && ::stat(native->c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           refusesReplacing(*native, st);
}

int takeOverOwnerAndMode(int fd, const struct stat& old) {
    // Owner first: a change of owner clears the set-id bits the mode
    // restores. Where the owner may not be given, the group may still be;
    // where neither may, the new file stays the process's own, as a file it
    // made anew would be.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] int groupGiven = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace lum
