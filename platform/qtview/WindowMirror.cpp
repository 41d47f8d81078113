#include "qtview/WindowMirror.h"

#include "qtview/ControlWidgets.h"
#include "qtview/MirrorInput.h"
#include "qtview/PaintedWidgets.h"
#include "qtview/WindowFonts.h"
#include "win32/MessageLoop.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <QCoreApplication>
#include <QTimer>

#include <vector>

namespace nd::qtview {
namespace {

const char* const kWindowProperty = "ndWindow";

HWND windowOfWidget(const QObject* object) {
    QVariant v = object->property(kWindowProperty);
    return v.isValid() ? reinterpret_cast<HWND>(v.value<quintptr>()) : nullptr;
}

bool isChildWindow(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD;
}

HWND topLevelOf(HWND window) {
    HWND h = window;
    while (h && isChildWindow(h)) {
        h = GetParent(h);
    }
    return h;
}

// Moves over any part of a widget (a list's viewport, a combo box's edit
// field) reach the dialog, not only moves with a button held.
void trackMouse(QWidget* widget) {
    widget->setMouseTracking(true);
    for (QWidget* part : widget->findChildren<QWidget*>()) {
        part->setMouseTracking(true);
    }
}

}  // namespace

WindowMirror::WindowMirror() : m_flushTarget(new QObject) {
    m_input = new MirrorInput(*this);
    qApp->installEventFilter(m_input);
    nd::win32::addWindowObserver(this);
    // Windows made before the mirror: parents first, so children find them.
    std::vector<HWND> order;
    for (HWND top : nd::win32::topLevelWindows()) {
        order.push_back(top);
        for (size_t i = order.size() - 1; i < order.size(); ++i) {
            std::vector<HWND> children;
            for (HWND c = GetWindow(order[i], GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                children.push_back(c);
            }
            order.insert(order.end(), children.begin(), children.end());
        }
    }
    for (HWND h : order) {
        create(h);
    }
    flush();
}

WindowMirror::~WindowMirror() {
    nd::win32::removeWindowObserver(this);
    qApp->removeEventFilter(m_input);
    delete m_input;
    delete m_flushTarget;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (auto& [window, entry] : m_entries) {
        if (entry.kind == WidgetKind::TopLevel && entry.widget) {
            delete entry.widget.data();
        }
    }
}

QWidget* WindowMirror::widgetFor(HWND window) const {
    auto it = m_entries.find(window);
    return it == m_entries.end() ? nullptr : it->second.widget.data();
}

WidgetKind WindowMirror::kindOf(HWND window) const {
    auto it = m_entries.find(window);
    return it == m_entries.end() ? WidgetKind::Blank : it->second.kind;
}

HWND WindowMirror::windowFor(const QObject* object) const {
    for (const QObject* o = object; o; o = o->parent()) {
        HWND h = windowOfWidget(o);
        if (h && m_entries.count(h) && IsWindow(h)) {
            return h;
        }
        // A window of Qt's own (a message box, a chooser) has a mirrored
        // window as its Qt parent only to sit over it: its input is its
        // own, not the disabled owner's.
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow()) {
            return nullptr;
        }
    }
    return nullptr;
}

HWND WindowMirror::topLevelFor(const QObject* object) const {
    return topLevelOf(windowFor(object));
}

void WindowMirror::windowChanged(HWND window, nd::win32::WindowChange change) {
    using nd::win32::WindowChange;
    switch (change) {
        case WindowChange::Created:
            create(window);
            break;
        case WindowChange::Destroyed:
            destroy(window);
            break;
        case WindowChange::Focus:
            m_focusDirty = true;
            queueFlush();
            break;
        case WindowChange::ZOrder:
        case WindowChange::Parent:
            if (HWND parent = GetParent(window); parent && isChildWindow(window)) {
                m_restack.insert(parent);
            }
            markDirty(window);
            break;
        default:
            markDirty(window);
            break;
    }
    if (change != WindowChange::Destroyed && m_changeListener) {
        if (HWND top = topLevelOf(window)) {
            m_changeListener(top);
        }
    }
}

void WindowMirror::create(HWND window) {
    if (m_entries.count(window)) {
        return;
    }
    Entry entry;
    entry.kind = widgetKindOf(window);
    QWidget* widget = nullptr;
    if (entry.kind == WidgetKind::TopLevel) {
        TopLevelWindow::Handlers handlers;
        handlers.closeRequest = [this, window] {
            userAction(window, [window] {
                PostMessageW(window, WM_CLOSE, 0, 0);
                return std::string();
            });
        };
        handlers.resize = [this, window](QSize size) {
            userAction(window, [window, size] {
                return nd::win32::userResize(window, size.width(), size.height());
            });
        };
        handlers.move = [this, window](QPoint at) { windowMoved(window, at); };
        widget = new TopLevelWindow(window, std::move(handlers));
    } else {
        QWidget* parent = widgetFor(GetParent(window));
        if (!parent) {
            return;  // a child of a window that is not shown
        }
        widget = makeControlWidget(entry.kind, window, parent, *this);
        m_restack.insert(GetParent(window));
    }
    widget->setProperty(kWindowProperty, QVariant::fromValue(reinterpret_cast<quintptr>(window)));
    trackMouse(widget);
    entry.widget = widget;
    m_entries[window] = entry;
    markDirty(window);
}

void WindowMirror::dropWidget(QWidget* widget) {
    widget->hide();
    widget->setProperty(kWindowProperty, QVariant());
    if (m_inputDepth > 0) {
        // The widget may be the one whose signal is running now.
        widget->setParent(nullptr);
        widget->deleteLater();
    } else {
        delete widget;
    }
}

void WindowMirror::destroy(HWND window) {
    auto it = m_entries.find(window);
    if (it == m_entries.end()) {
        return;
    }
    QPointer<QWidget> widget = it->second.widget;
    m_entries.erase(it);
    m_dirty.erase(window);
    m_restack.erase(window);
    if (widget) {
        // Child widgets go with their parent's widget; forget their windows
        // first so that nothing reaches a widget that is gone.
        for (auto e = m_entries.begin(); e != m_entries.end();) {
            if (!e->second.widget || widget->isAncestorOf(e->second.widget)) {
                m_dirty.erase(e->first);
                e = m_entries.erase(e);
            } else {
                ++e;
            }
        }
        dropWidget(widget);
    }
}

void WindowMirror::markDirty(HWND window) {
    if (m_entries.count(window)) {
        m_dirty.insert(window);
        queueFlush();
    }
}

void WindowMirror::queueFlush() {
    if (m_flushQueued) {
        return;
    }
    m_flushQueued = true;
    QTimer::singleShot(0, m_flushTarget, [this] {
        m_flushQueued = false;
        flush();
    });
}

void WindowMirror::flush() {
    if (m_flushing) {
        return;
    }
    m_flushing = true;
    // Reading a control's state sends it messages, which must not reach a
    // window still being created: its widget is made then, filled later.
    std::set<HWND> dirty;
    dirty.swap(m_dirty);
    for (HWND window : dirty) {
        auto it = m_entries.find(window);
        if (it != m_entries.end() && it->second.widget && IsWindow(window)) {
            sync(window, it->second);
        }
    }
    std::set<HWND> restack;
    restack.swap(m_restack);
    for (HWND parent : restack) {
        if (IsWindow(parent)) {
            restackChildren(parent);
        }
    }
    if (m_focusDirty) {
        m_focusDirty = false;
        syncFocus();
    }
    m_flushing = false;
}

void WindowMirror::sync(HWND window, Entry& entry) {
    QWidget* widget = entry.widget;
    WidgetKind now = widgetKindOf(window);
    if (now != entry.kind && entry.kind != WidgetKind::TopLevel && now != WidgetKind::TopLevel) {
        // A style change that makes another kind of control (a push button
        // turned owner-drawn): a new widget in the old one's place.
        QWidget* parent = widget->parentWidget();
        QWidget* fresh = makeControlWidget(now, window, parent, *this);
        fresh->setProperty(kWindowProperty,
                           QVariant::fromValue(reinterpret_cast<quintptr>(window)));
        trackMouse(fresh);
        dropWidget(widget);
        entry.widget = widget = fresh;
        entry.kind = now;
        m_restack.insert(GetParent(window));
    }
    widget->setFont(windowFont(window));
    syncControlWidget(entry.kind, window, widget);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    syncGeometry(window, entry);
    if (entry.kind == WidgetKind::TopLevel) {
        // A disabled owner keeps its face; MirrorInput holds back its input.
        widget->setVisible(style & WS_VISIBLE);
    } else {
        widget->setEnabled(!(style & WS_DISABLED));
        widget->setVisible(style & WS_VISIBLE);
    }
}

void WindowMirror::syncGeometry(HWND window, Entry& entry) {
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (entry.kind == WidgetKind::TopLevel) {
        QSize size(std::max(width, 1), std::max(height, 1));
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME) {
            // Resizable down to the size it opened with, as its layout
            // assumes no less room than the template's.
            if (!entry.smallest) {
                entry.smallest = size;
                entry.widget->setMinimumSize(size);
                entry.widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            }
            entry.widget->resize(size);
        } else {
            entry.widget->setFixedSize(size);
        }
        QPoint at(r.left, r.top);
        if (entry.placedAt != at) {
            entry.placedAt = at;
            entry.widget->move(at);
        }
        return;
    }
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<LPPOINT>(&r), 2);
    entry.widget->setGeometry(r.left, r.top, width, shownHeight(entry.kind, entry.widget, height));
}

