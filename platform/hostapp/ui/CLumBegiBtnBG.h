// The background of a beginner-style button: one of the host's button
// pictures, coloured with a face colour and stretched to the button's size.
// The picture's grey levels give light and shape; the colour comes from the
// face colour. Its edges keep their size when stretched, so rounded corners
// stay round.
#pragma once

#include "hostapp/ui/CLumBegiUtil.h"
#include "win32/Gdi.h"

#include <optional>

class CDC;

class CLumBegiBtnBG {
  public:
    CLumBegiBtnBG() = default;
    ~CLumBegiBtnBG();
    CLumBegiBtnBG(const CLumBegiBtnBG&) = delete;
    CLumBegiBtnBG& operator=(const CLumBegiBtnBG&) = delete;

    // Loads picture `bitmapId` of the host program. `edge` is the width in
    // pixels of the border kept unstretched; `edgeTop`, `edgeRight` and
    // `edgeBottom` override it for one side (-1: same as `edge`). With
    // `tint` the picture's greys take `faceColor`, otherwise it is drawn
    // with its own colours. FALSE when the picture is missing.
    BOOL create(UINT bitmapId, COLORREF faceColor, int edge, int edgeTop, int edgeRight,
                int edgeBottom, BOOL tint);
    // A shift of the face colour (when the host follows the system's colours).
    void setColorDiff(const LumColorDiff& diff);
    // Makes the image for a button of this size; FALSE when not created or
    // the size is empty. `flags` is reserved (0).
    BOOL update(int width, int height, int flags);
    // Draws the image made by the last update at (x, y).
    BOOL draw(CDC* dc, int x, int y);

    // The image of the last update (owned by this object), null before one.
    HBITMAP image() const { return m_image; }
    UINT bitmapId() const { return m_bitmapId; }
    COLORREF faceColor() const;

    // Shows through where the picture has no pixels (its rounded corners):
    // the colour of what the button sits on.
    COLORREF m_clrBack = RGB(0xFF, 0xFF, 0xFF);

  private:
    COLORREF pixelAt(int x, int y, int width, int height) const;

    std::optional<nd::win32::BitmapData> m_source;
    UINT m_bitmapId = 0;
    COLORREF m_faceColor = 0;
    LumColorDiff m_diff;
    int m_edgeLeft = 0;
    int m_edgeTop = 0;
    int m_edgeRight = 0;
    int m_edgeBottom = 0;
    bool m_tint = false;
    HBITMAP m_image = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// The colour that marks "no pixel" in the host's button pictures.
constexpr COLORREF kBegiPictureHole = RGB(0xFF, 0x00, 0xFF);
