#include "hostapp/media/pixImage.h"

#include "win32/PathMapping.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

pixImage::Kind pixImage::kindOf(const unsigned char* bytes, std::size_t length) {
    auto startsWith = [&](const char* magic, std::size_t n) {
        return length >= n && std::memcmp(bytes, magic, n) == 0;
    };
    if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6)) {
        return Kind::Gif;
    }
    if (startsWith("\x89PNG\r\n\x1a\n", 8)) {
        return Kind::Png;
    }
    if (startsWith("\xff\xd8\xff", 3)) {
        return Kind::Jpeg;
    }
    if (startsWith("BM", 2) && length >= 26) {
        return Kind::Bmp;
    }
    return Kind::None;
}

bool pixImage::read(const CString& path) {
    auto native = nd::win32::toNativePath(path.view());
    std::error_code ec;
    if (!native || !std::filesystem::is_regular_file(*native, ec)) {
        *this = pixImage();
        return false;
    }
    auto size = std::filesystem::file_size(*native, ec);
    if (ec || size == 0 || size > static_cast<std::uintmax_t>(INT_MAX)) {
        *this = pixImage();
        return false;
    }
    std::vector<unsigned char> bytes(size);
    std::ifstream in(*native, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        *this = pixImage();
        return false;
    }
    return read(bytes.data(), static_cast<int>(size));
}

bool pixImage::read(const unsigned char* bytes, int length) {
    void* monitor = m_monitor;
    *this = pixImage();
    m_monitor = monitor;
    if (bytes == nullptr || length <= 0) {
        return false;
    }
    Kind kind = kindOf(bytes, static_cast<std::size_t>(length));
    int width = 0;
    int height = 0;
    int channels = 0;
    // The header is checked before decoding so that a picture claiming huge
    // dimensions is refused without allocating for it.
    if (kind == Kind::None || !stbi_info_from_memory(bytes, length, &width, &height, &channels) ||
        width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels) {
        return false;
    }
    std::unique_ptr<unsigned char, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(bytes, length, &width, &height, &channels, 0), stbi_image_free);
    if (!pixels || channels < 1 || channels > 4) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_channels = channels;
    m_kind = kind;
    m_pixels.assign(pixels.get(),
                    pixels.get() + static_cast<std::size_t>(width) * height * channels);
    return true;
}

std::string pixImage::toPng() const {
    if (!isLoaded()) {
        return std::string();
    }
    std::string png;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(size));
    };
    if (!stbi_write_png_to_func(append, &png, m_width, m_height, m_channels, m_pixels.data(),
                                m_width * m_channels)) {
        return std::string();
    }
    return png;
}
