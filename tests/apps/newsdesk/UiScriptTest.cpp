#include "frontend/UiScript.h"

#include "../../platform/mfc/SampleDialog.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

namespace {

// Plays the script on the sample dialog; gives the run's result and failures.
std::pair<INT_PTR, std::vector<std::string>> playOnSample(const char* script) {
    ndtest::RecordingUiDriver driver;
    std::string error;
    EXPECT_TRUE(newsdesk::app::parseUiScript(script, driver, error)) << error;
    sample::CSampleDlg dlg;
    INT_PTR result = dlg.DoModal();
    return {result, driver.failures};
}

}  // namespace

TEST(UiScript, PlaysTheStepsOfEachDialogAndAnswersMessageBoxesAndChoosers) {
    ndtest::RecordingUiDriver c;
    std::string error;
    ASSERT_TRUE(newsdesk::app::parseUiScript(R"({
        "dialogs": [{"template": 500, "steps": [
            {"click": 1},
            {"type": 1000, "text": "名前"},
            {"check": 1002, "value": true},
            {"select": 1003, "rows": [0, 3]},
            {"select": 1004, "text": "alpha"},
            {"date": 1006, "value": "2030/12/24"},
            {"wait": 500},
            {"mouse": [3, 3]},
            {"key": "enter"}]}],
        "messageBoxes": [{"text": "name is required", "answer": "ok"}],
        "choosers": [{"kind": "open", "path": "/tmp/a b.rss"}, {"cancel": true}]})",
                                             c, error))
        << error;
    sample::CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    EXPECT_EQ(dlg.m_strName, u"名前");
    EXPECT_EQ(dlg.m_bFlag, 1);
    EXPECT_EQ(dlg.listChanges, 1);
    EXPECT_EQ(dlg.comboChanges, 1);
    EXPECT_EQ(dlg.m_date.GetYear(), 2030);
    EXPECT_EQ(dlg.timerTicks, 1);
    EXPECT_EQ(dlg.mouseMoves, 1);
    nd::win32::ChooserRequest open;
    EXPECT_EQ(nd::win32::choosePath(open), std::u16string(u"Z:\\tmp\\a b.rss"));
    EXPECT_EQ(nd::win32::choosePath(open), std::nullopt);
    EXPECT_TRUE(c.unmetExpectations().empty());
}

TEST(UiScript, ACheckStepTakesCheckedAsWellAsValue) {
    ndtest::RecordingUiDriver c;
    std::string error;
    ASSERT_TRUE(newsdesk::app::parseUiScript(R"({"dialogs": [{"template": 500, "steps": [
        {"type": 1000, "text": "n"},
        {"check": 1002, "value": true}, {"check": 1002, "checked": false},
        {"click": 1}]}]})",
                                             c, error))
        << error;
    sample::CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    EXPECT_EQ(dlg.m_bFlag, 0);
}

