#include "ResFile.h"

namespace restest {

namespace {

constexpr std::uint16_t kRtString = 6;

class Reader {
  public:
    explicit Reader(std::span<const std::byte> data) : data_(data) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }

    std::uint32_t read(std::size_t bytes) {
        if (!ok_ || data_.size() - pos_ < bytes) {
            ok_ = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= std::to_integer<std::uint32_t>(data_[pos_ + i]) << (8 * i);
        }
        pos_ += bytes;
        return value;
    }
    std::uint16_t word() { return static_cast<std::uint16_t>(read(2)); }
    std::uint32_t dword() { return read(4); }
    int shortValue() { return static_cast<std::int16_t>(word()); }

    std::u16string string() {
        std::u16string s;
        while (ok_) {
            char16_t c = word();
            if (c == 0) {
                break;
            }
            s.push_back(c);
        }
        return s;
    }
    NameOrId nameOrId() {
        NameOrId n;
        if (!ok_ || data_.size() - pos_ < 2) {
            ok_ = false;
            return n;
        }
        if (std::to_integer<int>(data_[pos_]) == 0xFF &&
            std::to_integer<int>(data_[pos_ + 1]) == 0xFF) {
            word();
            n.isId = true;
            n.id = word();
        } else {
            n.name = string();
        }
        return n;
    }
    void align(std::size_t to) {
        pos_ = (pos_ + to - 1) / to * to;
        if (pos_ > data_.size()) {
            ok_ = false;
        }
    }
    std::span<const std::byte> take(std::size_t bytes) {
        if (!ok_ || data_.size() - pos_ < bytes) {
            ok_ = false;
            return {};
        }
        auto s = data_.subspan(pos_, bytes);
        pos_ += bytes;
        return s;
    }

  private:
    std::span<const std::byte> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

std::optional<std::vector<ResEntry>> parseResFile(std::span<const std::byte> file) {
    std::vector<ResEntry> entries;
    Reader r(file);
    bool first = true;
    while (!r.atEnd()) {
        std::size_t start = r.offset();
        std::uint32_t dataSize = r.dword();
        std::uint32_t headerSize = r.dword();
        ResEntry e;
        e.type = r.nameOrId();
        e.name = r.nameOrId();
        r.align(4);
        r.dword();  // data version
        r.word();   // memory flags
        e.language = r.word();
        r.dword();  // version
        r.dword();  // characteristics
        if (!r.ok() || r.offset() - start != headerSize) {
            return std::nullopt;
        }
        e.data = r.take(dataSize);
        r.align(4);
        if (!r.ok()) {
            return std::nullopt;
        }
        // The file opens with an empty entry that marks the 32-bit format.
        if (first && dataSize == 0 && e.type.isId && e.type.id == 0) {
            first = false;
            continue;
        }
        first = false;
        entries.push_back(std::move(e));
    }
    return entries;
}

const ResEntry* findResource(const std::vector<ResEntry>& entries, std::uint16_t type,
                             std::uint16_t id) {
    for (const auto& e : entries) {
        if (e.type.isId && e.type.id == type && e.name.isId && e.name.id == id) {
            return &e;
        }
    }
    return nullptr;
}

std::optional<DialogTemplate> parseDialogEx(std::span<const std::byte> data) {
    Reader r(data);
    DialogTemplate d;
    if (r.word() != 1 || r.word() != 0xFFFF) {
        return std::nullopt;
    }
    r.dword();  // help id
    d.exStyle = r.dword();
    d.style = r.dword();
    int count = r.word();
    r.shortValue();
    r.shortValue();
    d.cx = r.shortValue();
    d.cy = r.shortValue();
    r.nameOrId();  // menu
    r.nameOrId();  // class
    d.caption = r.string();
    constexpr std::uint32_t kDsSetFont = 0x40;
    if (d.style & kDsSetFont) {
        d.pointSize = r.word();
        r.word();   // weight
        r.read(1);  // italic
        r.read(1);  // charset
        d.typeface = r.string();
    }
    for (int i = 0; i < count && r.ok(); ++i) {
        r.align(4);
        DialogItem item;
        r.dword();  // help id
        item.exStyle = r.dword();
        item.style = r.dword();
        item.x = r.shortValue();
        item.y = r.shortValue();
        item.cx = r.shortValue();
        item.cy = r.shortValue();
        item.id = static_cast<std::int32_t>(r.dword());
        item.windowClass = r.nameOrId();
        item.text = r.nameOrId();
        r.take(r.word());  // creation data
        d.items.push_back(std::move(item));
    }
    if (!r.ok()) {
        return std::nullopt;
    }
    return d;
}

std::optional<std::u16string> findString(const std::vector<ResEntry>& entries, std::uint16_t id) {
    const ResEntry* block =
        findResource(entries, kRtString, static_cast<std::uint16_t>(id / 16 + 1));
    if (block == nullptr) {
        return std::nullopt;
    }
    Reader r(block->data);
    for (int i = 0; i < 16 && r.ok(); ++i) {
        std::uint16_t length = r.word();
        auto chars = r.take(std::size_t{length} * 2);
        if (!r.ok()) {
            return std::nullopt;
        }
        if (i == id % 16) {
            if (length == 0) {
                return std::nullopt;
            }
            std::u16string s;
            Reader cr(chars);
            for (int k = 0; k < length; ++k) {
                s.push_back(cr.word());
            }
            return s;
        }
    }
    return std::nullopt;
}

std::optional<BitmapInfo> parseBitmap(std::span<const std::byte> data) {
    Reader r(data);
    std::uint32_t headerSize = r.dword();
    BitmapInfo b;
    b.width = static_cast<std::int32_t>(r.dword());
    b.height = static_cast<std::int32_t>(r.dword());
    r.word();  // planes
    b.bitCount = r.word();
    b.compression = r.dword();
    r.dword();  // image size
    r.dword();
    r.dword();
    std::uint32_t colorsUsed = r.dword();
    if (!r.ok() || headerSize < 40 || headerSize > data.size()) {
        return std::nullopt;
    }
    std::size_t palette = b.bitCount <= 8 ? (colorsUsed ? colorsUsed : 1u << b.bitCount) * 4 : 0;
    std::size_t offset = headerSize + palette;
    if (offset > data.size()) {
        return std::nullopt;
    }
    b.bits = data.subspan(offset);
    return b;
}

std::u16string className(const NameOrId& windowClass) {
    if (!windowClass.isId) {
        return windowClass.name;
    }
    switch (windowClass.id) {
        case 0x80:
            return u"Button";
        case 0x81:
            return u"Edit";
        case 0x82:
            return u"Static";
        case 0x83:
            return u"ListBox";
        case 0x84:
            return u"ScrollBar";
        case 0x85:
            return u"ComboBox";
        default:
            return u"?";
    }
}

}  // namespace restest
