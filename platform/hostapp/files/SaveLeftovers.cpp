#include "hostapp/files/SaveLeftovers.h"

#include "win32/PathMapping.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace lum {

namespace {

constexpr std::string_view kTemporarySuffix = ".ndsave";
constexpr std::string_view kKeptSuffix = ".ndkept";
constexpr std::size_t kRandomPart = 6;  // the XXXXXX of mkostemps

std::size_t folderEnd(const std::string& native) {
    std::size_t slash = native.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The part of the file's name that our names carry: the whole name when
// it fits, else a UTF-8-safe cut marked with a hash of the whole name.
std::string stemOf(std::string_view name) {
    constexpr std::size_t kMaxStem = NAME_MAX - 1 - 1 - kRandomPart - kTemporarySuffix.size();
    if (name.size() <= kMaxStem) {
        return std::string(name);
    }
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) {
        hash = (hash ^ c) * 16777619u;
    }
    char mark[16];
    std::snprintf(mark, sizeof mark, "~%08x", hash);
    std::size_t cut = kMaxStem - std::strlen(mark);
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(name.substr(0, cut)) + mark;
}

bool isAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether entry is one of our temporary names for the file whose stem this is.
bool isTemporaryOf(std::string_view entry, const std::string& stem) {
    std::size_t head = 1 + stem.size() + 1;
    if (entry.size() != head + kRandomPart + kTemporarySuffix.size() || entry[0] != '.' ||
        entry.substr(1, stem.size()) != stem || entry[head - 1] != '.' ||
        entry.substr(head + kRandomPart) != kTemporarySuffix) {
        return false;
    }
    for (std::size_t i = head; i < head + kRandomPart; ++i) {
        if (!isAlnum(entry[i])) {
            return false;
        }
    }
    return true;
}

bool sameBytes(const std::string& a, const std::string& b) {
    FILE* fa = std::fopen(a.c_str(), "rbe");
    FILE* fb = fa ? std::fopen(b.c_str(), "rbe") : nullptr;
    bool same = fa != nullptr && fb != nullptr;
    char ba[1 << 15];
    char bb[1 << 15];
    while (same) {
        std::size_t na = std::fread(ba, 1, sizeof ba, fa);
        std::size_t nb = std::fread(bb, 1, sizeof bb, fb);
        same = na == nb && std::memcmp(ba, bb, na) == 0 && !std::ferror(fa) && !std::ferror(fb);
        if (na == 0) {
            break;
        }
    }
    if (fa) {
        std::fclose(fa);
    }
    if (fb) {
        std::fclose(fb);
    }
    return same;
}

}  // namespace

std::string temporaryTemplate(const std::string& nativePath) {
    std::size_t start = folderEnd(nativePath);
    return nativePath.substr(0, start) + "." + stemOf(std::string_view(nativePath).substr(start)) +
           "." + std::string(kRandomPart, 'X') + std::string(kTemporarySuffix);
}

int temporaryTemplateSuffixLength() {
    return static_cast<int>(kTemporarySuffix.size());
}

CString keptCopyPath(const CString& windowsPath) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    if (!native || native->empty() || native->back() == '/') {
        return CString();
    }
    std::size_t start = folderEnd(*native);
    std::string kept = native->substr(0, start) + "." +
                       stemOf(std::string_view(*native).substr(start)) + std::string(kKeptSuffix);
    auto windows = nd::win32::toWindowsPath(kept);
    return windows ? CString(*windows) : CString();
}

bool isTemporaryName(const std::string& nativePath) {
    std::string_view name = std::string_view(nativePath).substr(folderEnd(nativePath));
    // ".", a stem of at least one character, ".", the random part, the suffix.
    constexpr std::size_t kFixed = 1 + 1 + kRandomPart + kTemporarySuffix.size();
    return name.size() > kFixed &&
           isTemporaryOf(name, std::string(name.substr(1, name.size() - kFixed)));
}

void removeAbandonedTemporaries(const std::string& nativePath) {
    std::size_t start = folderEnd(nativePath);
    std::string stem = stemOf(std::string_view(nativePath).substr(start));
    std::string folder = start == 0 ? "." : nativePath.substr(0, start);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, stem)) {
            continue;
        }
        int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        // A save in progress holds its temporary file locked until the
        // rename; the lock dies with a killed process.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

void recoverKeptCopy(const CString& windowsPath) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    auto kept = nd::win32::toNativePath(keptCopyPath(windowsPath).view());
    struct stat keptStat {};
    if (!native || !kept || ::lstat(kept->c_str(), &keptStat) != 0 || !S_ISREG(keptStat.st_mode)) {
        return;
    }
    struct stat fileStat {};
    if (::lstat(native->c_str(), &fileStat) != 0) {
        if (errno == ENOENT) {
            ::rename(kept->c_str(), native->c_str());
        }
        return;
    }
    if (!S_ISREG(fileStat.st_mode)) {
        return;
    }
    if (fileStat.st_dev == keptStat.st_dev && fileStat.st_ino == keptStat.st_ino) {
        ::unlink(kept->c_str());
    } else if (sameBytes(*kept, *native)) {
        ::rename(kept->c_str(), native->c_str());
    } else {
        ::unlink(kept->c_str());
    }
}

}  // namespace lum
