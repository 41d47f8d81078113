#include "UiScript.h"

#include "../../platform/mfc/SampleDialog.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

namespace {

struct Capture {
    std::vector<std::string> failures;
    nd::win32::ScriptedDriver driver{[this](const std::string& m) { failures.push_back(m); }};
    nd::win32::UiDriver* previous = nd::win32::setUiDriver(&driver);
    ~Capture() { nd::win32::setUiDriver(previous); }
};

}  // namespace

TEST(UiScript, PlaysTheStepsOfEachDialogAndAnswersMessageBoxesAndChoosers) {
    Capture c;
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
                                             c.driver, error))
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
    EXPECT_TRUE(c.driver.unmetExpectations().empty());
}

TEST(UiScript, MalformedScriptsAreRefusedWithAReasonAndAddNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"[", "not valid JSON"},
        {"[]", "the script must be a JSON object"},
        {R"({"dialog": []})", "unknown entry \"dialog\""},
        {R"({"dialogs": {}})", "\"dialogs\" must be a list"},
        {R"({"dialogs": [{"steps": []}]})", "dialog entry 1: \"template\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"click": "OK"}]}]})",
         "dialog entry 1, step 1: \"click\" must be a whole number"},
        {R"({"dialogs": [{"template": 1, "steps": [{"key": "space"}]}]})",
         "dialog entry 1, step 1: unknown key \"space\""},
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
    Capture c;
    std::string error;
    ASSERT_TRUE(newsdesk::app::parseUiScript(
        R"({"dialogs": [{"template": 500, "steps": [{"type": 1008, "text": "x"}, {"click": 2}]}]})",
        c.driver, error));
    sample::CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    ASSERT_EQ(c.failures.size(), 1u);
    EXPECT_EQ(c.failures[0],
              "dialog 500 \"Sample\", step 1 (type \"x\" into 1008): control 1008 (Button) does "
              "not take typing");
}
