#include "win32/ScriptedDriver.h"

#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/TextConv.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <algorithm>
#include <cstdio>

namespace nd::win32 {
namespace {

constexpr int kSheetTabControl = 0x3020;

std::string quoted(std::u16string_view s) {
    return "\"" + nd::text::toUtf8(s) + "\"";
}

std::string dialogName(HWND dialog, int templateId) {
    std::string name = templateId ? "dialog " + std::to_string(templateId) : std::string("dialog");
    std::u16string caption = windowText(dialog);
    return caption.empty() ? name : name + " " + quoted(caption);
}

std::string keyName(UINT key) {
    switch (key) {
        case VK_RETURN:
            return "Enter";
        case VK_ESCAPE:
            return "Esc";
        case VK_TAB:
            return "Tab";
        case VK_F1:
            return "F1";
        case VK_SPACE:
            return "Space";
        case VK_LEFT:
            return "Left";
        case VK_RIGHT:
            return "Right";
        case VK_UP:
            return "Up";
        case VK_DOWN:
            return "Down";
        default:
            return "key " + std::to_string(key);
    }
}

std::string boxKind(UINT style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return "OK/Cancel";
        case MB_ABORTRETRYIGNORE:
            return "Abort/Retry/Ignore";
        case MB_YESNO:
            return "Yes/No";
        case MB_YESNOCANCEL:
            return "Yes/No/Cancel";
        case MB_RETRYCANCEL:
            return "Retry/Cancel";
        default:
            return "OK";
    }
}

// The answers a box of that kind can give: its buttons (Esc on a box with
// only OK answers OK, so that is all an OK box can answer).
std::vector<int> boxAnswers(UINT style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

std::string chooserName(ChooserKind kind) {
    switch (kind) {
        case ChooserKind::OpenFile:
            return "open-file chooser";
        case ChooserKind::SaveFile:
            return "save-file chooser";
        default:
            return "folder chooser";
    }
}

}  // namespace

UiStep UiStep::type(int control, std::u16string text) {
    UiStep s;
    s.kind = Kind::Type;
    s.control = control;
    s.text = std::move(text);
    return s;
}

UiStep UiStep::click(int control) {
    UiStep s;
    s.kind = Kind::Click;
    s.control = control;
    return s;
}

UiStep UiStep::check(int control, bool checked) {
    UiStep s;
    s.kind = Kind::Check;
    s.control = control;
    s.checked = checked;
    return s;
}

UiStep UiStep::select(int control, std::vector<int> rows) {
    UiStep s;
    s.kind = Kind::SelectRows;
    s.control = control;
    s.rows = std::move(rows);
    return s;
}

UiStep UiStep::selectText(int control, std::u16string text) {
    UiStep s;
    s.kind = Kind::SelectText;
    s.control = control;
    s.text = std::move(text);
    return s;
}

UiStep UiStep::setDateTime(int control, const SYSTEMTIME& time) {
    UiStep s;
    s.kind = Kind::SetDateTime;
    s.control = control;
    s.time = time;
    return s;
}

UiStep UiStep::selectTab(int index) {
    UiStep s;
    s.kind = Kind::SelectTab;
    s.control = kSheetTabControl;
    s.rows = {index};
    return s;
}

UiStep UiStep::press(UINT key, bool shift) {
    UiStep s;
    s.kind = Kind::Key;
    s.virtualKey = key;
    s.shift = shift;
    return s;
}

UiStep UiStep::hover(int control) {
    UiStep s;
    s.kind = Kind::Hover;
    s.control = control;
    return s;
}

UiStep UiStep::mouseDown(int control) {
    UiStep s;
    s.kind = Kind::MouseDown;
    s.control = control;
    return s;
}

UiStep UiStep::mouseUp(int control) {
    UiStep s;
    s.kind = Kind::MouseUp;
    s.control = control;
    return s;
}

UiStep UiStep::resize(int width, int height) {
    UiStep s;
    s.kind = Kind::Resize;
    s.point = POINT{width, height};
    return s;
}

UiStep UiStep::moveMouse(int x, int y) {
    UiStep s;
    s.kind = Kind::MoveMouse;
    s.point = POINT{x, y};
    return s;
}

UiStep UiStep::advance(DWORD milliseconds) {
    UiStep s;
    s.kind = Kind::Advance;
    s.milliseconds = milliseconds;
    return s;
}

UiStep UiStep::expect(int control, std::vector<UiCheck> checks) {
    UiStep s;
    s.kind = Kind::Expect;
    s.control = control;
    s.checks = std::move(checks);
    return s;
}

UiStep UiStep::run(std::function<void(HWND)> call) {
    UiStep s;
    s.kind = Kind::Call;
    s.call = std::move(call);
    return s;
}

std::string UiStep::describe() const {
    std::string id = std::to_string(control);
    switch (kind) {
        case Kind::Type:
            return "type " + quoted(text) + " into " + id;
        case Kind::Click:
            return "click " + id;
        case Kind::Check:
            return std::string(checked ? "check " : "uncheck ") + id;
        case Kind::SelectRows: {
            std::string r;
            for (int row : rows) {
                r += (r.empty() ? "" : ",") + std::to_string(row);
            }
            return "select rows [" + r + "] of " + id;
        }
        case Kind::SelectText:
            return "select " + quoted(text) + " in " + id;
        case Kind::SetDateTime: {
            char buf[48];
            std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth,
                          time.wDay, time.wHour, time.wMinute, time.wSecond);
            return "set " + id + " to " + buf;
        }
        case Kind::SelectTab:
            return "select tab " + std::to_string(rows.empty() ? -1 : rows.front());
        case Kind::Key:
            return "press " + std::string(shift ? "Shift+" : "") + keyName(virtualKey);
        case Kind::Hover:
            return "rest the mouse on " + id;
        case Kind::MouseDown:
            return "press the mouse button on " + id;
        case Kind::MouseUp:
            return "let go of the mouse button on " + id;
        case Kind::Resize:
            return "resize the dialog to " + std::to_string(point.x) + "x" +
                   std::to_string(point.y);
        case Kind::MoveMouse:
            return "move the mouse to (" + std::to_string(point.x) + "," + std::to_string(point.y) +
                   ")";
        case Kind::Advance:
            return "wait " + std::to_string(milliseconds) + " ms";
        case Kind::Expect: {
            std::string what;
            for (const auto& c : checks) {
                what += (what.empty() ? "" : ", ") + c.property();
            }
            return "expect " + what + " of " + id;
        }
        case Kind::Call:
        default:
            return "run a check";
    }
}

