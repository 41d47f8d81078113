// The user's settings file of the host application: one JSON object under
// the user's configuration folder, with a section per service (the options,
// later the placements of dialogs). Each service reads and replaces only its
// own section; the others are kept as they are.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string>

namespace lum {

// "$XDG_CONFIG_HOME/newsdesk/options.json", or "$HOME/.config/newsdesk/..."
// when XDG_CONFIG_HOME is unset or not absolute; empty when neither gives a
// folder.
std::string defaultSettingsPath();

class UserSettings {
  public:
    // path empty: a store that cannot be kept (every save fails).
    explicit UserSettings(std::string path);
    ~UserSettings();

    const std::string& path() const { return m_path; }

    // The section as the file holds it; nullptr when the file or the section
    // is missing, or the file cannot be used. A file that cannot be used is
    // reported once in problem().
    const nlohmann::json* section(const std::string& name);

    // Replaces one section and writes the file atomically, creating its
    // folder. A file that exists but could not be read as settings is never
    // overwritten: false with the reason, as for any failed write.
    bool storeSection(const std::string& name, const nlohmann::json& value, std::string& error);

    // Why the file could not be used, empty when it could (or is missing).
    const std::string& problem();

  private:
    void load();

    std::string m_path;
    bool m_loaded = false;
    std::unique_ptr<nlohmann::json> m_root;  // nullptr: no usable file
    std::string m_problem;
};

}  // namespace lum
