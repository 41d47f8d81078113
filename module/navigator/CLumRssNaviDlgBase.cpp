#include "navigator/CLumRssNaviDlgBase.h"

#include "hostapp/ui/CLumBegiUtil.h"
#include "mfc/CDC.h"
#include "win32/CommCtrl.h"
#include "win32/Gdi.h"

namespace {

// The template's frames and buttons, each list ending with 0; ids the
// template lacks are skipped.
constexpr int kFrameIds[] = {32184, 32185, 32186, 0};
constexpr int kButtonIds[] = {32187, 32188, 32189, 32190, 32191, 32192, 0};
constexpr int kStandardTextId = 32194;
constexpr int kStandardPictureId = 32193;

// Colour indexes of the host's beginner-style table.
constexpr int kBackground = 26;
constexpr int kText = 27;
constexpr int kFrameFill = 28;
constexpr int kFrameLine = 29;

}  // namespace

CLumRssNaviDlgBase::NaviPanelStyle::NaviPanelStyle(int colorSet)
    : m_frameFill(CLumBegiUtil::getColor(kFrameFill, colorSet)),
      m_frameLine(CLumBegiUtil::getColor(kFrameLine, colorSet)),
      m_background(CLumBegiUtil::getColor(kBackground, colorSet)),
      m_text(CLumBegiUtil::getColor(kText, colorSet)) {}

BEGIN_MESSAGE_MAP(CLumRssNaviDlgBase, CDialog)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
ON_WM_HELPINFO()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CLumRssNaviDlgBase::CLumRssNaviDlgBase(UINT nIDTemplate, CWnd* pParent, bool useAltStyle)
    : CDialog(nIDTemplate, pParent), m_style(0), m_altStyle(1), m_useAltStyle(useAltStyle) {}

// Members go in reverse order: the explanations and buttons before the
// drawing objects and image lists they may use.
CLumRssNaviDlgBase::~CLumRssNaviDlgBase() = default;

BOOL CLumRssNaviDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    initNaviData();
    collectFramedChildren();
    hideFrames();
    subclassButtons();
    makeDrawingObjects();
    showExplanation(0);
    SetTimer(kCursorTimer, kCursorPeriod, nullptr);
    return TRUE;
}

void CLumRssNaviDlgBase::collectFramedChildren() {
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        ::GetWindowRect(child, &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        for (const int* id = kFrameIds; *id; ++id) {
            HWND frame = ::GetDlgItem(m_hWnd, *id);
            if (!frame) {
                continue;
            }
            RECT f;
            ::GetWindowRect(frame, &f);
            if (::PtInRect(&f, centre)) {
                m_framedChildren.insert(child);
                break;
            }
        }
    }
}

void CLumRssNaviDlgBase::hideFrames() {
    for (const int* id = kFrameIds; *id; ++id) {
        if (HWND frame = ::GetDlgItem(m_hWnd, *id)) {
            ::ShowWindow(frame, SW_HIDE);
        }
    }
}

void CLumRssNaviDlgBase::subclassButtons() {
    for (size_t i = 0; kButtonIds[i] && i < kMaxButtons; ++i) {
        HWND control = ::GetDlgItem(m_hWnd, kButtonIds[i]);
        if (!control) {
            continue;
        }
        m_buttons[i] = createButton(kButtonIds[i]);
        if (m_style.m_imageList.GetSafeHandle()) {
            m_buttons[i]->setIcon(&m_style.m_imageList, static_cast<int>(i), 0);
        }
        m_buttons[i]->SubclassWindow(control);
        m_buttons[i]->layout(0, 0);
    }
}

std::unique_ptr<CLumNaviDlgButton> CLumRssNaviDlgBase::createButton(int id) {
    return std::make_unique<CLumNaviDlgButton>(!isNaviButton(id));
}

bool CLumRssNaviDlgBase::isNaviButton(int) const {
    return true;
}

