// Build tool: draws the module's bitmaps and writes them as 24-bit BMP files
// for the resource compiler. Pixel art without anti-aliasing, so that the
// light grey that marks transparency never blends into an edge.
//
//   nd_make_bitmaps OUTPUT_DIR   writes rss_icon.bmp and navi_icons.bmp
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Rgb = std::uint32_t;  // 0xRRGGBB

constexpr Rgb kTransparent = 0xC0C0C0;
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kOutline = 0x404040;
constexpr Rgb kFeedOrange = 0xF07A1A;
constexpr Rgb kFeedEdge = 0xB8540A;

class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(width * height, kTransparent) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[y * width_ + x]; }

    void set(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[y * width_ + x] = c;
        }
    }
    // Fills [x0, x1) x [y0, y1).
    void fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                set(x, y, c);
            }
        }
    }
    void frame(int x0, int y0, int x1, int y1, Rgb c) {
        fill(x0, y0, x1, y0 + 1, c);
        fill(x0, y1 - 1, x1, y1, c);
        fill(x0, y0, x0 + 1, y1, c);
        fill(x1 - 1, y0, x1, y1, c);
    }
    // Pixels whose centre lies at a distance in [inner, outer] from (cx, cy),
    // limited to the box [x0, x1) x [y0, y1).
    void ring(double cx, double cy, double inner, double outer, int x0, int y0, int x1, int y1,
              Rgb c) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d >= inner && d <= outer) {
                    set(x, y, c);
                }
            }
        }
    }
    void disc(double cx, double cy, double r, Rgb c) {
        ring(cx, cy, 0, r, 0, 0, width_, height_, c);
    }

  private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// The feed mark: an orange square with cut corners, a dot and two waves
// spreading from the lower left. size is at least 12.
void drawFeedBadge(Canvas& c, int x, int y, int size) {
    c.fill(x + 1, y, x + size - 1, y + size, kFeedEdge);
    c.fill(x, y + 1, x + size, y + size - 1, kFeedEdge);
    c.fill(x + 1, y + 1, x + size - 1, y + size - 1, kFeedOrange);
    double ox = x + 3.5;
    double oy = y + size - 3.5;
    double unit = (size - 4) / 4.0;
    c.disc(ox, oy, unit * 0.75, kWhite);
    int bx1 = x + size - 1;
    int by0 = y + 1;
    c.ring(ox, oy, unit * 1.6, unit * 2.3, x + 2, by0, bx1, y + size - 2, kWhite);
    c.ring(ox, oy, unit * 2.9, unit * 3.6, x + 2, by0, bx1, y + size - 2, kWhite);
}

// Cell 0: a new page with a sparkle.
void drawNewFile(Canvas& c, int ox) {
    c.fill(ox + 5, 3, ox + 19, 29, kWhite);
    c.frame(ox + 4, 2, ox + 20, 30, kOutline);
    for (int i = 0; i < 5; ++i) {  // folded corner
        c.fill(ox + 15 + i, 2 + i, ox + 20, 3 + i, kTransparent);
        c.set(ox + 15 + i, 2 + i, kOutline);
    }
    c.fill(ox + 15, 3, ox + 16, 8, kOutline);
    c.fill(ox + 15, 7, ox + 20, 8, kOutline);
    for (int line = 0; line < 4; ++line) {
        c.fill(ox + 7, 11 + line * 3, ox + 15, 12 + line * 3, 0x9AA4B0);
    }
    constexpr Rgb kSpark = 0xF2C200;
    c.fill(ox + 3, 0, ox + 4, 7, kSpark);
    c.fill(ox + 0, 3, ox + 7, 4, kSpark);
    c.fill(ox + 2, 2, ox + 5, 5, kSpark);
    drawFeedBadge(c, ox + 17, 17, 14);
}

// Cell 1: an opened folder.
void drawOpenFolder(Canvas& c, int ox) {
    constexpr Rgb kBack = 0xD9A520;
    constexpr Rgb kFront = 0xF6D365;
    constexpr Rgb kEdge = 0x8A6410;
    c.fill(ox + 2, 5, ox + 13, 9, kBack);
    c.frame(ox + 1, 4, ox + 14, 10, kEdge);
    c.fill(ox + 2, 8, ox + 27, 26, kBack);
    c.frame(ox + 1, 8, ox + 28, 27, kEdge);
    c.fill(ox + 5, 10, ox + 24, 15, kWhite);  // a page sticking out
    for (int y = 14; y < 27; ++y) {           // front flap, leaning right
        int shift = (27 - y) / 3;
        c.fill(ox + 2 + shift, y, ox + 30 - (27 - y) / 4, y + 1, kFront);
        c.set(ox + 1 + shift, y, kEdge);
        c.set(ox + 30 - (27 - y) / 4, y, kEdge);
    }
    c.fill(ox + 5, 13, ox + 28, 14, kEdge);  // top edge of the flap, within the folder
    c.fill(ox + 1, 27, ox + 29, 28, kEdge);
    drawFeedBadge(c, ox + 18, 18, 14);
}

