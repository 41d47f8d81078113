#include "hostapp/files/FileErrors.h"

#include <utility>

namespace lum {

namespace {
// Commands run on the user-interface thread only.
std::vector<FailedFileOperation>& failures() {
    static std::vector<FailedFileOperation> list;
    return list;
}
}  // namespace

std::string fileErrorReason(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return "no such file";
        case ERROR_PATH_NOT_FOUND:
            return "no such folder";
        case ERROR_ACCESS_DENIED:
            return "permission denied";
        case ERROR_ALREADY_EXISTS:
            return "something of that name is already there";
        case ERROR_DISK_FULL:
            return "no space left on the device";
        case ERROR_BAD_PATHNAME:
            return "the name is too long";
        case ERROR_NOT_SAME_DEVICE:
            return "it would cross to another file system";
        case ERROR_WRITE_FAULT:
            return "an input/output error";
        default:
            return "system error " + std::to_string(error);
    }
}

void reportFailedFileOperation(std::string message) {
    failures().push_back({std::move(message)});
}

std::vector<FailedFileOperation> takeFailedFileOperations() {
    return std::exchange(failures(), {});
}

}  // namespace lum
