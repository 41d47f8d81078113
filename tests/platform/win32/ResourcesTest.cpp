#include "win32/Dialog.h"
#include "win32/Gdi.h"
#include "win32/Resources.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace {

std::vector<char> sampleRes() {
    std::ifstream in(ND_SAMPLE_RES, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

const HMODULE kModule = reinterpret_cast<HMODULE>(0x5000);

class Resources : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes = sampleRes();
        ASSERT_FALSE(bytes.empty());
        ASSERT_TRUE(nd::win32::registerModuleResources(kModule, bytes.data(), bytes.size()));
    }
    void TearDown() override { nd::win32::unregisterModuleResources(kModule); }
    std::vector<char> bytes;
};

}  // namespace

TEST_F(Resources, StringsLoadByIdFromTheirBlocks) {
    WCHAR buf[64];
    EXPECT_EQ(LoadStringW(kModule, 100, buf, 64), 5);
    EXPECT_EQ(std::u16string(buf), u"Hello");
    EXPECT_EQ(LoadStringW(kModule, 101, buf, 64), 8);
    EXPECT_EQ(std::u16string(buf), u"こんにちは、%s");
    EXPECT_EQ(LoadStringW(kModule, 117, buf, 64), 9) << "second block";
    EXPECT_EQ(LoadStringW(kModule, 102, buf, 64), 0) << "a hole in the block";
    EXPECT_EQ(LoadStringW(kModule, 100, buf, 3), 2) << "cut to the buffer";
    EXPECT_EQ(std::u16string(buf), u"He");
    const WCHAR* direct = nullptr;
    EXPECT_EQ(LoadStringW(kModule, 100, reinterpret_cast<LPWSTR>(&direct), 0), 5);
    EXPECT_EQ(std::u16string(direct, 5), u"Hello");
}

TEST_F(Resources, DialogsAreCreatedFromTheirTemplates) {
    HWND dlg = CreateDialogParamW(kModule, MAKEINTRESOURCEW(200), nullptr, nullptr, 0);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(nd::win32::dialogTemplateId(dlg), 200);
    EXPECT_EQ(nd::win32::windowText(dlg), u"サンプル");
    EXPECT_TRUE(GetDlgItem(dlg, 1000));
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(dlg, 1001), GWL_STYLE) & LBS_MULTIPLESEL);
    auto bmp = reinterpret_cast<HBITMAP>(
        SendMessageW(GetDlgItem(dlg, 1002), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(bmp) << "the picture control loads its bitmap by number";
    DestroyWindow(dlg);
}

TEST_F(Resources, BitmapsDecodeWithTheirSizesAndPixels) {
    HBITMAP bmp = LoadBitmapW(kModule, MAKEINTRESOURCEW(300));
    ASSERT_TRUE(bmp);
    BITMAP info;
    ASSERT_TRUE(GetObjectW(bmp, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 2);
    const auto* px = nd::win32::bitmapData(bmp);
    EXPECT_EQ(px->at(0, 1), RGB(255, 0, 0)) << "bottom-up rows come out top row first";
    EXPECT_EQ(px->at(2, 1), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(px->at(0, 0), RGB(255, 255, 255));
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLORDDB | ILC_MASK, 0, 4);
    EXPECT_EQ(ImageList_AddMasked(list, bmp, RGB(0xC0, 0xC0, 0xC0)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    auto second = nd::win32::imageListImage(list, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->at(0, 1), CLR_NONE) << "the mask colour becomes transparent";
    EXPECT_EQ(second->at(1, 1), RGB(0, 0, 255));
    ImageList_Destroy(list);
    DeleteObject(bmp);
}

TEST_F(Resources, MissingResourcesAndOtherModulesFindNothing) {
    EXPECT_EQ(FindResourceW(kModule, MAKEINTRESOURCEW(999), RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(0x6000), MAKEINTRESOURCEW(200), RT_DIALOG),
              nullptr);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(200), RT_DIALOG), nullptr)
        << "no module means the program's own, which has none";
    EXPECT_NE(FindResourceW(kModule, u"#200", RT_DIALOG), nullptr);
    EXPECT_EQ(LoadBitmapW(kModule, MAKEINTRESOURCEW(200)), nullptr);
    nd::win32::unregisterModuleResources(kModule);
    EXPECT_EQ(FindResourceW(kModule, MAKEINTRESOURCEW(200), RT_DIALOG), nullptr);
}

TEST(ResourceFile, MalformedFilesAreRefusedWhole) {
    auto bytes = sampleRes();
    const HMODULE module = reinterpret_cast<HMODULE>(0x7000);
    EXPECT_FALSE(nd::win32::registerModuleResources(module, bytes.data(), 16));
    std::vector<char> noMarker(bytes.begin() + 32, bytes.end());
    EXPECT_FALSE(nd::win32::registerModuleResources(module, noMarker.data(), noMarker.size()));
    auto huge = bytes;
    huge[32] = '\xFF';  // first real entry claims more data than there is
    huge[33] = '\xFF';
    huge[34] = '\xFF';
    EXPECT_FALSE(nd::win32::registerModuleResources(module, huge.data(), huge.size()));
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(200), RT_DIALOG), nullptr);
}

