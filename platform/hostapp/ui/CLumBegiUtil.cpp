#include "hostapp/ui/CLumBegiUtil.h"

#include "win32/Gdi.h"

#include <algorithm>
#include <array>

namespace {

// Our own palette: set 0 a calm blue-grey, set 1 a warm sand. Indexes not
// named here are left at a neutral grey.
//   12 button face, 16 button pressed, 18 button under the mouse,
//   20 marked button, 26 window background, 27 text, 28 frame fill,
//   29 frame line.
using Table = std::array<COLORREF, CLumBegiUtil::kColorCount>;

constexpr Table makeSet(COLORREF face, COLORREF pressed, COLORREF hot, COLORREF marked,
                        COLORREF back, COLORREF text, COLORREF fill, COLORREF line) {
    Table t{};
    for (auto& c : t) {
        c = RGB(0xA0, 0xA0, 0xA0);
    }
    t[12] = face;
    t[16] = pressed;
    t[18] = hot;
    t[20] = marked;
    t[26] = back;
    t[27] = text;
    t[28] = fill;
    t[29] = line;
    return t;
}

constexpr std::array<Table, 2> kSets = {
    makeSet(RGB(0xDC, 0xE6, 0xF2), RGB(0x9D, 0xB4, 0xD2), RGB(0xF4, 0xF8, 0xFE),
            RGB(0xF6, 0xD7, 0x8E), RGB(0xE9, 0xEE, 0xF4), RGB(0x1E, 0x2A, 0x3A),
            RGB(0xFF, 0xFF, 0xFF), RGB(0x7A, 0x93, 0xB4)),
    makeSet(RGB(0xF2, 0xE8, 0xD6), RGB(0xCF, 0xB8, 0x8E), RGB(0xFE, 0xFA, 0xF0),
            RGB(0xE9, 0xC2, 0x7A), RGB(0xF6, 0xF0, 0xE4), RGB(0x3A, 0x2C, 0x1A),
            RGB(0xFF, 0xFD, 0xF8), RGB(0xB0, 0x95, 0x6A)),
};

constexpr int kBackgroundIndex = 26;

bool g_usingSysColor = false;

int clampChannel(int v) {
    return std::clamp(v, 0, 255);
}

}  // namespace

COLORREF CLumBegiUtil::getColorRaw(int index, int set) {
    if (set < 0 || set >= static_cast<int>(kSets.size()) || index < 0 || index >= kColorCount) {
        return RGB(0, 0, 0);
    }
    return kSets[static_cast<size_t>(set)][static_cast<size_t>(index)];
}

COLORREF CLumBegiUtil::getColor(int index, int set) {
    COLORREF raw = getColorRaw(index, set);
    if (!g_usingSysColor || index < 0 || index >= kColorCount) {
        return raw;
    }
    // The whole set moves by what separates its background from the
    // system's button face, so that its shades keep their relations.
    LumColorDiff toSystem =
        getColorDiff(GetSysColor(COLOR_BTNFACE), getColorRaw(kBackgroundIndex, set));
    return shiftColor(raw, toSystem);
}

LumColorDiff CLumBegiUtil::getColorDiff(COLORREF to, COLORREF from) {
    return LumColorDiff{GetRValue(to) - GetRValue(from), GetGValue(to) - GetGValue(from),
                        GetBValue(to) - GetBValue(from)};
}

COLORREF CLumBegiUtil::shiftColor(COLORREF color, const LumColorDiff& diff) {
    return RGB(static_cast<BYTE>(clampChannel(GetRValue(color) + diff.red)),
               static_cast<BYTE>(clampChannel(GetGValue(color) + diff.green)),
               static_cast<BYTE>(clampChannel(GetBValue(color) + diff.blue)));
}

bool CLumBegiUtil::isUsingSysColor() {
    return g_usingSysColor;
}

void CLumBegiUtil::setUsingSysColor(bool use) {
    g_usingSysColor = use;
}
