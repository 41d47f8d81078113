// The folder a benchmark writes its feeds into: the one the person named
// (made when missing, kept afterwards) or a fresh temporary one (removed
// when the benchmark ends).
#pragma once

#include <string>

namespace newsdesk::bench {

class WorkFolder {
  public:
    WorkFolder() = default;
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();

    // false, with a line on stderr naming program, when the folder cannot be made.
    bool open(const char* program, const std::string& requested);
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    bool m_own = false;
};

}  // namespace newsdesk::bench
