// What the host program reads besides feeds: records, UI scripts and feeds
// piped to standard input. Each is bounded, so that a device, a pipe or a
// huge file gets an answer instead of a hang or an exhausted memory.
#pragma once

#include <cstddef>
#include <string>

namespace newsdesk::app {

// Reads a regular file of at most limit bytes into text. false with a short
// reason in error ("no such file", "not a regular file", "larger than
// 4 MB", ...) otherwise; a FIFO is refused without being opened for a wait.
bool readInputFile(const std::string& path, std::size_t limit, std::string& text,
                   std::string& error);

// Standard input copied into a temporary file, so that the module can be
// given a path; the file is removed with the object.
class StdinCopy {
  public:
    StdinCopy() = default;
    ~StdinCopy();
    StdinCopy(const StdinCopy&) = delete;
    StdinCopy& operator=(const StdinCopy&) = delete;

    // Copies at most limit bytes; false with a reason in error when standard
    // input holds more or cannot be read or copied.
    bool copy(std::size_t limit, std::string& error);
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

// A feed piped to standard input is copied to a file up to this size.
constexpr std::size_t kLargestPipedFeed = std::size_t{256} << 20;

// "4 MB" for a byte count that is a whole number of MiB.
std::string megabytes(std::size_t bytes);

}  // namespace newsdesk::app
