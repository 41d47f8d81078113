// Icons from icon resources. An icon is held as its colour image: a bitmap
// object that the icon handle names, so drawing code and tests read its
// pixels the way they read any bitmap's.
#include "win32/Gdi.h"
#include "win32/Resources.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kGroupHeader = 6;
constexpr size_t kGroupEntry = 14;
constexpr int kPreferredSize = 32;

std::uint16_t read16(const BYTE* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

}  // namespace

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    auto module = reinterpret_cast<HMODULE>(instance);
    HRSRC group = FindResourceW(module, name, RT_GROUP_ICON);
    if (!group) {
        return nullptr;
    }
    auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    DWORD dirSize = SizeofResource(module, group);
    if (!dir || dirSize < kGroupHeader || read16(dir + 2) != 1) {
        return nullptr;
    }
    size_t count = read16(dir + 4);
    if (count == 0 || kGroupHeader + count * kGroupEntry > dirSize) {
        return nullptr;
    }
    // The image of the standard size when there is one, else the first.
    size_t chosen = 0;
    for (size_t i = 0; i < count; ++i) {
        if (dir[kGroupHeader + i * kGroupEntry] == kPreferredSize) {
            chosen = i;
            break;
        }
    }
    UINT imageId = read16(dir + kGroupHeader + chosen * kGroupEntry + 12);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(imageId), RT_ICON);
    if (!image) {
        return nullptr;
    }
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
    DWORD size = SizeofResource(module, image);
    if (!bytes || size < 40) {
        return nullptr;
    }
    // The header counts the colour image and the mask below it together;
    // only the colour image is read.
    std::vector<BYTE> dib(bytes, bytes + size);
    std::int32_t height;
    std::memcpy(&height, dib.data() + 8, 4);
    if (height <= 0 || height % 2 != 0) {
        return nullptr;
    }
    height /= 2;
    std::memcpy(dib.data() + 8, &height, 4);
    auto data = nd::win32::decodeDib(dib.data(), dib.size());
    if (!data) {
        return nullptr;
    }
    return reinterpret_cast<HICON>(nd::win32::createBitmap(std::move(*data)));
}

BOOL DestroyIcon(HICON icon) {
    return nd::win32::iconBitmap(icon) ? DeleteObject(reinterpret_cast<HGDIOBJ>(icon)) : FALSE;
}

namespace nd::win32 {

const BitmapData* iconBitmap(HICON icon) {
    return bitmapData(reinterpret_cast<HBITMAP>(icon));
}

}  // namespace nd::win32
