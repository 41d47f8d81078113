#include "frontend/UiScript.h"

#include "InputFile.h"

#include "hostapp/files/TextPlace.h"

#include "win32/PathMapping.h"
#include "win32/TextConv.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <stdexcept>

namespace newsdesk::app {
namespace {

using nd::win32::UiStep;
using nlohmann::json;

// An hour of virtual time: enough for any dialog's timers, and short enough
// that a fast timer cannot keep the run busy for long.
constexpr int kLongestWait = 3600000;

// Far more than any dialog's steps need.
constexpr std::size_t kLargestScript = std::size_t{4} << 20;

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// JSON keeps numbers above the signed 64-bit range as unsigned ones, which
// read as signed would wrap round to small or negative ids.
bool fitsInt(const json& v) {
    if (v.is_number_unsigned()) {
        return v.get<std::uint64_t>() <= INT32_MAX;
    }
    return v.is_number_integer() && v.get<std::int64_t>() >= INT32_MIN &&
           v.get<std::int64_t>() <= INT32_MAX;
}

int intField(const json& j, const char* key, const std::string& where) {
    if (!j.contains(key) || !fitsInt(j[key])) {
        throw ScriptError(where + ": \"" + key + "\" must be a whole number");
    }
    return j[key].get<int>();
}

std::u16string textField(const json& j, const char* key, const std::string& where) {
    if (!j.contains(key) || !j[key].is_string()) {
        throw ScriptError(where + ": \"" + key + "\" must be a text");
    }
    return nd::text::fromUtf8(j[key].get<std::string>());
}

struct KeyPress {
    UINT key;
    bool shift;
};

KeyPress keyPress(const std::string& name, const std::string& where) {
    const std::pair<const char*, UINT> keys[] = {
        {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE}, {"tab", VK_TAB},
        {"f1", VK_F1},        {"space", VK_SPACE},   {"left", VK_LEFT},  {"right", VK_RIGHT},
        {"up", VK_UP},        {"down", VK_DOWN}};
    std::string rest = name;
    bool shift = false;
    if (rest.rfind("shift+", 0) == 0) {
        shift = true;
        rest = rest.substr(6);
    }
    for (const auto& [keyName, code] : keys) {
        if (rest == keyName) {
            return KeyPress{code, shift};
        }
    }
    throw ScriptError(where + ": unknown key \"" + name + "\"");
}

bool boolField(const json& j, const char* key, const std::string& where) {
    if (!j[key].is_boolean()) {
        throw ScriptError(where + ": \"" + key + "\" must be true or false");
    }
    return j[key].get<bool>();
}

// {"expect": ID, "text": "...", "enabled": true, "visible": true,
//  "checked": false, "radio": ID, "rows": ["..."], "selected": [0]}
UiStep parseExpect(const json& s, const std::string& where) {
    using nd::win32::UiCheck;
    int id = intField(s, "expect", where);
    std::vector<UiCheck> checks;
    for (const auto& [key, value] : s.items()) {
        if (key == "expect") {
            continue;
        }
        if (key == "text") {
            checks.push_back(UiCheck::textIs(textField(s, "text", where)));
        } else if (key == "enabled" || key == "visible" || key == "checked") {
            bool on = boolField(s, key.c_str(), where);
            checks.push_back(key == "enabled"   ? UiCheck::enabled(on)
                             : key == "visible" ? UiCheck::visible(on)
                                                : UiCheck::checked(on));
        } else if (key == "radio") {
            checks.push_back(UiCheck::radioIs(intField(s, "radio", where)));
        } else if (key == "rows") {
            if (!value.is_array()) {
                throw ScriptError(where + ": \"rows\" must be a list of texts");
            }
            std::vector<std::u16string> rows;
            for (const auto& r : value) {
                if (!r.is_string()) {
                    throw ScriptError(where + ": \"rows\" must be a list of texts");
                }
                rows.push_back(nd::text::fromUtf8(r.get<std::string>()));
            }
            checks.push_back(UiCheck::rowsAre(std::move(rows)));
        } else if (key == "selected") {
            if (!value.is_array()) {
                throw ScriptError(where + ": \"selected\" must be a list of row numbers");
            }
            std::vector<int> rows;
            for (const auto& r : value) {
                if (!fitsInt(r)) {
                    throw ScriptError(where + ": \"selected\" must be a list of row numbers");
                }
                rows.push_back(r.get<int>());
            }
            checks.push_back(UiCheck::selectionIs(std::move(rows)));
        } else {
            throw ScriptError(where + ": \"expect\" does not know \"" + key + "\"");
        }
    }
    if (checks.empty()) {
        throw ScriptError(where + ": \"expect\" needs something to check");
    }
    return UiStep::expect(id, std::move(checks));
}

// The keys each kind of step reads besides its own name; a step is of the
// first kind whose name it holds.
struct StepKeys {
    const char* name;
    const char* more[2];
};

const StepKeys kStepKeys[] = {
    {"type", {"text", nullptr}},     {"date", {"value", nullptr}},
    {"time", {"value", nullptr}},    {"click", {nullptr, nullptr}},
    {"check", {"value", "checked"}}, {"select", {"rows", "text"}},
    {"tab", {nullptr, nullptr}},     {"key", {nullptr, nullptr}},
    {"hover", {nullptr, nullptr}},   {"mouseDown", {nullptr, nullptr}},
    {"mouseUp", {nullptr, nullptr}}, {"resize", {nullptr, nullptr}},
    {"mouse", {nullptr, nullptr}},   {"wait", {nullptr, nullptr}},
};

// A key the step does not read would be silently ignored, and the run would
// then do something else than its author meant.
void refuseUnknownKeys(const json& s, const std::string& where) {
    for (const StepKeys& kind : kStepKeys) {
        if (!s.contains(kind.name)) {
            continue;
        }
        for (const auto& [key, value] : s.items()) {
            bool known = key == kind.name;
            for (const char* more : kind.more) {
                known = known || (more != nullptr && key == more);
            }
            if (!known) {
                throw ScriptError(where + ": \"" + kind.name + "\" does not know \"" + key + "\"");
            }
        }
        return;
    }
}

// The box's state a check step leaves: "value", or "checked" as an expect
// step spells it; true when neither is given.
bool checkValue(const json& s, const std::string& where) {
    bool value = true;
    bool given = false;
    for (const char* key : {"value", "checked"}) {
        if (!s.contains(key)) {
            continue;
        }
        bool on = boolField(s, key, where);
        if (given && on != value) {
            throw ScriptError(where + ": \"value\" and \"checked\" disagree");
        }
        value = on;
        given = true;
    }
    return value;
}

UiStep parseStep(const json& s, const std::string& where) {
    if (!s.is_object()) {
        throw ScriptError(where + ": a step must be an object");
    }
    if (s.contains("expect")) {
        return parseExpect(s, where);
    }
    refuseUnknownKeys(s, where);
    if (s.contains("type")) {
        return UiStep::type(intField(s, "type", where), textField(s, "text", where));
    }
    if (s.contains("date") || s.contains("time")) {
        const char* key = s.contains("date") ? "date" : "time";
        return UiStep::type(intField(s, key, where), textField(s, "value", where));
    }
    if (s.contains("click")) {
        return UiStep::click(intField(s, "click", where));
    }
    if (s.contains("check")) {
        return UiStep::check(intField(s, "check", where), checkValue(s, where));
    }
    if (s.contains("select")) {
        int id = intField(s, "select", where);
        if (s.contains("text")) {
            return UiStep::selectText(id, textField(s, "text", where));
        }
        if (!s.contains("rows") || !s["rows"].is_array()) {
            throw ScriptError(where + ": \"select\" needs \"rows\" or \"text\"");
        }
        std::vector<int> rows;
        for (const auto& r : s["rows"]) {
            if (!fitsInt(r)) {
                throw ScriptError(where + ": rows must be whole numbers");
            }
            rows.push_back(r.get<int>());
        }
        return UiStep::select(id, std::move(rows));
    }
    if (s.contains("tab")) {
        return UiStep::selectTab(intField(s, "tab", where));
    }
    if (s.contains("key")) {
        if (!s["key"].is_string()) {
            throw ScriptError(where + ": \"key\" must be a text");
        }
        KeyPress k = keyPress(s["key"].get<std::string>(), where);
        return UiStep::press(k.key, k.shift);
    }
    if (s.contains("hover")) {
        return UiStep::hover(intField(s, "hover", where));
    }
    if (s.contains("mouseDown")) {
        return UiStep::mouseDown(intField(s, "mouseDown", where));
    }
    if (s.contains("mouseUp")) {
        return UiStep::mouseUp(intField(s, "mouseUp", where));
    }
    if (s.contains("resize")) {
        const auto& p = s["resize"];
        if (!p.is_array() || p.size() != 2 || !fitsInt(p[0]) || !fitsInt(p[1]) ||
            p[0].get<int>() <= 0 || p[1].get<int>() <= 0) {
            throw ScriptError(where + ": \"resize\" must be [width, height] in pixels");
        }
        return UiStep::resize(p[0].get<int>(), p[1].get<int>());
    }
    if (s.contains("mouse")) {
        const auto& p = s["mouse"];
        if (!p.is_array() || p.size() != 2 || !fitsInt(p[0]) || !fitsInt(p[1])) {
            throw ScriptError(where + ": \"mouse\" must be [x, y]");
        }
        return UiStep::moveMouse(p[0].get<int>(), p[1].get<int>());
    }
    if (s.contains("wait")) {
        int ms = intField(s, "wait", where);
        if (ms < 0 || ms > kLongestWait) {
            throw ScriptError(where + ": \"wait\" must be 0 to " + std::to_string(kLongestWait) +
                              " milliseconds");
        }
        return UiStep::advance(static_cast<DWORD>(ms));
    }
    throw ScriptError(where + ": unknown step");
}

int answerCode(const json& j, const std::string& where) {
    if (!j.contains("answer")) {
        return IDOK;
    }
    if (j["answer"].is_number_integer()) {
        return j["answer"].get<int>();
    }
    if (!j["answer"].is_string()) {
        throw ScriptError(where + ": \"answer\" must be a button name");
    }
    std::string a = j["answer"].get<std::string>();
    const std::pair<const char*, int> names[] = {
        {"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},      {"no", IDNO},
        {"abort", IDABORT}, {"retry", IDRETRY},   {"ignore", IDIGNORE}};
    for (const auto& [name, code] : names) {
        if (a == name) {
            return code;
        }
    }
    throw ScriptError(where + ": unknown answer \"" + a + "\"");
}

// An entry is an object of the given keys only.
void checkEntry(const json& entry, std::initializer_list<const char*> keys,
                const std::string& where) {
    if (!entry.is_object()) {
        throw ScriptError(where + ": must be an object");
    }
    for (const auto& [key, value] : entry.items()) {
        bool known = false;
        for (const char* k : keys) {
            known = known || key == k;
        }
        if (!known) {
            throw ScriptError(where + ": unknown field \"" + key + "\"");
        }
    }
}

void parse(const json& root, nd::win32::ScriptedDriver& driver) {
    if (!root.is_object()) {
        throw ScriptError("the script must be a JSON object");
    }
    for (const auto& [key, value] : root.items()) {
        if (key != "dialogs" && key != "messageBoxes" && key != "choosers") {
            throw ScriptError("unknown entry \"" + key + "\"");
        }
        if (!value.is_array()) {
            throw ScriptError("\"" + key + "\" must be a list");
        }
    }
    // Everything is checked before anything reaches the driver.
    std::vector<std::pair<int, std::vector<UiStep>>> dialogs;
    std::vector<nd::win32::MessageBoxAnswer> boxes;
    std::vector<nd::win32::ChooserAnswer> choosers;
    if (root.contains("dialogs")) {
        int n = 0;
        for (const auto& d : root["dialogs"]) {
            std::string where = "dialog entry " + std::to_string(++n);
            checkEntry(d, {"template", "steps"}, where);
            int id = intField(d, "template", where);
            std::vector<UiStep> steps;
            if (d.contains("steps")) {
                if (!d["steps"].is_array()) {
                    throw ScriptError(where + ": \"steps\" must be a list");
                }
                int k = 0;
                for (const auto& s : d["steps"]) {
                    steps.push_back(parseStep(s, where + ", step " + std::to_string(++k)));
                }
            }
            dialogs.emplace_back(id, std::move(steps));
        }
    }
    if (root.contains("messageBoxes")) {
        int n = 0;
        for (const auto& b : root["messageBoxes"]) {
            std::string where = "message box entry " + std::to_string(++n);
            checkEntry(b, {"string", "text", "answer", "icon", "buttons"}, where);
            nd::win32::MessageBoxAnswer a;
            if (b.contains("string")) {
                int id = intField(b, "string", where);
                if (id <= 0) {
                    throw ScriptError(where + ": \"string\" must be a string id");
                }
                a.stringId = static_cast<UINT>(id);
            }
            if (b.contains("text")) {
                a.textContains = textField(b, "text", where);
            }
            a.answer = answerCode(b, where);
            if (b.contains("icon")) {
                auto icon = b["icon"].is_string()
                                ? nd::win32::iconFromName(b["icon"].get<std::string>())
                                : std::nullopt;
                if (!icon) {
                    throw ScriptError(where +
                                      ": \"icon\" must be none, stop, question, warning or "
                                      "information");
                }
                a.icon = *icon;
            }
            if (b.contains("buttons")) {
                auto buttons = b["buttons"].is_string()
                                   ? nd::win32::buttonsFromName(b["buttons"].get<std::string>())
                                   : std::nullopt;
                if (!buttons) {
                    throw ScriptError(where +
                                      ": \"buttons\" must be ok, ok-cancel, yes-no, "
                                      "yes-no-cancel, retry-cancel or abort-retry-ignore");
                }
                a.buttons = *buttons;
            }
            boxes.push_back(std::move(a));
        }
    }
    if (root.contains("choosers")) {
        int n = 0;
        for (const auto& c : root["choosers"]) {
            std::string where = "chooser entry " + std::to_string(++n);
            checkEntry(c, {"kind", "fileKind", "path", "cancel"}, where);
            nd::win32::ChooserAnswer a;
            if (c.contains("kind")) {
                std::string kind = c["kind"].is_string() ? c["kind"].get<std::string>() : "";
                if (kind == "open") {
                    a.kind = nd::win32::ChooserKind::OpenFile;
                } else if (kind == "save") {
                    a.kind = nd::win32::ChooserKind::SaveFile;
                } else if (kind == "folder") {
                    a.kind = nd::win32::ChooserKind::Folder;
                } else {
                    throw ScriptError(where + ": \"kind\" must be open, save or folder");
                }
            }
            if (c.contains("fileKind")) {
                a.fileKind = intField(c, "fileKind", where);
            }
            bool cancel =
                c.contains("cancel") && c["cancel"].is_boolean() && c["cancel"].get<bool>();
            if (!cancel) {
                if (!c.contains("path") || !c["path"].is_string()) {
                    throw ScriptError(where + ": needs a \"path\" or \"cancel\": true");
                }
                auto windows = nd::win32::toWindowsPath(c["path"].get<std::string>());
                if (!windows) {
                    throw ScriptError(where + ": \"" + c["path"].get<std::string>() +
                                      "\" cannot be a Windows path");
                }
                a.path = *windows;
            }
            choosers.push_back(std::move(a));
        }
    }
    for (auto& [id, steps] : dialogs) {
        driver.expectDialog(id, std::move(steps));
    }
    for (auto& b : boxes) {
        driver.expectMessageBox(std::move(b));
    }
    for (auto& c : choosers) {
        driver.expectChooser(std::move(c));
    }
}

}  // namespace

bool parseUiScript(const std::string& text, nd::win32::ScriptedDriver& driver, std::string& error) {
    json root;
    try {
        root = json::parse(text);
    } catch (const json::parse_error& e) {
        error = "not valid JSON at " + lum::placeInText(text, e.byte);
        return false;
    } catch (const json::out_of_range&) {
        error = "a number in it is too large";
        return false;
    }
    try {
        parse(root, driver);
    } catch (const ScriptError& e) {
        error = e.what();
        return false;
    }
    return true;
}

bool loadUiScript(const std::string& path, nd::win32::ScriptedDriver& driver, std::string& error) {
    std::string text;
    if (!readInputFile(path, kLargestScript, text, error)) {
        error = path + ": " + error;
        return false;
    }
    if (!parseUiScript(text, driver, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace newsdesk::app
