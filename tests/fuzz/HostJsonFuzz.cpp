// The host program's JSON inputs: channel records (read/write commands) and
// UI scripts. The first byte picks which.
#include "frontend/UiScript.h"
#include "json/RecordJson.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        nd::win32::ScriptedDriver driver([](const std::string&) {});
        std::string error;
        newsdesk::app::parseUiScript(text, driver, error);
        return 0;
    }
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        return 0;
    }
    CRSSChannel channel;
    std::string error;
    if (newsdesk::app::fromJson(json, channel, error)) {
        // What was accepted prints back as JSON.
        (void)newsdesk::app::toJson(channel).dump();
    }
    return 0;
}
