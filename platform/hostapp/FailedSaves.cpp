#include "hostapp/FailedSaves.h"

#include <utility>

namespace lum {

namespace {
// Commands run on the user-interface thread only.
std::vector<CString>& failedSaves() {
    static std::vector<CString> paths;
    return paths;
}
}  // namespace

void reportFailedSave(const CString& path) {
    failedSaves().push_back(path);
}

std::vector<CString> takeFailedSaves() {
    return std::exchange(failedSaves(), {});
}

}  // namespace lum
