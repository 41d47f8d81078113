// The user's options of the host application, kept in the "options" section
// of the user's settings file (UserSettings.h).
#pragma once

#include "win32/windows.h"

#include <memory>
#include <string>
#include <vector>

namespace lum {
class UserSettings;

// Bits of the option flag word.
constexpr DWORD kOptionPodcastConversion = 0x4;  // offer to convert a media file for a podcast
constexpr DWORD kOptionSiteFormInAutoDiscovery = 0x100;  // add the site URL of a feed to pages

struct OptionName {
    DWORD bit;
    const char* name;  // as the settings file and the options command spell it
};
// Every option with a name, in the order they are listed.
const std::vector<OptionName>& optionNames();
}  // namespace lum

class COptionEngineer {
  public:
    // The options of this user; never freed. Without a configuration folder
    // the options are the defaults and cannot be kept.
    static COptionEngineer* getInstance();

    // Options kept in the settings file at settingsPath (tests use their own).
    explicit COptionEngineer(std::string settingsPath);
    ~COptionEngineer();

    // The flag word; the defaults when the settings file is missing or cannot
    // be used (a file that cannot be used is reported once on stderr).
    DWORD getFlags() const;
    // Sets and keeps the flag word. A failed save is reported on stderr; the
    // flags hold for this run all the same.
    void setFlags(DWORD flags);
    // The same, giving the reason a save failed. A settings file that exists
    // but cannot be used is never overwritten.
    bool storeFlags(DWORD flags, std::string& error);
    // Why the settings file could not be used (then the defaults hold);
    // empty when it could or is missing. Says nothing on stderr.
    const std::string& problem() const;

    static constexpr DWORD kDefaultFlags = lum::kOptionPodcastConversion;

  private:
    void load() const;

    std::unique_ptr<lum::UserSettings> m_settings;
    mutable bool m_loaded = false;
    mutable DWORD m_flags = kDefaultFlags;
    mutable std::string m_problem;  // why the settings could not be read
    mutable bool m_warned = false;
};
