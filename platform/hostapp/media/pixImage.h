// The application's picture: a GIF, PNG, JPEG or BMP file decoded into
// pixels (the first frame of an animated GIF).
#pragma once

#include "mfc/CString.h"

#include <cstdint>
#include <string>
#include <vector>

class pixImage {
  public:
    enum class Kind { None, Gif, Png, Jpeg, Bmp };

    // Pictures larger than this many pixels are refused rather than decoded.
    static constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

    // The progress monitor the application would show while decoding; this
    // decoder reports no progress, so any monitor (or none) is accepted.
    void set_monitor(void* monitor) { m_monitor = monitor; }

    // Decode the file at a Windows path, or bytes in memory. false, leaving
    // the picture empty, for a missing file, another format, a damaged
    // picture or one above kMaxPixels.
    bool read(const CString& path);
    bool read(const unsigned char* bytes, int length);

    // The format the bytes start like; None for anything else.
    static Kind kindOf(const unsigned char* bytes, std::size_t length);

    bool isLoaded() const { return !m_pixels.empty(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int channels() const { return m_channels; }  // 1 grey .. 4 RGBA
    Kind kind() const { return m_kind; }
    const std::vector<unsigned char>& pixels() const { return m_pixels; }

    // The picture as PNG bytes; empty when nothing is loaded.
    std::string toPng() const;

  private:
    void* m_monitor = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_channels = 0;
    Kind m_kind = Kind::None;
    std::vector<unsigned char> m_pixels;
};
