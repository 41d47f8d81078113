// A UI driver that plays scripted steps: per dialog (by template id), what
// the user does there; in order, how message boxes and choosers are
// answered. Anything unexpected (a dialog without a script, a message box or
// chooser nobody expected, a step the dialog cannot take) is reported to the
// failure handler once and every modal run then ends at once: nothing waits.
#pragma once

#include "win32/UiDriver.h"
#include "win32/UiExpectation.h"
#include "win32/windows.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nd::win32 {

struct UiStep {
    enum class Kind {
        Type,
        Click,
        Check,
        SelectRows,
        SelectText,
        SetDateTime,
        SelectTab,
        Key,
        MoveMouse,
        Hover,
        MouseDown,
        MouseUp,
        Resize,
        Advance,
        Expect,
        Call
    };
    Kind kind = Kind::Call;
    int control = 0;
    std::u16string text;
    bool checked = false;
    std::vector<int> rows;
    SYSTEMTIME time;
    UINT virtualKey = 0;
    bool shift = false;
    POINT point;
    DWORD milliseconds = 0;
    std::function<void(HWND)> call;
    std::vector<UiCheck> checks;

    static UiStep type(int control, std::u16string text);
    static UiStep click(int control);
    static UiStep check(int control, bool checked);
    static UiStep select(int control, std::vector<int> rows);
    static UiStep selectText(int control, std::u16string text);
    static UiStep setDateTime(int control, const SYSTEMTIME& time);
    // The tab control of a property sheet inside the dialog.
    static UiStep selectTab(int index);
    static UiStep press(UINT virtualKey, bool shift = false);
    static UiStep enter() { return press(VK_RETURN); }
    static UiStep escape() { return press(VK_ESCAPE); }
    // A point in the dialog's client coordinates (may lie outside it).
    static UiStep moveMouse(int x, int y);
    // The cursor to the centre of a control.
    static UiStep hover(int control);
    // The left button pressed / let go at the centre of a control (the cursor
    // moves there first). Apart, so that a test sees the pressed look.
    static UiStep mouseDown(int control);
    static UiStep mouseUp(int control);
    // The dialog resized to width x height pixels by its border.
    static UiStep resize(int width, int height);
    static UiStep advance(DWORD milliseconds);
    // Runs code with the dialog's handle (to look at it, or to act in ways
    // the other steps do not cover).
    static UiStep run(std::function<void(HWND)> call);
    // Checks what a person sees of a control now; a difference fails the run
    // with one line naming the control, the expected and the found value.
    static UiStep expect(int control, std::vector<UiCheck> checks);
    static UiStep expect(int control, UiCheck check) {
        return expect(control, std::vector<UiCheck>{std::move(check)});
    }

    std::string describe() const;
};

struct MessageBoxAnswer {
    MessageBoxAnswer(UINT id = 0, std::u16string contains = {}, int button = IDOK)
        : stringId(id), textContains(std::move(contains)), answer(button) {}
    UINT stringId = 0;            // 0: any string id
    std::u16string textContains;  // empty: any text
    int answer = IDOK;
    std::optional<UINT> icon;     // MB_ICON... the box must show; nullopt: any
    std::optional<UINT> buttons;  // MB_OK, MB_YESNO ... it must offer; nullopt: any
};

struct ChooserAnswer {
    ChooserAnswer(std::optional<ChooserKind> chooser = std::nullopt,
                  std::optional<std::u16string> chosen = std::nullopt)
        : kind(chooser), path(std::move(chosen)) {}
    std::optional<ChooserKind> kind;     // nullopt: any kind
    std::optional<std::u16string> path;  // nullopt: the user cancels
    std::optional<int> fileKind;         // the host's file kind asked for; nullopt: any
};

// Performs one step in a dialog; empty on success, else why it could not.
std::string performUiStep(HWND dialog, const UiStep& step);

class ScriptedDriver : public UiDriver {
  public:
    using FailureHandler = std::function<void(const std::string&)>;
    explicit ScriptedDriver(FailureHandler onFailure);

    // The next appearance of dialog `templateId` plays these steps; a dialog
    // still open after its last step, or closed before it, is a failure.
    void expectDialog(int templateId, std::vector<UiStep> steps);
    void expectMessageBox(MessageBoxAnswer answer);
    void expectChooser(ChooserAnswer answer);

    const std::vector<MessageBoxRequest>& messageBoxesShown() const { return m_boxesShown; }
    const std::vector<ChooserRequest>& choosersShown() const { return m_choosersShown; }
    const std::vector<int>& dialogsShown() const { return m_dialogsShown; }
    // Expectations that were never used, described.
    std::vector<std::string> unmetExpectations() const;
    bool failed() const { return m_failed; }
    const std::string& firstFailure() const { return m_firstFailure; }

    void dialogOpened(HWND dialog, int templateId) override;
    bool step(HWND dialog, int templateId) override;
    void dialogClosed(HWND dialog, int templateId, INT_PTR result) override;
    int messageBox(const MessageBoxRequest& request) override;
    std::optional<std::u16string> choose(const ChooserRequest& request) override;
    bool aborted() const override { return m_failed; }

  private:
    struct Run {
        HWND dialog = nullptr;
        int templateId = 0;
        std::vector<UiStep> steps;
        size_t next = 0;
    };

    void fail(const std::string& message);

    FailureHandler m_onFailure;
    std::map<int, std::deque<std::vector<UiStep>>> m_scripts;
    std::deque<MessageBoxAnswer> m_boxes;
    std::deque<ChooserAnswer> m_choosers;
    std::vector<Run> m_runs;
    std::vector<MessageBoxRequest> m_boxesShown;
    std::vector<ChooserRequest> m_choosersShown;
    std::vector<int> m_dialogsShown;
    bool m_failed = false;
    std::string m_firstFailure;
};

}  // namespace nd::win32
