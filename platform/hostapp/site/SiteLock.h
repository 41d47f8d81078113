// One writer per site: a command that changes a site's files or database
// holds an advisory lock on a file beside the database for as long as it
// runs, so that a rebuild and a rename from two programs do not interleave.
// Commands that only read take no lock and never wait.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace lum::site {

// The lock file of the site in folder (a native path); its name starts with
// the database's, so the scanner leaves it out.
std::string siteLockPath(const std::string& folder);

class SiteLock {
  public:
    // Takes the site's lock, trying again until wait has passed. nullptr,
    // with the one-line reason in error, when another process holds it or
    // the lock file cannot be made.
    static std::unique_ptr<SiteLock> acquire(const std::string& folder,
                                             std::chrono::milliseconds wait, std::string& error);
    ~SiteLock();
    SiteLock(const SiteLock&) = delete;
    SiteLock& operator=(const SiteLock&) = delete;

  private:
    explicit SiteLock(int fd) : m_fd(fd) {}
    int m_fd;
};

}  // namespace lum::site
