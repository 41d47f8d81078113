#include "hostapp/app/COptionEngineer.h"

#include "hostapp/files/UserSettings.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace lum {

const std::vector<OptionName>& optionNames() {
    static const std::vector<OptionName> names = {
        {kOptionPodcastConversion, "podcast-conversion"},
        {kOptionSiteFormInAutoDiscovery, "autodiscovery-site-url"},
    };
    return names;
}

}  // namespace lum

namespace {

constexpr const char* kSection = "options";
// Bits without a name are kept under this key, so that a flag this build does
// not know survives a save by it.
constexpr const char* kOtherBits = "other-flags";

void warn(const std::string& line) {
    std::fprintf(stderr, "newsdesk: %s\n", line.c_str());
}

}  // namespace

COptionEngineer* COptionEngineer::getInstance() {
    static COptionEngineer options(lum::defaultSettingsPath());
    return &options;
}

COptionEngineer::COptionEngineer(std::string settingsPath)
    : m_settings(std::make_unique<lum::UserSettings>(std::move(settingsPath))) {}

COptionEngineer::~COptionEngineer() = default;

void COptionEngineer::load() const {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_flags = kDefaultFlags;
    const nlohmann::json* section = m_settings->section(kSection);
    if (!m_settings->problem().empty()) {
        m_problem = m_settings->problem();
        return;
    }
    if (section == nullptr) {
        return;
    }
    // A section that is not ours to read is left alone like a damaged file:
    // the defaults hold and the file stays.
    auto bad = [&](const std::string& why) {
        m_flags = kDefaultFlags;
        m_problem = m_settings->path() + ": " + why;
    };
    if (!section->is_object()) {
        bad("\"options\" is not an object");
        return;
    }
    DWORD flags = kDefaultFlags;
    for (const auto& option : lum::optionNames()) {
        if (!section->contains(option.name)) {
            continue;
        }
        const auto& value = (*section)[option.name];
        if (!value.is_boolean()) {
            bad(std::string("\"") + option.name + "\" is not true or false");
            return;
        }
        flags = value.get<bool>() ? (flags | option.bit) : (flags & ~option.bit);
    }
    if (section->contains(kOtherBits)) {
        const auto& value = (*section)[kOtherBits];
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu) {
            bad(std::string("\"") + kOtherBits + "\" is not a flag word");
            return;
        }
        flags |= static_cast<DWORD>(value.get<std::uint64_t>());
    }
    m_flags = flags;
}

DWORD COptionEngineer::getFlags() const {
    load();
    if (!m_problem.empty() && !m_warned) {
        m_warned = true;
        warn(m_problem + "; using the default options, the file is left as it is");
    }
    return m_flags;
}

const std::string& COptionEngineer::problem() const {
    load();
    return m_problem;
}

bool COptionEngineer::storeFlags(DWORD flags, std::string& error) {
    load();
    m_flags = flags;
    if (!m_problem.empty()) {
        error = m_problem + "; the file was left as it is: mend or remove it";
        return false;
    }
    nlohmann::json section = nlohmann::json::object();
    DWORD named = 0;
    for (const auto& option : lum::optionNames()) {
        section[option.name] = (flags & option.bit) != 0;
        named |= option.bit;
    }
    if ((flags & ~named) != 0) {
        section[kOtherBits] = flags & ~named;
    }
    return m_settings->storeSection(kSection, section, error);
}

void COptionEngineer::setFlags(DWORD flags) {
    std::string error;
    if (!storeFlags(flags, error)) {
        warn("the options were not saved: " + error);
    }
}
