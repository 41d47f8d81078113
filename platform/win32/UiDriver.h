// Whatever plays the user. A modal dialog, a message box or a file chooser
// never waits for a person: it asks the installed driver. Without a driver a
// modal dialog ends at once with -1, a message box answers 0 and a chooser
// answers cancel.
#pragma once

#include "win32/HtmlHelp.h"
#include "win32/windows.h"

#include <optional>
#include <string>

namespace nd::win32 {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::u16string text;
    std::u16string caption;
    UINT style = 0;
    UINT stringId = 0;  // the string resource the text came from; 0 for a fixed text
};

enum class ChooserKind { OpenFile, SaveFile, Folder };

struct ChooserRequest {
    ChooserKind kind = ChooserKind::OpenFile;
    HWND owner = nullptr;
    int fileKind = 0;  // the host's file-type number, 0 when none
    std::u16string initialPath;
    std::u16string title;
};

class UiDriver {
  public:
    virtual ~UiDriver() = default;
    // A modal dialog is shown; templateId is 0 when the dialog did not come
    // from a numbered template.
    virtual void dialogOpened(HWND dialog, int templateId) = 0;
    // Does the next thing the user does in this dialog (the innermost modal
    // one). false when the driver has nothing more to do there: the dialog
    // then ends with -1.
    virtual bool step(HWND dialog, int templateId) = 0;
    virtual void dialogClosed(HWND, int, INT_PTR) {}
    // The button the user presses (IDOK, IDYES ...).
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // The path the user picks (a Windows path), or nullopt for cancel.
    virtual std::optional<std::u16string> choose(const ChooserRequest& request) = 0;
    // Help was asked for (it has been added to htmlHelpRequests()); a
    // driver with a screen may show which topic it was.
    virtual void helpRequested(const HtmlHelpRequest&) {}
    // After a failure every modal run ends at once.
    virtual bool aborted() const { return false; }
};

// Installs the driver (not owned); returns the previous one.
UiDriver* setUiDriver(UiDriver* driver);
UiDriver* uiDriver();

int showMessageBox(const MessageBoxRequest& request);
// What a box of this style answers when nobody chooses (closed, or no one
// there): the button that does nothing harmful, as Esc gives on the system.
int harmlessAnswer(UINT style);
std::optional<std::u16string> choosePath(const ChooserRequest& request);

}  // namespace nd::win32

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
