// Pins the process's time zone for the life of a test.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class TzGuard {
  public:
    explicit TzGuard(const char* tz) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~TzGuard() {
        if (m_old) {
            ::setenv("TZ", m_old->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    TzGuard(const TzGuard&) = delete;
    TzGuard& operator=(const TzGuard&) = delete;

  private:
    std::optional<std::string> m_old;
};
