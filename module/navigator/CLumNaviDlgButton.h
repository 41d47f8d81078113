// A navigator button: the host's hover-tracking button on a background that
// follows its state (normal, under the mouse, pressed, marked).
#pragma once

#include "hostapp/ui/CLumBegiBtnBG.h"
#include "hostapp/ui/CLumHotTrackButton.h"

class CLumNaviDlgButton : public CLumHotTrackButton {
  public:
    // With `noHover` the button keeps its normal look under the mouse.
    explicit CLumNaviDlgButton(bool noHover);
    ~CLumNaviDlgButton() override = default;

    void drawBackground(LPDRAWITEMSTRUCT dis) override;

    // The background a draw request with this item state gets now.
    CLumBegiBtnBG& backgroundFor(UINT itemState);

  private:
    CLumBegiBtnBG m_bgNormal;
    CLumBegiBtnBG m_bgHot;
    CLumBegiBtnBG m_bgPressed;
    CLumBegiBtnBG m_bgMarked;
};