TEST(UiScript, MalformedScriptsAreRefusedWithAReasonAndAddNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"[", "not valid JSON at line 1, column 2"},
        {"{\"dialogs\": [\n  {\"template\": 1,}\n]}", "not valid JSON at line 2, column 18"},
        {"{\"dialogs\": [{\"template\": 88888e888888888}]}", "a number in it is too large"},
        // What a step or an entry does not read would quietly do something else.
        {R"({"dialogs": [{"template": 1, "steps": [{"click": 1}, {"check": 2, "vlaue": false}]}]})",
         "dialog entry 1, step 2: \"check\" does not know \"vlaue\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"click": 1, "type": 2}]}]})",
         "dialog entry 1, step 1: \"type\" does not know \"click\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"check": 2, "value": true, "checked": false}]}]})",
         "dialog entry 1, step 1: \"value\" and \"checked\" disagree"},
        {R"({"dialogs": [{"template": 1, "step": []}]})", "dialog entry 1: unknown field \"step\""},
        {R"({"messageBoxes": [{"answer": "ok", "anwser": "no"}]})",
         "message box entry 1: unknown field \"anwser\""},
        {R"({"choosers": [{"cancel": true, "paht": "/a"}]})",
         "chooser entry 1: unknown field \"paht\""},
        {"[]", "the script must be a JSON object"},
        {R"({"dialog": []})", "unknown entry \"dialog\""},
        {R"({"dialogs": {}})", "\"dialogs\" must be a list"},
        {R"({"dialogs": [{"steps": []}]})", "dialog entry 1: \"template\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"click": "OK"}]}]})",
         "dialog entry 1, step 1: \"click\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"key": "ctrl+tab"}]}]})",
         "dialog entry 1, step 1: unknown key \"ctrl+tab\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"key": "shift+"}]}]})",
         "dialog entry 1, step 1: unknown key \"shift+\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"hover": "OK"}]}]})",
         "dialog entry 1, step 1: \"hover\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"mouseUp": 1.5}]}]})",
         "dialog entry 1, step 1: \"mouseUp\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"resize": [0, 100]}]}]})",
         "dialog entry 1, step 1: \"resize\" must be [width, height] in pixels"},
        {R"({"dialogs": [{"template": 1, "steps": [{"resize": [100]}]}]})",
         "dialog entry 1, step 1: \"resize\" must be [width, height] in pixels"},
        {R"({"dialogs": [{"template": 1, "steps": [{"select": 5}]}]})",
         "dialog entry 1, step 1: \"select\" needs \"rows\" or \"text\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"wait": -1}]}]})",
         "dialog entry 1, step 1: \"wait\" must be 0 to 3600000 milliseconds"},
        {R"({"dialogs": [{"template": 1, "steps": [{"wait": 3600001}]}]})",
         "dialog entry 1, step 1: \"wait\" must be 0 to 3600000 milliseconds"},
        {R"({"dialogs": [{"template": 99999999999}]})",
         "dialog entry 1: \"template\" must be a whole number"},
        // Beyond 64-bit signed: would wrap round to -1, 1 and 0.
        {R"({"dialogs": [{"template": 1, "steps": [{"click": 18446744073709551615}]}]})",
         "dialog entry 1, step 1: \"click\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"select": 5, "rows": [4294967297]}]}]})",
         "dialog entry 1, step 1: rows must be whole numbers"},
        {R"({"dialogs": [{"template": 1, "steps": [{"mouse": [3, 9223372036854775808]}]}]})",
         "dialog entry 1, step 1: \"mouse\" must be [x, y]"},
        {R"({"messageBoxes": [{"answer": "maybe"}]})",
         "message box entry 1: unknown answer \"maybe\""},
        {R"({"choosers": [{}]})", "chooser entry 1: needs a \"path\" or \"cancel\": true"},
        {R"({"choosers": [{"kind": "print", "cancel": true}]})",
         "chooser entry 1: \"kind\" must be open, save or folder"},
    };
    for (const auto& [text, reason] : cases) {
        nd::win32::ScriptedDriver driver(nullptr);
        std::string error;
        EXPECT_FALSE(newsdesk::app::parseUiScript(text, driver, error)) << text;
        EXPECT_EQ(error, reason) << text;
        EXPECT_TRUE(driver.unmetExpectations().empty()) << text;
    }
}

TEST(UiScript, AStepThatDoesNotMatchTheDialogStopsTheRun) {
    auto [result, failures] = playOnSample(
        R"({"dialogs": [{"template": 500, "steps": [{"type": 1008, "text": "x"}, {"click": 2}]}]})");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(failures, std::vector<std::string>{
                            "dialog 500 \"Sample\", step 1 (type \"x\" into 1008): control 1008 "
                            "(Button) does not take typing"});
}

TEST(UiScript, ExpectStepsCheckWhatThePersonSeesAndStopAtTheFirstDifference) {
    auto [result, failures] = playOnSample(R"({
        "dialogs": [{"template": 500, "steps": [
            {"type": 1000, "text": "名前"},
            {"expect": 1000, "text": "名前", "enabled": true, "visible": true},
            {"expect": 1002, "checked": false},
            {"expect": 1003, "rows": ["Apple", "apricot", "banana", "pear"], "selected": []},
            {"select": 1003, "rows": [1, 3]},
            {"expect": 1003, "selected": [3, 1]},
            {"expect": 1004, "rows": ["zeta", "mid", "alpha"], "text": ""},
            {"expect": 1005, "rows": ["row 0\ttoday", "row 1", "row 2\ttoday"]},
            {"click": 2}]}]})");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(failures, std::vector<std::string>());

    std::tie(result, failures) = playOnSample(R"({
        "dialogs": [{"template": 500, "steps": [
            {"expect": 1002, "checked": true},
            {"click": 2}]}]})");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(failures, std::vector<std::string>{
                            "dialog 500 \"Sample\", step 1 (expect checked of 1002): control 1002 "
                            "checked: expected checked, found clear"});
}