std::string performUiStep(HWND dialog, const UiStep& step) {
    if (!IsWindow(dialog)) {
        return "the dialog is gone";
    }
    auto control = [&]() -> HWND { return findDescendant(dialog, step.control); };
    auto missing = [&]() { return "there is no control " + std::to_string(step.control); };
    switch (step.kind) {
        case UiStep::Kind::Type:
            return control() ? userType(control(), step.text) : missing();
        case UiStep::Kind::Click:
            return control() ? userClick(control()) : missing();
        case UiStep::Kind::Check:
            return control() ? userCheck(control(), step.checked) : missing();
        case UiStep::Kind::SelectRows:
            return control() ? userSelectRows(control(), step.rows) : missing();
        case UiStep::Kind::SelectText:
            return control() ? userSelectText(control(), step.text) : missing();
        case UiStep::Kind::SetDateTime:
            return control() ? userSetDateTime(control(), step.time) : missing();
        case UiStep::Kind::SelectTab:
            if (!control()) {
                return "there is no property sheet";
            }
            return userSelectTab(control(), step.rows.empty() ? -1 : step.rows.front());
        case UiStep::Kind::Key:
            return userKey(dialog, step.virtualKey, step.shift);
        case UiStep::Kind::MoveMouse:
            return userMoveMouse(dialog, step.point);
        case UiStep::Kind::Hover:
            return control() ? userHover(dialog, control()) : missing();
        case UiStep::Kind::MouseDown:
        case UiStep::Kind::MouseUp:
            return control()
                       ? userMouseButton(dialog, control(), step.kind == UiStep::Kind::MouseDown)
                       : missing();
        case UiStep::Kind::Resize:
            return userResize(dialog, step.point.x, step.point.y);
        case UiStep::Kind::Advance:
            advanceClock(step.milliseconds);
            return {};
        case UiStep::Kind::Expect:
            for (const auto& check : step.checks) {
                if (auto why = checkControl(dialog, step.control, check); !why.empty()) {
                    return why;
                }
            }
            return {};
        case UiStep::Kind::Call:
            if (step.call) {
                step.call(dialog);
                pumpMessages();
            }
            return {};
    }
    return {};
}

ScriptedDriver::ScriptedDriver(FailureHandler onFailure) : m_onFailure(std::move(onFailure)) {}

void ScriptedDriver::expectDialog(int templateId, std::vector<UiStep> steps) {
    m_scripts[templateId].push_back(std::move(steps));
}

void ScriptedDriver::expectMessageBox(MessageBoxAnswer answer) {
    m_boxes.push_back(std::move(answer));
}

void ScriptedDriver::expectChooser(ChooserAnswer answer) {
    m_choosers.push_back(std::move(answer));
}

std::vector<std::string> ScriptedDriver::unmetExpectations() const {
    std::vector<std::string> out;
    for (const auto& [id, scripts] : m_scripts) {
        for (size_t i = 0; i < scripts.size(); ++i) {
            out.push_back("dialog " + std::to_string(id) + " was expected but did not appear");
        }
    }
    for (const auto& box : m_boxes) {
        out.push_back(
            "a message box" +
            (box.stringId ? " with string " + std::to_string(box.stringId) : std::string()) +
            " was expected but did not appear");
    }
    for (const auto& c : m_choosers) {
        out.push_back("a " + (c.kind ? chooserName(*c.kind) : std::string("chooser")) +
                      " was expected but did not appear");
    }
    return out;
}

void ScriptedDriver::fail(const std::string& message) {
    if (m_failed) {
        return;
    }
    m_failed = true;
    m_firstFailure = message;
    if (m_onFailure) {
        m_onFailure(message);
    }
}

