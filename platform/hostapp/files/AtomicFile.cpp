#include "hostapp/files/AtomicFile.h"

#include "hostapp/files/ReplacedFile.h"
#include "hostapp/files/SaveLeftovers.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

namespace lum {

namespace {

bool fail(int err) {
    SetLastError(nd::win32::errorFromErrno(err));
    return false;
}

// What the process gives any file it creates, read without setting the
// creation mask (setting it to read it would race with other threads).
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    return 0644;
}

}  // namespace

bool writeFileAtomically(const CString& path, std::string_view bytes, bool replace) {
    return writeFileAtomically(
        path, [bytes](int fd) { return writeAll(fd, bytes); }, replace);
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

bool writeFileAtomically(const CString& path, const std::function<int(int fd)>& writeContent,
                         bool replace) {
    auto native = nd::win32::toNativePath(path.view());
    if (!native || native->empty() || native->back() == '/') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    struct stat old {};
    bool exists = ::lstat(native->c_str(), &old) == 0;
    if (exists && (!replace || !S_ISREG(old.st_mode))) {
        return fail(EEXIST);
    }
    // A file marked read-only is not replaced behind its owner's back, not
    // even by the superuser, whom access() lets write anything.
    if (exists && refusesReplacing(*native, old)) {
        return fail(EACCES);
    }
    removeAbandonedTemporaries(*native);
    // A hidden name in the same folder: the rename stays on one file system,
    // and folder listings never offer the half-written file.
    std::string temp = temporaryTemplate(*native);
    int fd = ::mkostemps(temp.data(), temporaryTemplateSuffixLength(), O_CLOEXEC);
    if (fd < 0) {
        return fail(errno);
    }
    // Held until the file has its name: a later save takes an unlocked
    // temporary file for one a killed save left.
    ::flock(fd, LOCK_EX | LOCK_NB);
    int err = writeContent(fd);
    if (err == 0) {
        err =
            exists ? takeOverOwnerAndMode(fd, old) : (::fchmod(fd, newFileMode()) == 0 ? 0 : errno);
    }
    // The content reaches the disk before the name does, so a crash never
    // leaves the name on an empty or partial file.
    if (err == 0 && ::fsync(fd) != 0) {
        err = errno;
    }
    if (err == 0) {
        // Without replace, link() fails rather than overwrite a file that
        // appeared meanwhile.
        int moved = replace ? ::rename(temp.c_str(), native->c_str())
                            : ::link(temp.c_str(), native->c_str());
        if (moved != 0) {
            err = errno;
        }
    }
    if (err != 0 || !replace) {
        ::unlink(temp.c_str());
    }
    // The content was synced before the rename: a late close error loses nothing.
    ::close(fd);
    if (err != 0) {
        return fail(err);
    }
    // The rename itself reaches the disk with the folder.
    std::string folder = native->substr(0, native->find_last_of('/') + 1);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

void startWritingBack(int fd, long long& written, long long end) {
    // Large feeds are tens of megabytes: written back while the rest is
    // serialised, instead of all at the flush.
    constexpr long long kStep = 8LL << 20;
    if (end - written < kStep) {
        return;
    }
    // Only advice: where the system cannot, the flush writes it all.
    ::sync_file_range(fd, written, end - written, SYNC_FILE_RANGE_WRITE);
    written = end;
}

}  // namespace lum
