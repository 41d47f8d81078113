#include "mfc/CWnd.h"

#include "mfc/CButton.h"
#include "mfc/CComboBox.h"
#include "mfc/CDC.h"
#include "mfc/CDateTimeCtrl.h"
#include "mfc/CEdit.h"
#include "mfc/CListBox.h"
#include "mfc/CListCtrl.h"
#include "mfc/CStatic.h"
#include "mfc/CTabCtrl.h"
#include "mfc/CWinApp.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/UiDriver.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <unicode/uchar.h>

#include <deque>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

std::u16string folded(std::u16string s) {
    for (auto& c : s) {
        c = static_cast<char16_t>(u_tolower(c));
    }
    return s;
}

std::unique_ptr<CWnd> makeTemporary(HWND h) {
    auto cls = folded(nd::win32::className(h));
    if (cls == u"edit") {
        return std::make_unique<CEdit>();
    }
    if (cls == u"button") {
        return std::make_unique<CButton>();
    }
    if (cls == u"static") {
        return std::make_unique<CStatic>();
    }
    if (cls == u"listbox") {
        return std::make_unique<CListBox>();
    }
    if (cls == u"combobox") {
        return std::make_unique<CComboBox>();
    }
    if (cls == u"syslistview32") {
        return std::make_unique<CListCtrl>();
    }
    if (cls == u"sysdatetimepick32") {
        return std::make_unique<CDateTimeCtrl>();
    }
    if (cls == u"systabcontrol32") {
        return std::make_unique<CTabCtrl>();
    }
    return std::make_unique<CWnd>();
}

struct Maps : nd::win32::WindowObserver {
    std::map<HWND, CWnd*> permanent;
    std::map<HWND, std::unique_ptr<CWnd>> temporary;
    // Temporary objects whose window went (or was attached to another
    // object). A caller may still hold one for the rest of its handler, so they
    // are kept, detached, for a while before they are deleted.
    std::deque<std::unique_ptr<CWnd>> retired;
    std::vector<CWnd*> pending;

    void retire(HWND h) {
        auto it = temporary.find(h);
        if (it == temporary.end()) {
            return;
        }
        it->second->m_hWnd = nullptr;
        retired.push_back(std::move(it->second));
        temporary.erase(it);
        while (retired.size() > 256) {
            retired.pop_front();
        }
    }

    void windowChanged(HWND h, nd::win32::WindowChange change) override {
        if (change == nd::win32::WindowChange::Destroyed) {
            retire(h);
        }
    }
};

Maps& maps() {
    static Maps* m = new Maps;
    return *m;
}

void creationHook(HWND h, const CREATESTRUCTW&) {
    auto& pending = maps().pending;
    if (pending.empty()) {
        return;
    }
    CWnd* wnd = pending.back();
    pending.pop_back();
    wnd->SubclassWindow(h);
}

bool preTranslateHook(MSG& msg) {
    return CWnd::WalkPreTranslateTree(nullptr, &msg) != FALSE;
}

// The framework hooks into the window system as soon as it is loaded.
const bool g_hooksInstalled = [] {
    nd::win32::addWindowObserver(&maps());
    nd::win32::setCreationHook(creationHook);
    nd::win32::setPreTranslateHook(preTranslateHook);
    return true;
}();

}  // namespace

namespace nd::mfc {

void attachNextWindow(CWnd* wnd) {
    (void)g_hooksInstalled;
    maps().pending.push_back(wnd);
}

void cancelAttach(CWnd* wnd) {
    std::erase(maps().pending, wnd);
}

namespace {
HWND g_lockedOut = nullptr;
}

HWND lockOutNotifications(HWND hWnd) {
    return std::exchange(g_lockedOut, hWnd);
}

HWND notificationsLockedOut() {
    return g_lockedOut;
}

}  // namespace nd::mfc

