// The UI driver for tests: scripted steps per dialog, answers to message
// boxes and choosers. Installed for the lifetime of the object; anything
// unexpected fails the running test at once (and ends every modal run), and
// expectations still unused at the end fail it too.
#pragma once

#include "win32/ScriptedDriver.h"

#include <string>
#include <vector>

namespace ndtest {

class TestUiDriver : public nd::win32::ScriptedDriver {
  public:
    TestUiDriver();
    ~TestUiDriver() override;
    TestUiDriver(const TestUiDriver&) = delete;
    TestUiDriver& operator=(const TestUiDriver&) = delete;

    // Shorthands.
    void answer(UINT stringId, int button) { expectMessageBox({stringId, u"", button}); }
    void answerText(std::u16string textContains, int button) {
        expectMessageBox({0, std::move(textContains), button});
    }
    // A box that must show these buttons and icon (MB_YESNO | MB_ICONINFORMATION).
    void answerBox(UINT stringId, UINT style, int button) {
        nd::win32::MessageBoxAnswer a(stringId, u"", button);
        a.icon = style & MB_ICONMASK;
        a.buttons = style & MB_TYPEMASK;
        expectMessageBox(std::move(a));
    }
    // An open-file chooser asked for the host's file kind (2 pictures, 24 media).
    void chooseFile(int fileKind, std::u16string path) {
        nd::win32::ChooserAnswer a(nd::win32::ChooserKind::OpenFile, std::move(path));
        a.fileKind = fileKind;
        expectChooser(std::move(a));
    }
    void choosePath(std::u16string path) { expectChooser({std::nullopt, std::move(path)}); }
    void cancelChooser() { expectChooser({std::nullopt, std::nullopt}); }

  private:
    nd::win32::UiDriver* m_previous;
};

// A driver for tests of the failures themselves: installed for its lifetime,
// it keeps every failure for the test to look at instead of failing it.
class RecordingUiDriver : public nd::win32::ScriptedDriver {
  public:
    RecordingUiDriver();
    ~RecordingUiDriver() override;
    RecordingUiDriver(const RecordingUiDriver&) = delete;
    RecordingUiDriver& operator=(const RecordingUiDriver&) = delete;

    std::vector<std::string> failures;

  private:
    nd::win32::UiDriver* m_previous;
};

}  // namespace ndtest
