// The UI driver of real windows: a person plays the user. A modal dialog
// runs a Qt event loop until it ends; message boxes, file and folder
// choosers are Qt's own dialogs; a help request opens a small window naming
// the topic; the window system's timers run on real time.
#pragma once

#include "qtview/MessageBoxes.h"
#include "qtview/WindowMirror.h"
#include "win32/UiDriver.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <vector>

class QEventLoop;
class QLabel;

namespace nd::qtview {

class DesktopDriver : public nd::win32::UiDriver {
  public:
    explicit DesktopDriver(WindowMirror& mirror);
    ~DesktopDriver() override;
    DesktopDriver(const DesktopDriver&) = delete;
    DesktopDriver& operator=(const DesktopDriver&) = delete;

    void dialogOpened(HWND dialog, int templateId) override;
    bool step(HWND dialog, int templateId) override;
    int messageBox(const nd::win32::MessageBoxRequest& request) override;
    std::optional<std::u16string> choose(const nd::win32::ChooserRequest& request) override;
    void helpRequested(const nd::win32::HtmlHelpRequest& request) override;

    // The help window, once help was asked for.
    QWidget* helpWindow() const { return m_help; }

  private:
    struct ModalRun {
        HWND dialog;
        QEventLoop* loop;
    };
    void tick();
    void endFinishedRuns();

    WindowMirror& m_mirror;
    QTimer m_clock;
    QElapsedTimer m_elapsed;
    std::vector<ModalRun> m_runs;
    QPointer<QWidget> m_help;
    QLabel* m_helpText = nullptr;
};

// The name filter of a chooser for the host's file kind (2 pictures,
// 24 media to open, 23 and 24 to save feeds), ending with all files.
QString chooserFilter(const nd::win32::ChooserRequest& request);
// Where a window of that size goes to be centred over its owner's
// rectangle (or over the area, for none), kept inside the area.
QPoint placeCentred(QSize size, QRect owner, QRect area);
// The text of the help window for a request.
QString helpText(const nd::win32::HtmlHelpRequest& request);

}  // namespace nd::qtview
