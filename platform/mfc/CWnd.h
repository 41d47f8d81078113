// The framework's window object. A CWnd is attached to a window handle; its
// window procedure routes messages through the message maps of the object's
// classes, then to the window's own procedure.
#pragma once

#include "mfc/AfxTypes.h"
#include "mfc/CCmdTarget.h"
#include "mfc/CString.h"
#include "win32/MessageLoop.h"
#include "win32/Window.h"
#include "win32/windows.h"

class CDC;
class CFont;

constexpr UINT WM_CTLCOLOR = 0x0019;  // the framework's single entry for all WM_CTLCOLOR* messages
constexpr int ID_HELP = 0xE146;
constexpr DWORD_PTR HID_BASE_RESOURCE = 0x20000;

class CWnd : public CCmdTarget {
  public:
    CWnd() = default;
    // An object that only names a handle (the z-order places below).
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a handle; FromHandle makes a temporary object of
    // the control's class (a CEdit for an edit ...) when none is attached.
    // Temporaries live until their window is destroyed.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches and routes the window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification from a child offered to the child's own object first
    // (owner drawing reaches CButton::DrawItem this way).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to the objects from its window up to (excluding) hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // The current message passed on to the window's own procedure.
    LRESULT Default();
    virtual void PostNcDestroy() {}
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // Text, state and geometry.
    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetTopWindow() const;
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = CWP_ALL) const;
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT rect) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL bErase = TRUE);
    void UpdateWindow();
    // The window's font (a dialog's controls have the template's); null when none.
    CFont* GetFont() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Dialog items.
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    void SetDlgItemText(int nID, LPCWSTR text);
    int GetDlgItemText(int nID, CString& text) const;
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

    // Handlers of the standard messages, for message maps.
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    void OnHelp();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);

    // Places in the z-order for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;

    // The help id of a dialog or page: its template id.
    UINT m_nIDHelp = 0;

  protected:
    WNDPROC m_pfnSuper = nullptr;
    MSG m_currentMsg{};
    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    friend class CPropertySheet;

    DECLARE_MESSAGE_MAP()
};

// The framework's window procedure for every attached window.
LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace nd::mfc {
// The next window created is attached to `wnd` before it gets its first
// message (dialogs and property pages are created this way).
void attachNextWindow(CWnd* wnd);
// Withdraws a request of attachNextWindow that no window took.
void cancelAttach(CWnd* wnd);
// The window whose control notifications (WM_COMMAND from a control,
// WM_NOTIFY) are ignored while it exchanges data with its controls, so that
// a change handler does not pull half-filled controls back into the members.
// Returns the window locked out before.
HWND lockOutNotifications(HWND hWnd);
HWND notificationsLockedOut();
}  // namespace nd::mfc

namespace nd::mfc::thunks {

template <auto F>
void noArgs(CCmdTarget* t, MsgCall&) {
    (self<F>(t)->*F)();
}
template <auto F>
void timer(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<UINT_PTR>(c.wParam));
}
CDC* dcFrom(WPARAM wParam);
template <auto F>
void ctlColor(CCmdTarget* t, MsgCall& c) {
    auto* w = self<F>(t);
    CDC* dc = dcFrom(c.wParam);
    CWnd* control = CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam));
    UINT kind = c.message >= WM_CTLCOLORMSGBOX ? c.message - WM_CTLCOLORMSGBOX : CTLCOLOR_DLG;
    c.result = reinterpret_cast<LRESULT>((w->*F)(dc, control, kind));
}
template <auto F>
void helpInfo(CCmdTarget* t, MsgCall& c) {
    c.result = (self<F>(t)->*F)(reinterpret_cast<HELPINFO*>(c.lParam));
}
template <auto F>
void mouse(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<UINT>(c.wParam), CPoint(c.lParam));
}
template <auto F>
void drawItem(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
}
template <auto F>
void size(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<UINT>(c.wParam), GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
}
template <auto F>
void showWindow(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
}
template <auto F>
void eraseBkgnd(CCmdTarget* t, MsgCall& c) {
    c.result = (self<F>(t)->*F)(dcFrom(c.wParam));
}
template <auto F>
void focus(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));
}

}  // namespace nd::mfc::thunks

#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &nd::mfc::thunks::noArgs<&ThisClass::OnPaint>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &nd::mfc::thunks::timer<&ThisClass::OnTimer>},
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, &nd::mfc::thunks::ctlColor<&ThisClass::OnCtlColor>},
#define ON_WM_HELPINFO() {WM_HELP, 0, 0, 0, &nd::mfc::thunks::helpInfo<&ThisClass::OnHelpInfo>},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, &nd::mfc::thunks::mouse<&ThisClass::OnMouseMove>},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, 0, &nd::mfc::thunks::mouse<&ThisClass::OnLButtonDown>},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, &nd::mfc::thunks::mouse<&ThisClass::OnLButtonUp>},
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, 0, &nd::mfc::thunks::drawItem<&ThisClass::OnDrawItem>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &nd::mfc::thunks::noArgs<&ThisClass::OnDestroy>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, &nd::mfc::thunks::noArgs<&ThisClass::OnClose>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &nd::mfc::thunks::size<&ThisClass::OnSize>},
#define ON_WM_SHOWWINDOW() \
    {WM_SHOWWINDOW, 0, 0, 0, &nd::mfc::thunks::showWindow<&ThisClass::OnShowWindow>},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, &nd::mfc::thunks::eraseBkgnd<&ThisClass::OnEraseBkgnd>},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, &nd::mfc::thunks::focus<&ThisClass::OnSetFocus>},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, &nd::mfc::thunks::focus<&ThisClass::OnKillFocus>},
