// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test. windows() gives its Windows path.
#pragma once

#include "win32/PathMapping.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "newsdesk-test-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        m_path = made ? made : "";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path native(const std::string& name) const { return m_path / name; }
    std::u16string windows(const std::string& name = "") const {
        return nd::win32::toWindowsPath((name.empty() ? m_path : m_path / name).string())
            .value_or(u"");
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }
    // The names directly in the folder: what a test expects left behind.
    std::set<std::string> names(const std::string& folder = "") const {
        std::set<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(m_path / folder)) {
            out.insert(entry.path().filename().string());
        }
        return out;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(m_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::filesystem::path m_path;
};