void CLumRssNaviDlgBase::makeDrawingObjects() {
    const NaviPanelStyle& c = colors();
    m_fillBrush.CreateSolidBrush(c.m_frameFill);
    m_linePen.CreatePen(PS_SOLID, 1, c.m_frameLine);
    m_backBrush.CreateSolidBrush(c.m_background);
}

bool CLumRssNaviDlgBase::showExplanation(int index) {
    auto it = m_explanations.find(index);
    if (it == m_explanations.end() || !it->second) {
        return false;
    }
    int textId = m_style.m_textCtrlId ? m_style.m_textCtrlId : kStandardTextId;
    int pictureId = m_style.m_pictureCtrlId ? m_style.m_pictureCtrlId : kStandardPictureId;
    if (HWND text = ::GetDlgItem(m_hWnd, textId)) {
        ::SetWindowTextW(text, it->second->m_text.GetString());
    }
    if (HWND picture = ::GetDlgItem(m_hWnd, pictureId)) {
        ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(it->second->m_picture.GetSafeHandle()));
    }
    return true;
}

BOOL CLumRssNaviDlgBase::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE && GetTickCount() - m_lastMoveTick > kMoveInterval) {
        POINT p{GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
        ::ClientToScreen(pMsg->hwnd, &p);
        ::ScreenToClient(m_hWnd, &p);
        onHover(p.x, p.y);
        m_lastMoveTick = GetTickCount();
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CLumRssNaviDlgBase::onHover(int x, int y) {
    POINT p{x, y};
    HWND found = ::ChildWindowFromPointEx(
        m_hWnd, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    if (!found) {
        found = ::ChildWindowFromPointEx(m_hWnd, p, CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    }
    if (!found) {
        found = ::ChildWindowFromPointEx(m_hWnd, p, CWP_SKIPTRANSPARENT);
    }
    int index = 0;
    if (found && found != m_hWnd && ::GetParent(found) == m_hWnd) {
        auto it = m_buttonIndex.find(::GetDlgCtrlID(found));
        index = it == m_buttonIndex.end() ? 0 : it->second;
    }
    if (index == m_pendingIndex) {
        return;
    }
    SetTimer(kSwitchTimer, kSwitchDelay, nullptr);
    m_pendingIndex = index;
}

void CLumRssNaviDlgBase::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kCursorTimer) {
        // Catches a cursor that left the dialog without a move reaching it.
        POINT p;
        ::GetCursorPos(&p);
        ::ScreenToClient(m_hWnd, &p);
        onHover(p.x, p.y);
    } else if (nIDEvent == kSwitchTimer) {
        KillTimer(kSwitchTimer);
        showExplanation(m_pendingIndex);
    }
    CDialog::OnTimer(nIDEvent);
}

void CLumRssNaviDlgBase::OnPaint() {
    CPaintDC dc(this);
    CPen* oldPen = dc.SelectObject(&m_linePen);
    CBrush* oldBrush = dc.SelectObject(&m_fillBrush);
    for (const int* id = kFrameIds; *id; ++id) {
        HWND frame = ::GetDlgItem(m_hWnd, *id);
        if (!frame) {
            continue;
        }
        CRect r;
        ::GetWindowRect(frame, &r);
        ScreenToClient(&r);
        if (!::IsRectEmpty(&r)) {
            dc.RoundRect(r.left, r.top, r.right, r.bottom, m_cornerSize, m_cornerSize);
        }
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

HBRUSH CLumRssNaviDlgBase::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX) {
        return brush;
    }
    pDC->SetTextColor(colors().m_text);
    pDC->SetBkMode(TRANSPARENT);
    bool framed = pWnd && m_framedChildren.count(pWnd->GetSafeHwnd()) != 0;
    return static_cast<HBRUSH>(framed ? m_fillBrush.GetSafeHandle() : m_backBrush.GetSafeHandle());
}

BOOL CLumRssNaviDlgBase::OnHelpInfo(HELPINFO*) {
    return FALSE;
}

void CLumRssNaviDlgBase::OnDestroy() {
    KillTimer(kCursorTimer);
    KillTimer(kSwitchTimer);
    CDialog::OnDestroy();
}
