#include "hostapp/files/CLumRecycledDB.h"

#include "hostapp/files/UserSettings.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace {

const char kSection[] = "recycled";

// The first path of a NUL-ended list, as the store keys it.
std::string firstPath(const CString& list) {
    std::u16string text(list.GetString(), static_cast<size_t>(list.GetLength()));
    return CString(text.substr(0, text.find(u'\0')).c_str()).toUtf8();
}

}  // namespace

CLumRecycledDB::CLumRecycledDB(std::string settingsPath)
    : m_settingsPath(settingsPath.empty() ? lum::defaultSettingsPath() : std::move(settingsPath)) {}

BOOL CLumRecycledDB::Remember(const CString& path, DWORD attributes, DWORD reserved) {
    lum::UserSettings settings(m_settingsPath);
    const nlohmann::json* held = settings.section(kSection);
    nlohmann::json records = held && held->is_object() ? *held : nlohmann::json::object();
    records[path.toUtf8()] = {attributes, reserved};
    std::string error;
    return settings.storeSection(kSection, records, error);
}

BOOL CLumRecycledDB::HasRecycleData(const CString& from) {
    DWORD attributes = 0;
    DWORD reserved = 0;
    return GetFileAttr(from, attributes, reserved);
}

BOOL CLumRecycledDB::GetFileAttr(const CString& from, DWORD& attributes, DWORD& reserved) {
    lum::UserSettings settings(m_settingsPath);
    const nlohmann::json* held = settings.section(kSection);
    std::string key = firstPath(from);
    if (!held || !held->is_object() || key.empty() || !held->contains(key)) {
        return FALSE;
    }
    const nlohmann::json& record = held->at(key);
    if (!record.is_array() || record.size() != 2 || !record[0].is_number_unsigned() ||
        !record[1].is_number_unsigned()) {
        return FALSE;
    }
    attributes = record[0].get<DWORD>();
    reserved = record[1].get<DWORD>();
    return TRUE;
}

BOOL CLumRecycledDB::DeleteSrc(const CString& from, DWORD attributes, DWORD reserved) {
    DWORD heldAttributes = 0;
    DWORD heldReserved = 0;
    if (!GetFileAttr(from, heldAttributes, heldReserved) || heldAttributes != attributes ||
        heldReserved != reserved) {
        return FALSE;
    }
    lum::UserSettings settings(m_settingsPath);
    nlohmann::json records = *settings.section(kSection);
    records.erase(firstPath(from));
    std::string error;
    return settings.storeSection(kSection, records, error);
}
