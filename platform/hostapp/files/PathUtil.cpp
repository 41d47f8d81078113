#include "hostapp/files/PathUtil.h"

#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

int lastSeparator(const CString& path) {
    return std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
}

bool isDriveLetter(const CString& path) {
    if (path.GetLength() < 2 || path.GetAt(1) != u':') {
        return false;
    }
    char16_t c = path.GetAt(0);
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

CString normalised(CString path) {
    path.Replace(u'/', u'\\');
    return path;
}

// The stem as far as stem + tail fits into the longest name a folder allows
// (255 bytes of UTF-8): a longer name can never be created, so a path made
// for a file with a name near that length must give way in its stem.
CString fittingStem(CString stem, const CString& tail) {
    constexpr size_t kMaxName = 255;
    size_t tailBytes = tail.toUtf8().size();
    while (!stem.IsEmpty() && stem.toUtf8().size() + tailBytes > kMaxName) {
        int length = stem.GetLength();
        bool pair = length >= 2 && stem.GetAt(length - 1) >= 0xDC00 &&
                    stem.GetAt(length - 1) <= 0xDFFF && stem.GetAt(length - 2) >= 0xD800 &&
                    stem.GetAt(length - 2) <= 0xDBFF;
        stem = stem.Left(length - (pair ? 2 : 1));
    }
    return stem;
}

}  // namespace

int is_file(const CString& path) {
    auto native = nd::win32::toNativePath(path.view());
    struct stat st {};
    return native && ::stat(native->c_str(), &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
}

bool cmp_file(const CString& path1, const CString& path2) {
    auto a = nd::win32::toNativePath(path1.view());
    auto b = nd::win32::toNativePath(path2.view());
    if (!a || !b) {
        return false;
    }
    std::ifstream f1(*a, std::ios::binary);
    std::ifstream f2(*b, std::ios::binary);
    if (!f1 || !f2) {
        return false;
    }
    char buf1[1 << 14];
    char buf2[1 << 14];
    for (;;) {
        f1.read(buf1, sizeof buf1);
        f2.read(buf2, sizeof buf2);
        std::streamsize n1 = f1.gcount();
        std::streamsize n2 = f2.gcount();
        if (n1 != n2 || !std::equal(buf1, buf1 + n1, buf2)) {
            return false;
        }
        if (n1 == 0 || f1.eof() || f2.eof()) {
            return f1.eof() == f2.eof() && !f1.bad() && !f2.bad();
        }
    }
}

CString getBasePath(const CString& path) {
    int at = lastSeparator(path);
    return at < 0 ? CString() : path.Left(at + 1);
}

CString getBaseName(const CString& path) {
    return path.Mid(lastSeparator(path) + 1);
}

CString getBaseExt(const CString& path) {
    CString name = getBaseName(path);
    int dot = name.ReverseFind(u'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

bool hasEndYenMark(const CString& path) {
    return !path.IsEmpty() && path.GetAt(path.GetLength() - 1) == u'\\';
}

void addLastYenMark(CString& path) {
    if (!path.IsEmpty() && !hasEndYenMark(path)) {
        path += u'\\';
    }
}

int under_root_p(const CString& path, const CString& root) {
    CString p = normalised(path);
    CString r = normalised(root);
    if (r.IsEmpty() || p.IsEmpty()) {
        return 0;
    }
    addLastYenMark(r);
    addLastYenMark(p);
    if (p.GetLength() < r.GetLength()) {
        return 0;
    }
    // Names on this file system differ by letter case ("SITE" is not
    // "site"); only a drive letter is the same in either case.
    int start = 0;
    if (isDriveLetter(r) && isDriveLetter(p)) {
        if ((r.GetAt(0) | 0x20) != (p.GetAt(0) | 0x20)) {
            return 0;
        }
        start = 1;
    }
    return p.Mid(start, r.GetLength() - start) == r.Mid(start) ? 1 : 0;
}

DWORD LumGetLongPathName(const char16_t* shortPath, char16_t* buffer, DWORD size) {
    if (shortPath == nullptr || *shortPath == u'\0' || !nd::win32::toNativePath(shortPath)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    CString longPath = normalised(shortPath);
    DWORD length = static_cast<DWORD>(longPath.GetLength());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::copy_n(longPath.GetString(), length + 1, buffer);
    return length;
}

CString LumGetFinalPathName(const CString& path) {
    auto native = nd::win32::toNativePath(path.view());
    std::error_code ec;
    if (!native || !std::filesystem::is_symlink(*native, ec)) {
        return path;
    }
    auto resolved = std::filesystem::canonical(*native, ec);
    auto windows = ec ? std::nullopt : nd::win32::toWindowsPath(resolved.string());
    return windows ? CString(*windows) : path;
}

CString LumTempFile::makeUniquePath(const CString& baseName, const CString& folder, int,
                                    const CString& ext) {
    CString dir = folder;
    addLastYenMark(dir);
    int dot = baseName.ReverseFind(u'.');
    CString stem = dot > 0 ? baseName.Left(dot) : baseName;
    CString suffix = !ext.IsEmpty() ? (ext.GetAt(0) == u'.' ? ext : u"." + ext)
                                    : (dot > 0 ? baseName.Mid(dot) : CString());
    for (int n = 1; n < 100000; ++n) {
        CString tail;
        tail.Format(u"~%d%s", n, suffix);
        CString candidate = dir + fittingStem(stem, tail) + tail;
        if (GetFileAttributesW(candidate) == INVALID_FILE_ATTRIBUTES) {
            return candidate;
        }
    }
    return CString();
}
