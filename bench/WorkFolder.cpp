#include "WorkFolder.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace newsdesk::bench {

WorkFolder::~WorkFolder() {
    if (m_own) {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
}

bool WorkFolder::open(const char* program, const std::string& requested) {
    if (requested.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "newsdesk-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror(program);
            return false;
        }
        m_path = pattern;
        m_own = true;
        return true;
    }
    // A folder that is not there yet is made, as the feeds are.
    std::error_code ec;
    std::filesystem::create_directories(requested, ec);
    if (ec || !std::filesystem::is_directory(requested)) {
        std::fprintf(stderr, "%s: %s: cannot make the folder (%s)\n", program, requested.c_str(),
                     ec ? ec.message().c_str() : "not a folder");
        return false;
    }
    m_path = requested;
    return true;
}

}  // namespace newsdesk::bench
