#include "win32/FileApi.h"

#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

std::optional<std::string> mapped(LPCWSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    auto native = nd::win32::toNativePath(path);
    if (!native) {
        SetLastError(ERROR_PATH_NOT_FOUND);
    }
    return native;
}

BOOL failWithErrno() {
    SetLastError(nd::win32::errorFromErrno(errno));
    return FALSE;
}

bool exists(const std::string& native) {
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0;
}

}  // namespace

namespace nd::win32 {

DWORD errorFromErrno(int err) {
    switch (err) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
        case ENOTEMPTY:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_BAD_PATHNAME;
        case EFBIG:
            return ERROR_FILE_TOO_LARGE;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case EIO:
            return ERROR_WRITE_FAULT;
        case EOPNOTSUPP:
            return ERROR_NOT_SUPPORTED;
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

}  // namespace nd::win32

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD error) {
    t_lastError = error;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    auto native = mapped(path);
    if (!native) {
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat st {};
    if (::stat(native->c_str(), &st) != 0) {
        failWithErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if (::access(native->c_str(), W_OK) != 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

BOOL MoveFileW(LPCWSTR from, LPCWSTR to) {
    return MoveFileExW(from, to, 0);
}

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    auto src = mapped(from);
    auto dst = mapped(to);
    if (!src || !dst) {
        return FALSE;
    }
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) {
        // renameat2(RENAME_NOREPLACE) keeps the check and the move one step.
        if (::renameat2(AT_FDCWD, src->c_str(), AT_FDCWD, dst->c_str(), RENAME_NOREPLACE) != 0) {
            if (errno != EINVAL && errno != ENOSYS) {
                return failWithErrno();
            }
            if (exists(*dst)) {
                SetLastError(ERROR_ALREADY_EXISTS);
                return FALSE;
            }
            if (::rename(src->c_str(), dst->c_str()) != 0) {
                return failWithErrno();
            }
        }
        return TRUE;
    }
    if (::rename(src->c_str(), dst->c_str()) != 0) {
        return failWithErrno();
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR path) {
    auto native = mapped(path);
    if (!native) {
        return FALSE;
    }
    struct stat st {};
    if (::lstat(native->c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::unlink(native->c_str()) == 0 ? TRUE : failWithErrno();
}

BOOL CreateHardLinkW(LPCWSTR newLink, LPCWSTR existing, void*) {
    auto link = mapped(newLink);
    auto target = mapped(existing);
    if (!link || !target) {
        return FALSE;
    }
    // A symbolic link is followed: the new name is the file's own.
    return ::linkat(AT_FDCWD, target->c_str(), AT_FDCWD, link->c_str(), AT_SYMLINK_FOLLOW) == 0
               ? TRUE
               : failWithErrno();
}

BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
    auto src = mapped(from);
    auto dst = mapped(to);
    if (!src || !dst) {
        return FALSE;
    }
    int in = ::open(src->c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return failWithErrno();
    }
    int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
    int out = ::open(dst->c_str(), flags, 0644);
    if (out < 0) {
        int err = errno;
        ::close(in);
        errno = err;
        return failWithErrno();
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno != EINTR) {
                ok = false;
                break;
            }
            done += w > 0 ? w : 0;
        }
        if (!ok) {
            break;
        }
    }
    int err = errno;
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(dst->c_str());
        errno = err;
        return failWithErrno();
    }
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, void*) {
    auto native = mapped(path);
    if (!native) {
        return FALSE;
    }
    return ::mkdir(native->c_str(), 0755) == 0 ? TRUE : failWithErrno();
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    auto native = mapped(path);
    if (!native) {
        return FALSE;
    }
    return ::rmdir(native->c_str()) == 0 ? TRUE : failWithErrno();
}
