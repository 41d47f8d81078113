#include "win32/HeapPolicy.h"

#include <malloc.h>
#include <sys/stat.h>

#include <atomic>
#include <cstddef>

namespace nd::heap {

namespace {

std::atomic<bool> g_mergesOnFree{false};

// The size up to which glibc keeps freed blocks in its fast bins by default.
constexpr int kFastBlocks = 64 * static_cast<int>(sizeof(std::size_t)) / 4;

// Whether the process runs one thread: /proc/self/task holds one entry per
// thread beside "." and "..". Unknown counts as more.
bool onlyThread() {
    struct stat info {};
    return ::stat("/proc/self/task", &info) == 0 && info.st_nlink == 3;
}

}  // namespace

void mergeSmallBlocksOnFree() {
    if (mallopt(M_MXFAST, 0) == 1) {
        g_mergesOnFree = true;
    }
}

SmallBlocksReused::SmallBlocksReused() {
    if (g_mergesOnFree && onlyThread()) {
        m_active = mallopt(M_MXFAST, kFastBlocks) == 1;
    }
}

SmallBlocksReused::~SmallBlocksReused() {
    if (m_active) {
        mallopt(M_MXFAST, 0);
    }
}

}  // namespace nd::heap
