#include "navigator/CLumNaviDlgButton.h"

#include "hostapp/ui/CLumBegiUtil.h"
#include "hostapp/ui/HostArtIds.h"
#include "mfc/CDC.h"
#include "win32/CommCtrl.h"

namespace {

// Colour indexes of the host's beginner-style table.
constexpr int kFaceNormal = 12;
constexpr int kFacePressed = 16;
constexpr int kFaceHot = 18;
constexpr int kFaceMarked = 20;
constexpr int kFrameFill = 28;
constexpr int kEdge = 3;
constexpr int kIconInset = 5;

void makeBackground(CLumBegiBtnBG& bg, UINT bitmapId, int colorIndex, int diffIndex) {
    bg.create(bitmapId, CLumBegiUtil::getColorRaw(colorIndex, 0), kEdge, -1, -1, -1, TRUE);
    // The buttons sit on the frame's fill.
    bg.m_clrBack = CLumBegiUtil::getColor(kFrameFill, 0);
    if (CLumBegiUtil::isUsingSysColor()) {
        bg.setColorDiff(CLumBegiUtil::getColorDiff(CLumBegiUtil::getColor(diffIndex, 0),
                                                   CLumBegiUtil::getColorRaw(diffIndex, 0)));
    }
}

}  // namespace

CLumNaviDlgButton::CLumNaviDlgButton(bool noHover) {
    makeBackground(m_bgNormal, IDB_BEGI_BTN_NORMAL, kFaceNormal, kFaceNormal);
    if (noHover) {
        makeBackground(m_bgHot, IDB_BEGI_BTN_NORMAL, kFaceNormal, kFaceNormal);
    } else {
        makeBackground(m_bgHot, IDB_BEGI_BTN_HOT, kFaceHot, kFaceNormal);
    }
    makeBackground(m_bgPressed, IDB_BEGI_BTN_PRESSED, kFacePressed, kFaceNormal);
    makeBackground(m_bgMarked, IDB_BEGI_BTN_MARKED, kFaceMarked, kFaceMarked);
    setIconPos(kIconInset, kIconInset);
}

CLumBegiBtnBG& CLumNaviDlgButton::backgroundFor(UINT itemState) {
    if (isMarked()) {
        return m_bgMarked;
    }
    if (itemState & ODS_SELECTED) {
        return m_bgPressed;
    }
    if (isHot()) {
        return m_bgHot;
    }
    return m_bgNormal;
}

void CLumNaviDlgButton::drawBackground(LPDRAWITEMSTRUCT dis) {
    CLumBegiBtnBG& bg = backgroundFor(dis->itemState);
    bg.update(dis->rcItem.right - dis->rcItem.left, dis->rcItem.bottom - dis->rcItem.top, 0);
    bg.draw(CDC::FromHandle(dis->hDC), 0, 0);
}
