#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace newsdesk::app {

namespace {

std::string reasonOf(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return "no such file";
        case EACCES:
        case EPERM:
            return "cannot be read (no permission)";
        default:
            return std::string("cannot be read (") + std::strerror(err) + ")";
    }
}

}  // namespace

std::string megabytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

bool readInputFile(const std::string& path, std::size_t limit, std::string& text,
                   std::string& error) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is
    // checked on what was opened, so nothing can be swapped in between.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = reasonOf(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        error = "larger than " + megabytes(limit);
        return false;
    }
    text.clear();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = reasonOf(errno);
            ::close(fd);
            return false;
        }
        // A file that grows while it is read is held to the same bound.
        if (text.size() + static_cast<std::size_t>(n) > limit) {
            error = "larger than " + megabytes(limit);
            ::close(fd);
            return false;
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

StdinCopy::~StdinCopy() {
    if (!m_path.empty()) {
        ::unlink(m_path.c_str());
    }
}

bool StdinCopy::copy(std::size_t limit, std::string& error) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/newsdesk-stdin-XXXXXX";
    int out = ::mkostemp(name.data(), O_CLOEXEC);
    if (out < 0) {
        error = std::string("no temporary file for standard input (") + std::strerror(errno) + ")";
        return false;
    }
    m_path = name;
    std::vector<char> buffer(1 << 16);
    std::size_t total = 0;
    for (;;) {
        ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = std::string("standard input cannot be read (") + std::strerror(errno) + ")";
            ::close(out);
            return false;
        }
        total += static_cast<std::size_t>(n);
        if (total > limit) {
            error = "standard input is larger than " + megabytes(limit);
            ::close(out);
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) {
                error =
                    std::string("standard input cannot be copied (") + std::strerror(errno) + ")";
                ::close(out);
                return false;
            }
            done += w > 0 ? w : 0;
        }
    }
    ::close(out);
    return true;
}

}  // namespace newsdesk::app
