#include "hostapp/files/AtomicFileBatch.h"

#include "hostapp/files/AtomicFile.h"

#include "hostapp/files/ReplacedFile.h"
#include "hostapp/files/SaveLeftovers.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <set>

namespace lum {

namespace {

bool fail(int err) {
    SetLastError(nd::win32::errorFromErrno(err));
    return false;
}

std::string folderOf(const std::string& native) {
    std::string folder = native.substr(0, native.find_last_of('/') + 1);
    return folder.empty() ? "." : folder;
}

// Runs f with an open descriptor of each distinct folder.
template <typename F>
void forEachFolder(const std::set<std::string>& folders, F f) {
    for (const std::string& folder : folders) {
        int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            f(dir);
            ::close(dir);
        }
    }
}

std::optional<std::string> nativeFile(const CString& path) {
    auto native = nd::win32::toNativePath(path.view());
    if (!native || native->empty() || native->back() == '/') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    return native;
}

// Whether the file at native can be replaced; old receives its status.
bool replaceable(const std::string& native, struct stat& old) {
    if (::lstat(native.c_str(), &old) != 0) {
        return fail(errno);
    }
    if (!S_ISREG(old.st_mode)) {
        return fail(EEXIST);
    }
    // A file marked read-only is not replaced behind its owner's back.
    if (refusesReplacing(native, old)) {
        return fail(EACCES);
    }
    return true;
}

}  // namespace

AtomicFileBatch::~AtomicFileBatch() {
    for (const Pending& p : m_pending) {
        ::unlink(p.temp.c_str());
    }
}

bool AtomicFileBatch::canReplace(const CString& path) {
    auto native = nativeFile(path);
    struct stat old {};
    if (!native || !replaceable(*native, old)) {
        return false;
    }
    // The new content takes the name by a rename in the file's folder.
    if (::access(folderOf(*native).c_str(), W_OK | X_OK) != 0) {
        return fail(errno);
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool AtomicFileBatch::add(const CString& path, std::string_view bytes, const CString& target) {
    auto native = nativeFile(path);
    auto targetNative = target.IsEmpty() ? native : nativeFile(target);
    if (!native || !targetNative) {
        return false;
    }
    struct stat old {};
    if (!replaceable(*native, old)) {
        return false;
    }
    removeAbandonedTemporaries(*native);
    std::string temp = temporaryTemplate(*native);
    int fd = ::mkostemps(temp.data(), temporaryTemplateSuffixLength(), O_CLOEXEC);
    if (fd < 0) {
        return fail(errno);
    }
    int err = writeAll(fd, bytes);
    if (err == 0) {
        err = takeOverOwnerAndMode(fd, old);
    }
    // Closed at once: a site has more pages than a process has descriptors.
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(temp.c_str());
        return fail(err);
    }
    m_pending.push_back({target.IsEmpty() ? path : target, *targetNative, std::move(temp)});
    m_synced = false;
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool AtomicFileBatch::sync() {
    std::set<std::string> folders;
    for (const Pending& p : m_pending) {
        folders.insert(folderOf(p.temp));
    }
    // One sync per file system.
    std::set<dev_t> synced;
    bool contentsSafe = true;
    forEachFolder(folders, [&](int dir) {
        struct stat st {};
        if (::fstat(dir, &st) == 0 && synced.insert(st.st_dev).second && ::syncfs(dir) != 0) {
            contentsSafe = false;
        }
    });
    m_synced = contentsSafe;
    return contentsSafe;
}

std::vector<CString> AtomicFileBatch::commit(const std::function<void()>& afterEach) {
    std::vector<CString> failed;
    std::set<std::string> folders;
    for (const Pending& p : m_pending) {
        folders.insert(folderOf(p.native));
        folders.insert(folderOf(p.temp));
    }
    // The contents reach the disk before any name does, so a crash never
    // leaves a name on an empty or partial file.
    const bool contentsSafe = m_synced || sync();
    for (const Pending& p : m_pending) {
        if (!contentsSafe || ::rename(p.temp.c_str(), p.native.c_str()) != 0) {
            ::unlink(p.temp.c_str());
            failed.push_back(p.path);
        } else if (afterEach) {
            afterEach();
        }
    }
    m_pending.clear();
    m_synced = false;
    // The renames reach the disk with their folders.
    forEachFolder(folders, [](int dir) { ::fsync(dir); });
    return failed;
}

}  // namespace lum