void WindowMirror::windowMoved(HWND window, QPoint at) {
    auto it = m_entries.find(window);
    if (it == m_entries.end() || it->second.placedAt == at) {
        return;
    }
    // The window system learns the place, and the mirror does not move the
    // window back.
    it->second.placedAt = at;
    SetWindowPos(window, nullptr, at.x(), at.y(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowMirror::restackChildren(HWND parent) {
    // Qt stacks later siblings on top; the window system lists the top first.
    std::vector<QWidget*> order;
    std::vector<QWidget*> decorations;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        auto it = m_entries.find(c);
        if (it != m_entries.end() && it->second.widget) {
            order.push_back(it->second.widget);
            if (isDecoration(it->second.kind)) {
                decorations.push_back(it->second.widget);
            }
        }
    }
    for (auto w = order.rbegin(); w != order.rend(); ++w) {
        (*w)->raise();
    }
    // Group boxes and text lie under the controls they frame, as clicks
    // pass through them on the system.
    for (QWidget* w : decorations) {
        w->lower();
    }
}

void WindowMirror::syncFocus() {
    QWidget* widget = widgetFor(GetFocus());
    if (widget && widget->isVisible() && !widget->hasFocus() &&
        widget->focusPolicy() != Qt::NoFocus) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void WindowMirror::userAction(HWND window, const std::function<std::string()>& action) {
    if (!IsWindow(window)) {
        return;
    }
    ++m_inputDepth;
    action();
    nd::win32::pumpMessages();
    // Refused or changed by the window: the widget shows what the window has.
    markDirty(window);
    flush();
    --m_inputDepth;
    if (m_inputListener) {
        m_inputListener();
    }
}

}  // namespace nd::qtview