TEST(UiScript, MessageBoxesAndChoosersCheckTheirLookAndKind) {
    ndtest::RecordingUiDriver c;
    std::string error;
    ASSERT_TRUE(newsdesk::app::parseUiScript(R"({
        "messageBoxes": [{"text": "convert", "icon": "information", "buttons": "yes-no",
                          "answer": "yes"}],
        "choosers": [{"kind": "open", "fileKind": 24, "path": "/tmp/a.wav"},
                     {"fileKind": 2, "cancel": true}]})",
                                             c, error))
        << error;
    EXPECT_EQ(MessageBoxW(nullptr, u"convert?", u"", MB_YESNO | MB_ICONINFORMATION), IDYES);
    nd::win32::ChooserRequest request;
    request.fileKind = 24;
    EXPECT_EQ(nd::win32::choosePath(request), std::u16string(u"Z:\\tmp\\a.wav"));
    request.fileKind = 24;
    EXPECT_EQ(nd::win32::choosePath(request), std::nullopt);
    ASSERT_EQ(c.failures.size(), 1u);
    EXPECT_EQ(c.failures[0], "open-file chooser for file kind 24 file kind: expected 2, found 24");
}

TEST(UiScript, MalformedExpectationsAreRefusedWithAReason) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": 5}]}]})",
         "dialog entry 1, step 1: \"expect\" needs something to check"},
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": 5, "colour": "red"}]}]})",
         "dialog entry 1, step 1: \"expect\" does not know \"colour\""},
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": 5, "enabled": "yes"}]}]})",
         "dialog entry 1, step 1: \"enabled\" must be true or false"},
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": 5, "rows": [1]}]}]})",
         "dialog entry 1, step 1: \"rows\" must be a list of texts"},
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": 5, "selected": ["a"]}]}]})",
         "dialog entry 1, step 1: \"selected\" must be a list of row numbers"},
        {R"({"dialogs": [{"template": 1, "steps": [{"expect": "OK", "text": ""}]}]})",
         "dialog entry 1, step 1: \"expect\" must be a whole number"},
        {R"({"messageBoxes": [{"icon": "skull"}]})",
         "message box entry 1: \"icon\" must be none, stop, question, warning or information"},
        {R"({"messageBoxes": [{"buttons": "maybe"}]})",
         "message box entry 1: \"buttons\" must be ok, ok-cancel, yes-no, yes-no-cancel, "
         "retry-cancel or abort-retry-ignore"},
        {R"({"choosers": [{"fileKind": "media", "cancel": true}]})",
         "chooser entry 1: \"fileKind\" must be a whole number"},
    };
    for (const auto& [text, reason] : cases) {
        nd::win32::ScriptedDriver driver(nullptr);
        std::string error;
        EXPECT_FALSE(newsdesk::app::parseUiScript(text, driver, error)) << text;
        EXPECT_EQ(error, reason) << text;
    }
}

TEST(UiScript, KeysWithShiftHoverMouseButtonsAndResizeBecomeTheirSteps) {
    nd::win32::ScriptedDriver driver(nullptr);
    std::string error;
    ASSERT_TRUE(newsdesk::app::parseUiScript(R"({
        "dialogs": [{"template": 7, "steps": [
            {"key": "shift+tab"}, {"key": "space"}, {"key": "left"}, {"key": "down"},
            {"hover": 32187}, {"mouseDown": 32187}, {"mouseUp": 32188},
            {"resize": [640, 480]}]}]})",
                                             driver, error))
        << error;
    // The steps are only visible through what a run reports: name them.
    std::vector<std::string> names;
    for (const auto& step :
         {nd::win32::UiStep::press(VK_TAB, true), nd::win32::UiStep::press(VK_SPACE),
          nd::win32::UiStep::press(VK_LEFT), nd::win32::UiStep::hover(32187),
          nd::win32::UiStep::mouseDown(32187), nd::win32::UiStep::mouseUp(32188),
          nd::win32::UiStep::resize(640, 480)}) {
        names.push_back(step.describe());
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "press Shift+Tab", "press Space", "press Left", "rest the mouse on 32187",
                         "press the mouse button on 32187", "let go of the mouse button on 32188",
                         "resize the dialog to 640x480"}));
    EXPECT_EQ(driver.unmetExpectations().size(), 1u);
}
