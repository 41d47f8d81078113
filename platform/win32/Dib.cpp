// Device-independent bitmaps as bitmap resources store them.
#include "win32/Gdi.h"

#include <cstdint>
#include <cstring>

namespace nd::win32 {

std::optional<BitmapData> decodeDib(const void* data, size_t size) {
    auto* p = static_cast<const BYTE*>(data);
    auto rd32 = [&](size_t at) {
        std::int32_t v;
        std::memcpy(&v, p + at, 4);
        return v;
    };
    auto rd16 = [&](size_t at) {
        std::uint16_t v;
        std::memcpy(&v, p + at, 2);
        return v;
    };
    if (!p || size < 40) {
        return std::nullopt;
    }
    std::uint32_t headerSize = static_cast<std::uint32_t>(rd32(0));
    if (headerSize < 40 || headerSize > size) {
        return std::nullopt;
    }
    std::int32_t width = rd32(4);
    std::int32_t height = rd32(8);
    int bits = rd16(14);
    std::uint32_t compression = static_cast<std::uint32_t>(rd32(16));
    std::uint32_t used = static_cast<std::uint32_t>(rd32(32));
    bool topDown = height < 0;
    std::int64_t h = topDown ? -static_cast<std::int64_t>(height) : height;
    if (width <= 0 || h <= 0 || width > 16384 || h > 16384) {
        return std::nullopt;
    }
    bool bitfields = compression == 3 && (bits == 16 || bits == 32);
    if (compression != 0 && !bitfields) {
        return std::nullopt;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return std::nullopt;
    }
    size_t paletteCount = bits <= 8 ? (used ? used : (1u << bits)) : 0;
    if (paletteCount > 256) {
        return std::nullopt;
    }
    size_t at = headerSize + (bitfields && headerSize == 40 ? 12 : 0);
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32 && !bitfields) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    if (bitfields) {
        if (headerSize + 12 > size) {
            return std::nullopt;
        }
        for (int i = 0; i < 3; ++i) {
            masks[i] = static_cast<std::uint32_t>(rd32(40 + 4 * i));
        }
    }
    if (at + paletteCount * 4 > size) {
        return std::nullopt;
    }
    std::vector<COLORREF> palette(paletteCount);
    for (size_t i = 0; i < paletteCount; ++i) {
        const BYTE* q = p + at + i * 4;
        palette[i] = RGB(q[2], q[1], q[0]);
    }
    at += paletteCount * 4;
    size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (at + stride * static_cast<size_t>(h) > size) {
        return std::nullopt;
    }
    auto channel = [](std::uint32_t v, std::uint32_t mask) -> BYTE {
        if (!mask) {
            return 0;
        }
        int shift = 0;
        while (!((mask >> shift) & 1)) {
            ++shift;
        }
        std::uint32_t max = mask >> shift;
        return static_cast<BYTE>(((v & mask) >> shift) * 255 / max);
    };
    BitmapData out;
    out.width = width;
    out.height = static_cast<int>(h);
    out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(h));
    for (std::int64_t row = 0; row < h; ++row) {
        const BYTE* line = p + at + stride * static_cast<size_t>(row);
        std::int64_t y = topDown ? row : h - 1 - row;
        for (std::int32_t x = 0; x < width; ++x) {
            COLORREF c = 0;
            if (bits <= 8) {
                size_t bit = static_cast<size_t>(x) * bits;
                unsigned v = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (v >= palette.size()) {
                    return std::nullopt;
                }
                c = palette[v];
            } else if (bits == 24) {
                const BYTE* q = line + x * 3;
                c = RGB(q[2], q[1], q[0]);
            } else {
                std::uint32_t v = 0;
                std::memcpy(&v, line + static_cast<size_t>(x) * (bits / 8), bits / 8);
                c = RGB(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
            }
            out.pixels[static_cast<size_t>(y) * width + x] = c;
        }
    }
    return out;
}

}  // namespace nd::win32