TEST(DibDecoding, RefusesCompressedAndOversizedBitmaps) {
    std::vector<BYTE> dib(40 + 16, 0);
    auto put32 = [&](size_t at, std::int32_t v) { std::memcpy(&dib[at], &v, 4); };
    put32(0, 40);
    put32(4, 2);
    put32(8, 2);
    dib[12] = 1;
    dib[14] = 24;
    EXPECT_TRUE(nd::win32::decodeDib(dib.data(), dib.size()));
    put32(16, 1);  // run-length compressed
    EXPECT_FALSE(nd::win32::decodeDib(dib.data(), dib.size()));
    put32(16, 0);
    put32(4, 100000);
    EXPECT_FALSE(nd::win32::decodeDib(dib.data(), dib.size()));
    put32(4, 2);
    EXPECT_FALSE(nd::win32::decodeDib(dib.data(), 50)) << "pixels missing";
}

TEST(ResourceFile, ACutFileIsTakenOnlyAtAnEntryBoundaryAndNoFlippedByteIsReadPastItsEntry) {
    auto bytes = sampleRes();
    const HMODULE module = reinterpret_cast<HMODULE>(0x8000);
    // Where entries end: each is data size, header size, header, data, aligned to 4.
    std::set<size_t> boundaries;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        std::uint32_t dataSize = 0;
        std::uint32_t headerSize = 0;
        std::memcpy(&dataSize, &bytes[at], 4);
        std::memcpy(&headerSize, &bytes[at + 4], 4);
        at = (at + headerSize + dataSize + 3) & ~size_t{3};
        boundaries.insert(std::min(at, bytes.size()));
    }
    for (size_t n = 0; n <= bytes.size(); ++n) {
        std::vector<char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        bool taken = nd::win32::registerModuleResources(module, cut.data(), cut.size());
        bool whole = boundaries.count(n) && n >= 32;  // the marker alone is an empty file
        // A cut inside the padding after the last entry's data is whole too.
        bool padded =
            !boundaries.count(n) && boundaries.count((n + 3) & ~size_t{3}) && n > 32 && taken;
        EXPECT_TRUE(taken == whole || padded) << "cut at " << n;
        if (taken) {
            HWND dlg = CreateDialogParamW(module, MAKEINTRESOURCEW(200), nullptr, nullptr, 0);
            if (dlg) {
                DestroyWindow(dlg);
            }
        }
        nd::win32::unregisterModuleResources(module);
    }
    // Flipped bytes: whatever is served is read within its entry (the
    // sanitizer build checks every read).
    for (size_t i = 32; i < bytes.size(); ++i) {
        auto flipped = bytes;
        flipped[i] = static_cast<char>(flipped[i] ^ 0xFF);
        if (nd::win32::registerModuleResources(module, flipped.data(), flipped.size())) {
            HWND dlg = CreateDialogParamW(module, MAKEINTRESOURCEW(200), nullptr, nullptr, 0);
            if (dlg) {
                DestroyWindow(dlg);
            }
            DeleteObject(LoadBitmapW(module, MAKEINTRESOURCEW(300)));
            WCHAR buf[16];
            EXPECT_LE(LoadStringW(module, 117, buf, 16), 15);
        }
    }
    nd::win32::unregisterModuleResources(module);
}
