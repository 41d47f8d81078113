#include "hostapp/files/FailedSaves.h"

#include <utility>

namespace lum {

namespace {
// Commands run on the user-interface thread only.
std::vector<FailedSave>& failedSaves() {
    static std::vector<FailedSave> saves;
    return saves;
}
}  // namespace

void reportFailedSave(const CString& path, DWORD error) {
    failedSaves().push_back({path, error});
}

std::vector<FailedSave> takeFailedSaves() {
    return std::exchange(failedSaves(), {});
}

}  // namespace lum