void ScriptedDriver::dialogOpened(HWND dialog, int templateId) {
    m_dialogsShown.push_back(templateId);
    Run run;
    run.dialog = dialog;
    run.templateId = templateId;
    auto it = m_scripts.find(templateId);
    if (it == m_scripts.end() || it->second.empty()) {
        fail("unexpected " + dialogName(dialog, templateId));
    } else {
        run.steps = std::move(it->second.front());
        it->second.pop_front();
        if (it->second.empty()) {
            m_scripts.erase(it);
        }
    }
    m_runs.push_back(std::move(run));
}

bool ScriptedDriver::step(HWND dialog, int templateId) {
    if (m_failed) {
        return false;
    }
    auto it = std::find_if(m_runs.rbegin(), m_runs.rend(),
                           [&](const Run& r) { return r.dialog == dialog; });
    if (it == m_runs.rend()) {
        fail("no script for " + dialogName(dialog, templateId));
        return false;
    }
    if (it->next >= it->steps.size()) {
        fail(dialogName(dialog, templateId) + " is still open after its last step");
        return false;
    }
    size_t index = it->next++;
    // Copy: the step may open a nested dialog, which adds to m_runs.
    UiStep step = it->steps[index];
    std::string why = performUiStep(dialog, step);
    if (!why.empty()) {
        fail(dialogName(dialog, templateId) + ", step " + std::to_string(index + 1) + " (" +
             step.describe() + "): " + why);
    }
    return true;
}

void ScriptedDriver::dialogClosed(HWND dialog, int templateId, INT_PTR) {
    auto it = std::find_if(m_runs.rbegin(), m_runs.rend(),
                           [&](const Run& r) { return r.dialog == dialog; });
    if (it != m_runs.rend()) {
        // Steps never played mean the dialog ended sooner than the script
        // foresaw: a button that should not have worked, or a check skipped.
        if (it->next < it->steps.size()) {
            fail(dialogName(dialog, templateId) + " closed before step " +
                 std::to_string(it->next + 1) + " (" + it->steps[it->next].describe() + ")");
        }
        m_runs.erase(std::next(it).base());
    }
}

int ScriptedDriver::messageBox(const MessageBoxRequest& request) {
    m_boxesShown.push_back(request);
    // An answer that does nothing harmful, for boxes nobody expected.
    int safe = harmlessAnswer(request.style);
    std::string shown =
        "message box " +
        (request.stringId ? std::to_string(request.stringId) + " " : std::string()) +
        quoted(request.text) + " (" + boxKind(request.style) + ")";
    if (m_failed) {
        return safe;
    }
    if (m_boxes.empty()) {
        fail("unexpected " + shown);
        return safe;
    }
    MessageBoxAnswer answer = m_boxes.front();
    m_boxes.pop_front();
    if ((answer.stringId && answer.stringId != request.stringId) ||
        (!answer.textContains.empty() &&
         request.text.find(answer.textContains) == std::u16string::npos)) {
        std::string wanted = answer.stringId ? "string " + std::to_string(answer.stringId)
                                             : "a text with " + quoted(answer.textContains);
        fail("expected a message box with " + wanted + ", got " + shown);
        return safe;
    }
    if (answer.icon && *answer.icon != (request.style & MB_ICONMASK)) {
        fail(shown + " icon: expected " + iconName(*answer.icon) + ", found " +
             iconName(request.style));
        return safe;
    }
    if (answer.buttons && *answer.buttons != (request.style & MB_TYPEMASK)) {
        fail(shown + " buttons: expected " + buttonsName(*answer.buttons) + ", found " +
             buttonsName(request.style));
        return safe;
    }
    // A box answers one of its own buttons only: an answer it cannot give
    // would hide a box shown with the wrong buttons.
    auto possible = boxAnswers(request.style);
    if (std::find(possible.begin(), possible.end(), answer.answer) == possible.end()) {
        fail("the answer " + std::to_string(answer.answer) + " is not a button of " + shown);
        return safe;
    }
    return answer.answer;
}

std::optional<std::u16string> ScriptedDriver::choose(const ChooserRequest& request) {
    m_choosersShown.push_back(request);
    if (m_failed) {
        return std::nullopt;
    }
    std::string shown =
        chooserName(request.kind) +
        (request.fileKind ? " for file kind " + std::to_string(request.fileKind) : std::string());
    if (m_choosers.empty()) {
        fail("unexpected " + shown);
        return std::nullopt;
    }
    ChooserAnswer answer = m_choosers.front();
    m_choosers.pop_front();
    if (answer.kind && *answer.kind != request.kind) {
        fail("expected a " + chooserName(*answer.kind) + ", got " + shown);
        return std::nullopt;
    }
    if (answer.fileKind && *answer.fileKind != request.fileKind) {
        fail(shown + " file kind: expected " + std::to_string(*answer.fileKind) + ", found " +
             std::to_string(request.fileKind));
        return std::nullopt;
    }
    return answer.path;
}

}  // namespace nd::win32
