// Takes a picture of each dialog as it opens and again after each step that
// changes it, as DIR/NNN-<template id>.png, and of each message box as
// DIR/NNN-box-<string id>.png (NNN-box.png for a text of no string; NNN
// counting the pictures of the run). The steps come from another driver (a UI script); without one
// each dialog is pictured as it opens and then closed (-1), message boxes
// take their harmless answer and choosers are cancelled.
#pragma once

#include "qtview/WindowMirror.h"
#include "win32/UiDriver.h"

#include <set>
#include <string>
#include <vector>

namespace nd::qtview {

class ScreenshotDriver : public nd::win32::UiDriver {
  public:
    ScreenshotDriver(WindowMirror& mirror, std::string folder, nd::win32::UiDriver* steps);
    ~ScreenshotDriver() override;

    const std::vector<std::string>& written() const { return m_written; }
    // Why a picture could not be written; empty when all were.
    const std::string& error() const { return m_error; }

    void dialogOpened(HWND dialog, int templateId) override;
    bool step(HWND dialog, int templateId) override;
    void dialogClosed(HWND dialog, int templateId, INT_PTR result) override;
    int messageBox(const nd::win32::MessageBoxRequest& request) override;
    std::optional<std::u16string> choose(const nd::win32::ChooserRequest& request) override;
    void helpRequested(const nd::win32::HtmlHelpRequest& request) override;
    bool aborted() const override;

  private:
    void picture(HWND dialog, int templateId);

    WindowMirror& m_mirror;
    std::string m_folder;
    nd::win32::UiDriver* m_steps;
    std::set<HWND> m_changed;
    std::vector<std::string> m_written;
    std::string m_error;
};

}  // namespace nd::qtview
