// Build tool: draws the host program's pictures, our own drawings: the four
// backgrounds of the beginner-style buttons (greys that the program colours
// at run time; magenta where the picture has no pixel) and the
// application's icon.
//
//   nd_make_host_art OUTPUT_DIR   writes begi_pressed.bmp, begi_hot.bmp,
//                                 begi_marked.bmp, begi_normal.bmp, app.ico
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Rgb = std::uint32_t;  // 0xRRGGBB

constexpr Rgb kHole = 0xFF00FF;
constexpr int kButtonSide = 24;
constexpr double kCorner = 5.0;

Rgb grey(int level) {
    auto v = static_cast<Rgb>(level < 0 ? 0 : level > 255 ? 255 : level);
    return (v << 16) | (v << 8) | v;
}

struct Picture {
    int width;
    int height;
    std::vector<Rgb> pixels;
    Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(w * h, fill) {}
    Rgb& at(int x, int y) { return pixels[y * width + x]; }
    Rgb at(int x, int y) const { return pixels[y * width + x]; }
};

// Distance of a pixel centre outside the rounded square (<= 0 inside).
double outside(int x, int y, int side, double r) {
    double px = x + 0.5;
    double py = y + 0.5;
    double cx = px < r ? r : px > side - r ? side - r : px;
    double cy = py < r ? r : py > side - r ? side - r : py;
    return std::hypot(px - cx, py - cy) - r;
}

// A rounded button face: `top` and `bottom` are the grey levels of a
// vertical gradient, `border` the outline's, `rim` how many pixels thick.
Picture buttonFace(int top, int bottom, int border, int rim, bool highlight) {
    Picture p(kButtonSide, kButtonSide, kHole);
    for (int y = 0; y < kButtonSide; ++y) {
        for (int x = 0; x < kButtonSide; ++x) {
            double d = outside(x, y, kButtonSide, kCorner);
            if (d > 0) {
                continue;
            }
            bool onRim =
                d > -rim || x < rim || y < rim || x >= kButtonSide - rim || y >= kButtonSide - rim;
            if (onRim) {
                p.at(x, y) = grey(border);
                continue;
            }
            int level = top + (bottom - top) * y / (kButtonSide - 1);
            if (highlight && y == rim) {
                level = 255;
            }
            p.at(x, y) = grey(level);
        }
    }
    return p;
}

// The icon: a sheet of paper with the feed's waves in orange.
Picture appIcon(int side) {
    Picture p(side, side, 0);
    double s = side / 32.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            double px = (x + 0.5) / s;
            double py = (y + 0.5) / s;
            bool paper = px >= 5 && px <= 27 && py >= 2 && py <= 30;
            if (!paper) {
                continue;
            }
            Rgb c = 0xFAFAF5;
            if (px < 6 || px > 26 || py < 3 || py > 29) {
                c = 0x5A6470;
            }
            double d = std::hypot(px - 9, py - 25);
            if (d <= 2.2 || (d >= 7 && d <= 9.5) || (d >= 12.5 && d <= 15)) {
                if (px >= 7 && py <= 27) {
                    c = 0xF07A1A;
                }
            }
            p.at(x, y) = 0xFF000000u | c;
        }
    }
    return p;
}

void putLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool writeBmp(const Picture& p, const std::string& path) {
    const int rowBytes = (p.width * 3 + 3) & ~3;
    const std::uint32_t imageSize = rowBytes * p.height;
    std::string out = "BM";
    putLe(out, 14 + 40 + imageSize, 4);
    putLe(out, 0, 4);
    putLe(out, 14 + 40, 4);
    putLe(out, 40, 4);
    putLe(out, p.width, 4);
    putLe(out, p.height, 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, imageSize, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        std::size_t start = out.size();
        for (int x = 0; x < p.width; ++x) {
            Rgb c = p.at(x, y);
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>((c >> 8) & 0xFF));
            out.push_back(static_cast<char>((c >> 16) & 0xFF));
        }
        out.append(rowBytes - (out.size() - start), '\0');
    }
    return writeFile(path, out);
}

// One 32-bit image of an icon file: header with the doubled height, colour
// rows bottom-up (alpha in the high byte), then the 1-bit mask.
std::string iconImage(const Picture& p) {
    std::string out;
    putLe(out, 40, 4);
    putLe(out, p.width, 4);
    putLe(out, p.height * 2, 4);
    putLe(out, 1, 2);
    putLe(out, 32, 2);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            putLe(out, p.at(x, y), 4);
        }
    }
    const int maskRow = ((p.width + 31) / 32) * 4;
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(maskRow, '\0');
        for (int x = 0; x < p.width; ++x) {
            if ((p.at(x, y) >> 24) == 0) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

bool writeIco(const std::vector<Picture>& images, const std::string& path) {
    std::string out;
    putLe(out, 0, 2);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(images.size()), 2);
    std::vector<std::string> bodies;
    for (const auto& p : images) {
        bodies.push_back(iconImage(p));
    }
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<char>(images[i].width));
        out.push_back(static_cast<char>(images[i].height));
        putLe(out, 0, 2);
        putLe(out, 1, 2);
        putLe(out, 32, 2);
        putLe(out, static_cast<std::uint32_t>(bodies[i].size()), 4);
        putLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& b : bodies) {
        out += b;
    }
    return writeFile(path, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: nd_make_host_art OUTPUT_DIR\n";
        return 2;
    }
    std::string dir = argv[1];
    bool ok = writeBmp(buttonFace(190, 150, 70, 1, false), dir + "/begi_pressed.bmp") &&
              writeBmp(buttonFace(255, 225, 90, 1, true), dir + "/begi_hot.bmp") &&
              writeBmp(buttonFace(250, 215, 60, 2, true), dir + "/begi_marked.bmp") &&
              writeBmp(buttonFace(245, 215, 120, 1, true), dir + "/begi_normal.bmp") &&
              writeIco({appIcon(32), appIcon(16)}, dir + "/app.ico");
    if (!ok) {
        std::cerr << "nd_make_host_art: cannot write to " << dir << "\n";
        return 1;
    }
    return 0;
}
