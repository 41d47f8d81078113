// Draws the application's RSS icons as GIF files: the default icon the
// insert-link command puts in pages (rss_icon.gif) and the sample icons of
// its sample materials (rss_icons/). Run at build time:
//   nd_make_rss_icons OUTDIR
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

// Index 0 is transparent; 1 the face, 2 the symbol, 3 the rim.
struct Style {
    const char* name;
    int size;
    Rgb face;
    Rgb rim;
};

constexpr int kPaletteBits = 4;  // 16 entries; LZW starts at 5-bit codes

class BitWriter {
  public:
    void put(unsigned code, int width) {
        m_acc |= code << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_acc & 0xFF));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    std::vector<uint8_t> finish() {
        if (m_bits > 0) {
            m_bytes.push_back(static_cast<uint8_t>(m_acc & 0xFF));
        }
        return m_bytes;
    }

  private:
    unsigned m_acc = 0;
    int m_bits = 0;
    std::vector<uint8_t> m_bytes;
};

// LZW without compression: a clear code before the table would make codes
// wider, so every code is a pixel at the same width and any decoder reads it.
std::vector<uint8_t> lzw(const std::vector<uint8_t>& pixels) {
    const unsigned clear = 1u << kPaletteBits;
    const unsigned end = clear + 1;
    const int width = kPaletteBits + 1;
    const size_t run = clear - 3;
    BitWriter out;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % run == 0) {
            out.put(clear, width);
        }
        out.put(pixels[i], width);
    }
    out.put(end, width);
    return out.finish();
}

void put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

std::vector<uint8_t> gif(int size, const std::vector<uint8_t>& pixels, const Style& style) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, size);
    put16(out, size);
    out.push_back(0x80 | ((kPaletteBits - 1) << 4) | (kPaletteBits - 1));
    out.push_back(0);
    out.push_back(0);
    const Rgb palette[4] = {{255, 255, 255}, style.face, {255, 255, 255}, style.rim};
    for (int i = 0; i < (1 << kPaletteBits); ++i) {
        Rgb c = i < 4 ? palette[i] : Rgb{0, 0, 0};
        out.insert(out.end(), {c.r, c.g, c.b});
    }
    // Graphic control: index 0 transparent.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00});
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, size);
    put16(out, size);
    out.push_back(0);
    out.push_back(kPaletteBits);
    std::vector<uint8_t> data = lzw(pixels);
    for (size_t at = 0; at < data.size(); at += 255) {
        size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(at),
                   data.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

// A rounded square with a dot and two quarter rings in its lower left.
std::vector<uint8_t> draw(int size) {
    std::vector<uint8_t> px(static_cast<size_t>(size * size), 0);
    const double s = size;
    const double corner = s * 0.2;
    const double cx = s * 0.25;
    const double cy = s * 0.75;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double fx = x + 0.5;
            double fy = y + 0.5;
            // Distance outside the rounded square's inner rectangle.
            double dx = std::max({corner - fx, 0.0, fx - (s - corner)});
            double dy = std::max({corner - fy, 0.0, fy - (s - corner)});
            double out = std::hypot(dx, dy);
            if (out > corner) {
                continue;
            }
            uint8_t c = out > corner - 1.0 || fx < 1 || fy < 1 || fx > s - 1 || fy > s - 1 ? 3 : 1;
            double d = std::hypot(fx - cx, fy - cy);
            bool upRight = fx >= cx - 0.5 && fy <= cy + 0.5;
            if (c == 1 && (d <= s * 0.11 || (upRight && d >= s * 0.28 && d <= s * 0.40) ||
                           (upRight && d >= s * 0.52 && d <= s * 0.64))) {
                c = 2;
            }
            px[static_cast<size_t>(y * size + x)] = c;
        }
    }
    return px;
}

bool writeIcon(const std::filesystem::path& file, const Style& style) {
    std::vector<uint8_t> bytes = gif(style.size, draw(style.size), style);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nd_make_rss_icons OUTDIR\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir / "rss_icons", ec);
    const Style orange{"rss_icon.gif", 16, {242, 133, 31}, {196, 92, 10}};
    const Style samples[] = {
        {"rss_orange.gif", 16, {242, 133, 31}, {196, 92, 10}},
        {"rss_blue.gif", 16, {52, 120, 206}, {28, 76, 150}},
        {"rss_green.gif", 16, {64, 160, 72}, {34, 110, 44}},
        {"rss_gray.gif", 16, {128, 128, 128}, {84, 84, 84}},
        {"rss_large.gif", 28, {242, 133, 31}, {196, 92, 10}},
    };
    bool ok = writeIcon(dir / orange.name, orange);
    for (const Style& s : samples) {
        ok = writeIcon(dir / "rss_icons" / s.name, s) && ok;
    }
    return ok ? 0 : 1;
}
