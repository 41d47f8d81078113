#include "hostapp/files/UserSettings.h"

#include "hostapp/files/AtomicFile.h"
#include "win32/PathMapping.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace lum {
namespace {

// A settings file is a few hundred bytes; anything far larger is not ours.
constexpr off_t kLargestSettingsFile = 1 << 20;

enum class ReadResult { Missing, Read, Unusable };

// Reads a regular file of sane size without following it into a FIFO or a
// device, which would block or never end.
ReadResult readSmallFile(const std::string& path, std::string& bytes, std::string& why) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return ReadResult::Missing;
        }
        why = std::strerror(errno);
        return ReadResult::Unusable;
    }
    struct stat st {};
    ReadResult result = ReadResult::Read;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = "not a regular file";
        result = ReadResult::Unusable;
    } else if (st.st_size > kLargestSettingsFile) {
        why = "larger than a settings file can be";
        result = ReadResult::Unusable;
    } else {
        char buf[8192];
        ssize_t n = 0;
        while ((n = ::read(fd, buf, sizeof buf)) > 0 &&
               bytes.size() <= static_cast<size_t>(kLargestSettingsFile)) {
            bytes.append(buf, static_cast<size_t>(n));
        }
        if (n < 0) {
            why = std::strerror(errno);
            result = ReadResult::Unusable;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace

std::string defaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.config";
    } else {
        return std::string();
    }
    return base + "/newsdesk/options.json";
}

UserSettings::UserSettings(std::string path) : m_path(std::move(path)) {}

UserSettings::~UserSettings() = default;

void UserSettings::load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    if (m_path.empty()) {
        return;
    }
    m_root.reset();
    m_problem.clear();
    std::string bytes;
    std::string why;
    switch (readSmallFile(m_path, bytes, why)) {
        case ReadResult::Missing:
            m_root = std::make_unique<nlohmann::json>(nlohmann::json::object());
            return;
        case ReadResult::Unusable:
            m_problem = m_path + ": " + why;
            return;
        case ReadResult::Read:
            break;
    }
    nlohmann::json root = nlohmann::json::parse(bytes, nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        m_problem = m_path + ": not a settings file (a JSON object)";
        return;
    }
    m_root = std::make_unique<nlohmann::json>(std::move(root));
}

const std::string& UserSettings::problem() {
    load();
    return m_problem;
}

const nlohmann::json* UserSettings::section(const std::string& name) {
    load();
    if (!m_root || !m_root->contains(name)) {
        return nullptr;
    }
    return &(*m_root)[name];
}

bool UserSettings::storeSection(const std::string& name, const nlohmann::json& value,
                                std::string& error) {
    load();
    if (m_path.empty()) {
        error = "there is no configuration folder (HOME and XDG_CONFIG_HOME are unset)";
        return false;
    }
    // Another run may have saved another section since this one read the
    // file: start from what is there now.
    m_loaded = false;
    load();
    if (!m_root) {
        error = m_problem + "; the file was left as it is: mend or remove it";
        return false;
    }
    std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }
    auto windowsPath = nd::win32::toWindowsPath(m_path);
    if (!windowsPath) {
        error = m_path + ": not a path this system can write";
        return false;
    }
    nlohmann::json next = *m_root;
    next[name] = value;
    std::string bytes = next.dump(2) + "\n";
    if (!writeFileAtomically(CString(*windowsPath), bytes, true)) {
        error = m_path + ": could not be written";
        return false;
    }
    *m_root = std::move(next);
    return true;
}

}  // namespace lum
