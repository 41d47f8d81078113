#include "hostapp/site/SiteLock.h"

#include "hostapp/site/SiteDatabase.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

namespace lum::site {

std::string siteLockPath(const std::string& folder) {
    return (std::filesystem::path(folder) / (std::string(kDatabaseFile) + ".lock")).string();
}

std::unique_ptr<SiteLock> SiteLock::acquire(const std::string& folder,
                                            std::chrono::milliseconds wait, std::string& error) {
    const std::string path = siteLockPath(folder);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot lock the site: " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    // The lock goes with the process: a newsdesk that dies, however it
    // dies, leaves the site free for the next one.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if ((err != EWOULDBLOCK && err != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            error = err == EWOULDBLOCK
                        ? "the site is busy (another newsdesk is changing it)"
                        : "cannot lock the site: " + path + ": " + std::strerror(err);
            ::close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::unique_ptr<SiteLock>(new SiteLock(fd));
}

SiteLock::~SiteLock() {
    ::close(m_fd);
}

}  // namespace lum::site
