#include "win32/Gdi.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A DIB with a palette: header, colours, rows (bottom-up unless height < 0).
std::vector<BYTE> dib(int width, int height, int bits, std::vector<COLORREF> palette,
                      std::vector<BYTE> rows) {
    std::vector<BYTE> out(40, 0);
    auto put32 = [&](size_t at, std::int32_t v) { std::memcpy(&out[at], &v, 4); };
    put32(0, 40);
    put32(4, width);
    put32(8, height);
    out[12] = 1;
    out[14] = static_cast<BYTE>(bits);
    put32(32, static_cast<std::int32_t>(palette.size()));
    for (COLORREF c : palette) {
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

}  // namespace

TEST(Gdi, PalettedBitmapsDecodeTheirIndexesTopRowFirst) {
    // 4 x 2, 1 bit: bottom row 1010, top row 0110.
    auto mono = dib(4, 2, 1, {RGB(0, 0, 0), RGB(255, 255, 255)}, {0xA0, 0, 0, 0, 0x60, 0, 0, 0});
    auto bmp = nd::win32::decodeDib(mono.data(), mono.size());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->at(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(bmp->at(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(bmp->at(0, 1), RGB(255, 255, 255));
    // 2 x 1, 4 bits, top-down (negative height).
    auto nibbles = dib(2, -1, 4, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)}, {0x21, 0, 0, 0});
    bmp = nd::win32::decodeDib(nibbles.data(), nibbles.size());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->at(0, 0), RGB(3, 3, 3));
    EXPECT_EQ(bmp->at(1, 0), RGB(2, 2, 2));
    // An index beyond the palette is not a picture.
    auto beyond = dib(1, 1, 8, {RGB(1, 1, 1)}, {5, 0, 0, 0});
    EXPECT_FALSE(nd::win32::decodeDib(beyond.data(), beyond.size()));
}

TEST(Gdi, SelectingAnObjectReturnsThePreviousOneAndDrawingUsesTheSelection) {
    HWND w = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                             nullptr, nullptr, nullptr);
    HDC dc = GetDC(w);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 8, 7));
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    SetTextColor(dc, RGB(5, 5, 5));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    Rectangle(dc, 1, 2, 3, 4);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 0, 0, 10, 10, 4, 4);
    ReleaseDC(w, dc);
    const auto& drawn = nd::win32::paintRecords(w);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].penColor, RGB(9, 8, 7));
    EXPECT_EQ(drawn[0].brushColor, RGB(1, 2, 3));
    EXPECT_EQ(drawn[0].textColor, RGB(5, 5, 5));
    EXPECT_EQ(drawn[0].backMode, TRANSPARENT);
    EXPECT_EQ(drawn[1].brushColor, CLR_NONE) << "a hollow brush fills nothing";
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(nd::win32::isGdiObject(pen));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects survive deletion";
    EXPECT_TRUE(nd::win32::isGdiObject(GetStockObject(BLACK_PEN)));
    DeleteObject(brush);
    DestroyWindow(w);
    EXPECT_TRUE(nd::win32::paintRecords(w).empty());
}

TEST(Gdi, ImageListsCutBitmapsIntoCellsAndRecordWhatTheyDraw) {
    nd::win32::BitmapData strip;
    strip.width = 6;
    strip.height = 2;
    strip.pixels.assign(12, RGB(0xC0, 0xC0, 0xC0));
    strip.pixels[3] = RGB(255, 0, 0);
    HBITMAP bmp = nd::win32::createBitmap(strip);
    HIMAGELIST masked = ImageList_Create(3, 2, ILC_COLORDDB | ILC_MASK, 0, 4);
    HIMAGELIST plain = ImageList_Create(3, 2, ILC_COLORDDB, 0, 4);
    EXPECT_EQ(ImageList_AddMasked(masked, bmp, RGB(0xC0, 0xC0, 0xC0)), 0);
    EXPECT_EQ(ImageList_AddMasked(plain, bmp, RGB(0xC0, 0xC0, 0xC0)), 0);
    EXPECT_EQ(ImageList_GetImageCount(masked), 2);
    EXPECT_EQ(nd::win32::imageListImage(masked, 1)->at(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(nd::win32::imageListImage(masked, 1)->at(1, 0), CLR_NONE);
    EXPECT_EQ(nd::win32::imageListImage(plain, 1)->at(1, 0), RGB(0xC0, 0xC0, 0xC0))
        << "without ILC_MASK there is no transparency";
    HIMAGELIST big = ImageList_Create(8, 8, ILC_MASK, 0, 4);
    EXPECT_EQ(ImageList_AddMasked(big, bmp, 0), -1) << "a bitmap smaller than one cell";
    HWND w = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                             nullptr);
    HDC dc = GetDC(w);
    EXPECT_TRUE(ImageList_Draw(masked, 1, dc, 5, 6, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(masked, 2, dc, 5, 6, ILD_TRANSPARENT));
    ReleaseDC(w, dc);
    ASSERT_EQ(nd::win32::paintRecords(w).size(), 1u);
    EXPECT_EQ(nd::win32::paintRecords(w)[0].imageIndex, 1);
    EXPECT_EQ(nd::win32::paintRecords(w)[0].rect.right, 8);
    DestroyWindow(w);
    for (HIMAGELIST l : {masked, plain, big}) {
        ImageList_Destroy(l);
    }
    DeleteObject(bmp);
}
