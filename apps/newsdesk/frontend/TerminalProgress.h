// A progress bar on a terminal: one line redrawn in place, at most once per
// percent, and nothing at all when the stream is not a terminal.
#pragma once

#include <cstddef>
#include <iosfwd>

namespace newsdesk::app {

class TerminalProgress {
  public:
    TerminalProgress(std::ostream& out, bool enabled) : m_out(out), m_enabled(enabled) {}
    void show(size_t done, size_t total);
    // Ends the line when a bar was drawn.
    void finish();

  private:
    std::ostream& m_out;
    bool m_enabled;
    bool m_drawn = false;
    int m_lastPercent = -1;
};

}  // namespace newsdesk::app
