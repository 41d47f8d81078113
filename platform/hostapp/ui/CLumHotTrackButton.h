// The host's owner-drawn button with a hover look: it knows when the mouse
// is over it, draws an icon from an image list and its text, and leaves the
// background to a hook that derived buttons fill in.
#pragma once

#include "mfc/CButton.h"
#include "mfc/CImageList.h"

class CLumHotTrackButton : public CButton {
  public:
    CLumHotTrackButton();
    ~CLumHotTrackButton() override = default;

    // Where the icon's top left corner sits inside the button.
    void setIconPos(int x, int y);
    // The icon: image `index` of `list` (not owned; it must outlive the
    // button). `flags` is reserved (0).
    void setIcon(CImageList* list, int index, int flags);
    // Places icon and text for the button's current size; `dx` and `dy`
    // move the text from where it would go.
    virtual void layout(int dx, int dy);
    // Paints the background of the button for a draw request; the base
    // fills the face with the system's button colour.
    virtual void drawBackground(LPDRAWITEMSTRUCT dis);

    // True while the mouse is over the button.
    bool isHot() const { return m_bHover; }
    // The second state: a button marked as the current choice.
    bool isMarked() const { return m_bMarked; }
    void setMarked(bool marked);
    const RECT& textRect() const { return m_textRect; }

  protected:
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool m_bHover = false;
    bool m_bMarked = false;
    // Constructor options: text is drawn; text lines centred vertically;
    // no image for the marked state (-1); the focus is shown.
    bool m_bDrawText = true;
    int m_nTextLines = 1;
    int m_nMarkedImage = -1;
    bool m_bShowFocus = true;

  private:
    void setHover(bool hover);

    CImageList* m_imageList = nullptr;
    int m_imageIndex = -1;
    POINT m_iconPos{0, 0};
    RECT m_textRect{};
};
