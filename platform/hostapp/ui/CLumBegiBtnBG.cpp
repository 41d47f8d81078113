#include "hostapp/ui/CLumBegiBtnBG.h"

#include "mfc/CDC.h"
#include "win32/Loader.h"
#include "win32/Resources.h"

#include <algorithm>

namespace {

// The source coordinate for a target one: edges map one to one, the middle
// is stretched (or squeezed) over what lies between them.
int sourceCoord(int t, int target, int source, int near, int far) {
    near = std::min(near, source / 2);
    far = std::min(far, source - near);
    if (t < near) {
        return t;
    }
    if (t >= target - far) {
        return source - (target - t);
    }
    int middleTarget = target - near - far;
    int middleSource = source - near - far;
    if (middleTarget <= 0 || middleSource <= 0) {
        return std::clamp(t, 0, source - 1);
    }
    return near + (t - near) * middleSource / middleTarget;
}

}  // namespace

CLumBegiBtnBG::~CLumBegiBtnBG() {
    if (m_image) {
        DeleteObject(m_image);
    }
}

BOOL CLumBegiBtnBG::create(UINT bitmapId, COLORREF faceColor, int edge, int edgeTop, int edgeRight,
                           int edgeBottom, BOOL tint) {
    HBITMAP loaded = LoadBitmapW(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)),
                                 MAKEINTRESOURCEW(bitmapId));
    const nd::win32::BitmapData* data = nd::win32::bitmapData(loaded);
    if (!data) {
        return FALSE;
    }
    m_source = *data;
    DeleteObject(loaded);
    m_bitmapId = bitmapId;
    m_faceColor = faceColor;
    edge = std::max(edge, 0);
    m_edgeLeft = edge;
    m_edgeTop = edgeTop < 0 ? edge : edgeTop;
    m_edgeRight = edgeRight < 0 ? edge : edgeRight;
    m_edgeBottom = edgeBottom < 0 ? edge : edgeBottom;
    m_tint = tint != FALSE;
    return TRUE;
}

void CLumBegiBtnBG::setColorDiff(const LumColorDiff& diff) {
    m_diff = diff;
}

COLORREF CLumBegiBtnBG::faceColor() const {
    return CLumBegiUtil::shiftColor(m_faceColor, m_diff);
}

COLORREF CLumBegiBtnBG::pixelAt(int x, int y, int width, int height) const {
    int sx = sourceCoord(x, width, m_source->width, m_edgeLeft, m_edgeRight);
    int sy = sourceCoord(y, height, m_source->height, m_edgeTop, m_edgeBottom);
    COLORREF p = m_source->at(std::clamp(sx, 0, m_source->width - 1),
                              std::clamp(sy, 0, m_source->height - 1));
    if (p == kBegiPictureHole || p == CLR_NONE) {
        return m_clrBack;
    }
    if (!m_tint) {
        return p;
    }
    COLORREF face = faceColor();
    int light = GetRValue(p);
    return RGB(static_cast<BYTE>(GetRValue(face) * light / 255),
               static_cast<BYTE>(GetGValue(face) * light / 255),
               static_cast<BYTE>(GetBValue(face) * light / 255));
}

BOOL CLumBegiBtnBG::update(int width, int height, int) {
    if (!m_source || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        return FALSE;
    }
    nd::win32::BitmapData out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.pixels[static_cast<size_t>(y * width + x)] = pixelAt(x, y, width, height);
        }
    }
    HBITMAP made = nd::win32::createBitmap(std::move(out));
    if (!made) {
        return FALSE;
    }
    if (m_image) {
        DeleteObject(m_image);
    }
    m_image = made;
    m_width = width;
    m_height = height;
    return TRUE;
}

BOOL CLumBegiBtnBG::draw(CDC* dc, int x, int y) {
    if (!dc || !dc->GetSafeHdc() || !m_image) {
        return FALSE;
    }
    HDC memory = CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = SelectObject(memory, m_image);
    BOOL done = BitBlt(dc->GetSafeHdc(), x, y, m_width, m_height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return done;
}
