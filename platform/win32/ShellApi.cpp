#include "win32/ShellApi.h"

#include "win32/FileApi.h"

#include <string>
#include <vector>

namespace {

// The shell's codes for what went wrong.
constexpr int kErrorInvalidParameter = 0x57;
constexpr int kErrorCancelled = 0x4C7;
constexpr int kErrorFileNotFound = 0x02;
constexpr int kErrorAccessDenied = 0x05;

std::vector<std::u16string> splitList(LPCWSTR list) {
    std::vector<std::u16string> paths;
    if (!list) {
        return paths;
    }
    for (const WCHAR* p = list; *p;) {
        std::u16string path(p);
        p += path.size() + 1;
        paths.push_back(std::move(path));
    }
    return paths;
}

}  // namespace

int SHFileOperationW(SHFILEOPSTRUCTW* operation) {
    if (!operation || operation->wFunc != FO_DELETE) {
        return kErrorInvalidParameter;
    }
    operation->fAnyOperationsAborted = FALSE;
    if (!(operation->fFlags & FOF_NOCONFIRMATION)) {
        operation->fAnyOperationsAborted = TRUE;
        return kErrorCancelled;
    }
    std::vector<std::u16string> paths = splitList(operation->pFrom);
    if (paths.empty()) {
        return kErrorInvalidParameter;
    }
    int result = 0;
    for (const std::u16string& path : paths) {
        DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            result = result ? result : kErrorFileNotFound;
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !::DeleteFileW(path.c_str())) {
            result = result ? result : kErrorAccessDenied;
        }
    }
    return result;
}