// Cell 2: two chain links over a page corner.
void drawLinkHelp(Canvas& c, int ox) {
    constexpr Rgb kChain = 0x2F6FD0;
    constexpr Rgb kChainLight = 0x8CB4F0;
    c.ring(ox + 10.0, 11.0, 4.0, 7.0, ox, 0, ox + 32, 32, kChain);
    c.ring(ox + 10.0, 11.0, 4.0, 5.0, ox, 0, ox + 32, 32, kChainLight);
    c.ring(ox + 19.0, 11.0, 4.0, 7.0, ox, 0, ox + 32, 32, kChain);
    c.ring(ox + 19.0, 11.0, 4.0, 5.0, ox, 0, ox + 32, 32, kChainLight);
    // The first link passes over the second at the top.
    c.ring(ox + 10.0, 11.0, 4.0, 7.0, ox + 13, 2, ox + 18, 9, kChain);
    drawFeedBadge(c, ox + 17, 17, 14);
    c.fill(ox + 3, 22, ox + 12, 30, kWhite);
    c.frame(ox + 2, 21, ox + 13, 31, kOutline);
    c.fill(ox + 5, 24, ox + 10, 25, kChain);
    c.fill(ox + 5, 27, ox + 10, 28, kChain);
}

// Cell 3: a microphone with sound waves.
void drawPodcast(Canvas& c, int ox) {
    constexpr Rgb kBody = 0x505A66;
    constexpr Rgb kGrille = 0x9AA6B4;
    constexpr Rgb kWave = 0x8E44AD;
    c.fill(ox + 12, 4, ox + 20, 18, kBody);
    c.fill(ox + 13, 3, ox + 19, 19, kBody);
    for (int y = 6; y < 17; y += 3) {
        c.fill(ox + 13, y, ox + 19, y + 1, kGrille);
    }
    c.ring(ox + 16.0, 13.0, 7.0, 8.5, ox + 6, 13, ox + 26, 23, kBody);
    c.fill(ox + 15, 21, ox + 17, 27, kBody);
    c.fill(ox + 10, 27, ox + 22, 29, kBody);
    c.ring(ox + 16.0, 11.0, 10.5, 12.0, ox + 26, 3, ox + 32, 19, kWave);
    c.ring(ox + 16.0, 11.0, 10.5, 12.0, ox + 0, 3, ox + 6, 19, kWave);
    c.ring(ox + 16.0, 11.0, 13.5, 15.0, ox + 28, 1, ox + 32, 21, kWave);
    c.ring(ox + 16.0, 11.0, 13.5, 15.0, ox + 0, 1, ox + 4, 21, kWave);
}

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

bool writeBmp(const Canvas& c, const std::string& path) {
    const int rowBytes = (c.width() * 3 + 3) & ~3;
    const std::uint32_t imageSize = rowBytes * c.height();
    std::string out;
    out += "BM";
    putLe(out, 14 + 40 + imageSize, 4);
    putLe(out, 0, 4);
    putLe(out, 14 + 40, 4);
    putLe(out, 40, 4);  // BITMAPINFOHEADER
    putLe(out, c.width(), 4);
    putLe(out, c.height(), 4);  // positive: rows bottom-up
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);  // BI_RGB
    putLe(out, imageSize, 4);
    putLe(out, 2835, 4);  // 72 dpi
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = c.height() - 1; y >= 0; --y) {
        std::size_t start = out.size();
        for (int x = 0; x < c.width(); ++x) {
            Rgb p = c.at(x, y);
            out.push_back(static_cast<char>(p & 0xFF));
            out.push_back(static_cast<char>((p >> 8) & 0xFF));
            out.push_back(static_cast<char>((p >> 16) & 0xFF));
        }
        out.append(rowBytes - (out.size() - start), '\0');
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: nd_make_bitmaps OUTPUT_DIR\n";
        return 2;
    }
    const std::string dir = argv[1];

    // The insert-link dialog shows this one in a plain picture control, which
    // knows no transparent colour: square corners, so no grey shows.
    Canvas icon(16, 16);
    icon.fill(0, 0, 16, 16, kFeedEdge);
    drawFeedBadge(icon, 0, 0, 16);

    Canvas navi(128, 32);
    drawNewFile(navi, 0);
    drawOpenFolder(navi, 32);
    drawLinkHelp(navi, 64);
    drawPodcast(navi, 96);

    if (!writeBmp(icon, dir + "/rss_icon.bmp") || !writeBmp(navi, dir + "/navi_icons.bmp")) {
        std::cerr << "nd_make_bitmaps: cannot write to " << dir << "\n";
        return 1;
    }
    return 0;
}
