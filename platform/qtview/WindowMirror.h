// Shows the window system's windows as Qt widgets. The window system stays
// the one source of truth: the mirror follows its window observer, makes a
// widget for every window by class and style, keeps each widget in step with
// its window and hands what a person does in a widget back through the same
// user-input functions a UI script uses, so every notification and handler
// runs as it would under a script.
#pragma once

#include "qtview/WidgetKind.h"
#include "win32/WindowObserver.h"
#include "win32/windows.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

class QObject;

namespace nd::qtview {

class MirrorInput;

class WindowMirror : public nd::win32::WindowObserver {
  public:
    // Needs a QApplication. Mirrors the windows that exist already, then
    // every window created while the mirror lives.
    WindowMirror();
    ~WindowMirror() override;
    WindowMirror(const WindowMirror&) = delete;
    WindowMirror& operator=(const WindowMirror&) = delete;

    // The widget standing for a window; null when the window has none.
    QWidget* widgetFor(HWND window) const;
    WidgetKind kindOf(HWND window) const;
    // The window a widget (or a part of one, such as a combo box's edit
    // field) stands for; null for widgets of no window.
    HWND windowFor(const QObject* object) const;
    // The top-level window whose widget holds this widget's window.
    HWND topLevelFor(const QObject* object) const;

    // Brings every widget whose window changed up to date. Changes are
    // gathered and applied together (a list filled row by row is read
    // once); a pass is also queued on the Qt event loop by every change.
    void flush();

    // Called with the top-level window whenever it or anything in it
    // changes (for pictures of each change).
    void setChangeListener(std::function<void(HWND)> listener) {
        m_changeListener = std::move(listener);
    }
    // Called after each thing a person did has been handed to the window
    // system (a modal loop checks then whether its dialog has ended).
    void setInputListener(std::function<void()> listener) { m_inputListener = std::move(listener); }

    // Hands a person's action on `window` to the window system, then brings
    // the widgets up to date. `action` returns why it could not happen, or
    // an empty text; a refused action leaves the widget as the window is.
    void userAction(HWND window, const std::function<std::string()>& action);

    void windowChanged(HWND window, nd::win32::WindowChange change) override;

  private:
    struct Entry {
        QPointer<QWidget> widget;
        WidgetKind kind = WidgetKind::Container;
        // Where the window system last put a top-level window: it is moved
        // only when that changes, so a person may drag it elsewhere.
        std::optional<QPoint> placedAt;
        std::optional<QSize> smallest;  // a resizable window's least size
    };

    // A person dragged a top-level window to `at`.
    void windowMoved(HWND window, QPoint at);
    void create(HWND window);
    void destroy(HWND window);
    void markDirty(HWND window);
    void queueFlush();
    void sync(HWND window, Entry& entry);
    void syncGeometry(HWND window, Entry& entry);
    void restackChildren(HWND parent);
    void syncFocus();
    void dropWidget(QWidget* widget);

    std::map<HWND, Entry> m_entries;
    std::set<HWND> m_dirty;
    std::set<HWND> m_restack;
    bool m_focusDirty = false;
    bool m_flushQueued = false;
    bool m_flushing = false;
    int m_inputDepth = 0;
    std::function<void(HWND)> m_changeListener;
    std::function<void()> m_inputListener;
    QObject* m_flushTarget = nullptr;  // receives the queued flush; deleted with the mirror
    MirrorInput* m_input = nullptr;
};

}  // namespace nd::qtview
