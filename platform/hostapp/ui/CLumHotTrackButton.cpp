#include "hostapp/ui/CLumHotTrackButton.h"

#include "mfc/CDC.h"
#include "win32/CommCtrl.h"
#include "win32/Gdi.h"

namespace {

// Room between the icon and the text.
constexpr int kIconGap = 6;

}  // namespace

CLumHotTrackButton::CLumHotTrackButton() = default;

void CLumHotTrackButton::setIconPos(int x, int y) {
    m_iconPos = POINT{x, y};
}

void CLumHotTrackButton::setIcon(CImageList* list, int index, int) {
    m_imageList = list;
    m_imageIndex = index;
    if (m_hWnd) {
        Invalidate();
    }
}

void CLumHotTrackButton::layout(int dx, int dy) {
    if (!m_hWnd) {
        return;
    }
    RECT r;
    GetClientRect(&r);
    int left = m_iconPos.x;
    if (m_imageList && m_imageList->GetSafeHandle() && m_imageIndex >= 0) {
        int cx = 0;
        int cy = 0;
        ImageList_GetIconSize(m_imageList->GetSafeHandle(), &cx, &cy);
        left = m_iconPos.x + cx + kIconGap;
    }
    m_textRect = RECT{left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    Invalidate();
}

void CLumHotTrackButton::drawBackground(LPDRAWITEMSTRUCT dis) {
    CDC* dc = CDC::FromHandle(dis->hDC);
    dc->FillSolidRect(&dis->rcItem, GetSysColor(COLOR_BTNFACE));
}

void CLumHotTrackButton::setMarked(bool marked) {
    if (m_bMarked != marked) {
        m_bMarked = marked;
        if (m_hWnd) {
            Invalidate();
        }
    }
}

void CLumHotTrackButton::setHover(bool hover) {
    if (m_bHover != hover) {
        m_bHover = hover;
        Invalidate();
    }
}

void CLumHotTrackButton::DrawItem(LPDRAWITEMSTRUCT dis) {
    drawBackground(dis);
    CDC* dc = CDC::FromHandle(dis->hDC);
    int image = m_bMarked && m_nMarkedImage >= 0 ? m_nMarkedImage : m_imageIndex;
    if (m_imageList && m_imageList->GetSafeHandle() && image >= 0) {
        m_imageList->Draw(dc, image, m_iconPos, ILD_TRANSPARENT);
    }
    if (m_bDrawText) {
        CString text;
        GetWindowText(text);
        RECT r = m_textRect;
        if (IsRectEmpty(&r)) {
            r = dis->rcItem;
        }
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->DrawText(text, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

LRESULT CLumHotTrackButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            RECT r;
            GetClientRect(&r);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            bool inside = PtInRect(&r, p) != FALSE;
            if (inside && !m_bHover) {
                // Hear when the mouse leaves, so the hover look goes with it.
                TRACKMOUSEEVENT track;
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = m_hWnd;
                TrackMouseEvent(&track);
            }
            setHover(inside);
            break;
        }
        case WM_MOUSELEAVE:
            setHover(false);
            break;
        case WM_SIZE: {
            LRESULT r = CButton::WindowProc(message, wParam, lParam);
            layout(0, 0);
            return r;
        }
        default:
            break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}