namespace nd::mfc::thunks {

CDC* dcFrom(WPARAM wParam) {
    return CDC::FromHandle(reinterpret_cast<HDC>(wParam));
}

}  // namespace nd::mfc::thunks

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_DRAWITEM()
ON_WM_HELPINFO()
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND h = UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = maps().permanent.find(hWnd);
    return it == maps().permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd)) {
        return nullptr;
    }
    if (CWnd* p = FromHandlePermanent(hWnd)) {
        return p;
    }
    auto& temp = maps().temporary;
    auto it = temp.find(hWnd);
    if (it != temp.end()) {
        return it->second.get();
    }
    auto wnd = makeTemporary(hWnd);
    wnd->m_hWnd = hWnd;
    CWnd* raw = wnd.get();
    temp[hWnd] = std::move(wnd);
    return raw;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) {
        return FALSE;
    }
    maps().retire(hWnd);
    m_hWnd = hWnd;
    maps().permanent[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        maps().permanent.erase(h);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) {
        return FALSE;
    }
    auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    m_pfnSuper = old == &AfxWndProc ? nullptr : old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) {
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is going: the object lets go of it, then may delete itself.
        WNDPROC super = wnd->m_pfnSuper;
        LRESULT r = super ? ::CallWindowProcW(super, hWnd, message, wParam, lParam) : 0;
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
        return r;
    }
    MSG saved = wnd->m_currentMsg;
    wnd->m_currentMsg = MSG{hWnd, message, wParam, lParam, 0, POINT{}};
    LRESULT r = wnd->WindowProc(message, wParam, lParam);
    if (CWnd::FromHandlePermanent(hWnd) == wnd) {
        wnd->m_currentMsg = saved;
    }
    return r;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT r = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        r = 1;
    } else if (message == WM_NOTIFY) {
        if (!OnNotify(wParam, lParam, &r)) {
            return FALSE;
        }
    } else {
        UINT lookup =
            (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? WM_CTLCOLOR : message;
        nd::mfc::MsgCall call{message, wParam, lParam};
        if (!DispatchToMap(lookup, 0, 0, call)) {
            return FALSE;
        }
        r = call.result;
    }
    if (pResult) {
        *pResult = r;
    }
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (lParam && m_hWnd && nd::mfc::notificationsLockedOut() == m_hWnd) {
        return TRUE;  // a control's notification caused by UpdateData
    }
    if (auto* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam))) {
        if (child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) {
            return TRUE;
        }
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) {
        return FALSE;
    }
    if (m_hWnd && nd::mfc::notificationsLockedOut() == m_hWnd) {
        return TRUE;  // caused by UpdateData
    }
    if (auto* child = FromHandlePermanent(header->hwndFrom)) {
        if (child != this && child->OnChildNotify(WM_NOTIFY, 0, lParam, pResult)) {
            return TRUE;
        }
    }
    nd::mfc::MsgCall call{WM_NOTIFY, static_cast<WPARAM>(header->idFrom), lParam};
    if (!DispatchToMap(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), call)) {
        return FALSE;
    }
    if (pResult) {
        *pResult = call.result;
    }
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND h = pMsg ? pMsg->hwnd : nullptr; h && h != hWndStop; h = ::GetParent(h)) {
        CWnd* w = FromHandlePermanent(h);
        if (w && w->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) {
            break;
        }
    }
    return FALSE;
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (CWinApp* app = AfxGetApp()) {
        app->WinHelp(dwData, nCmd);
    }
}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::OnHelpInfo(HELPINFO*) {
    if (m_nIDHelp != 0) {
        WinHelp(HID_BASE_RESOURCE + m_nIDHelp, HELP_CONTEXT);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CWnd::OnHelp() {
    WinHelp(HID_BASE_RESOURCE + m_nIDHelp, HELP_CONTEXT);
}

void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct) {
        if (auto* child = FromHandlePermanent(lpDrawItemStruct->hwndItem)) {
            LRESULT r = 0;
            if (child->OnChildNotify(WM_DRAWITEM, static_cast<WPARAM>(nIDCtl),
                                     reinterpret_cast<LPARAM>(lpDrawItemStruct), &r)) {
                return;
            }
        }
    }
    Default();
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}

void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnSetFocus(CWnd*) {
    Default();
}

void CWnd::OnKillFocus(CWnd*) {
    Default();
}
