#include "frontend/TerminalProgress.h"

#include <ostream>
#include <string>

namespace newsdesk::app {

void TerminalProgress::show(size_t done, size_t total) {
    if (!m_enabled || total == 0) {
        return;
    }
    int percent = static_cast<int>(done * 100 / total);
    if (percent == m_lastPercent) {
        return;
    }
    m_lastPercent = percent;
    constexpr int kWidth = 30;
    int filled = percent * kWidth / 100;
    m_out << "\r[" << std::string(static_cast<size_t>(filled), '#')
          << std::string(static_cast<size_t>(kWidth - filled), '.') << "] " << percent << "% "
          << done << "/" << total << std::flush;
    m_drawn = true;
}

void TerminalProgress::finish() {
    if (m_drawn) {
        m_out << "\n" << std::flush;
        m_drawn = false;
    }
}

}  // namespace newsdesk::app
