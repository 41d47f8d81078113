#include "win32/DialogTemplate.h"

#include "win32/CommCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nd::win32 {
namespace {

class Reader {
  public:
    Reader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }
    size_t pos() const { return m_pos; }

    template <typename T>
    T read() {
        T v{};
        if (m_pos + sizeof(T) > m_size) {
            m_ok = false;
            m_pos = m_size;
            return v;
        }
        std::memcpy(&v, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return v;
    }

    std::u16string readString() {
        std::u16string s;
        for (;;) {
            if (!m_ok) {
                return s;
            }
            char16_t c = read<char16_t>();
            if (!m_ok || c == 0) {
                return s;
            }
            s += c;
        }
    }

    NameOrOrdinal readNameOrOrdinal() {
        NameOrOrdinal n;
        char16_t first = read<char16_t>();
        if (first == 0) {
            return n;
        }
        if (first == 0xFFFF) {
            n.isOrdinal = true;
            n.ordinal = read<WORD>();
            return n;
        }
        n.text = std::u16string(1, first) + readString();
        return n;
    }

    void bytes(std::vector<BYTE>& out, size_t n) {
        if (m_pos + n > m_size) {
            m_ok = false;
            return;
        }
        out.assign(m_data + m_pos, m_data + m_pos + n);
        m_pos += n;
    }

    void alignDword() { m_pos = (m_pos + 3) & ~size_t{3}; }

  private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

std::u16string predefinedClass(WORD atom) {
    switch (atom) {
        case 0x0080:
            return WC_BUTTON;
        case 0x0081:
            return WC_EDIT;
        case 0x0082:
            return WC_STATIC;
        case 0x0083:
            return WC_LISTBOX;
        case 0x0084:
            return u"ScrollBar";
        case 0x0085:
            return WC_COMBOBOX;
        default: {
            std::u16string digits;
            for (WORD v = atom; v > 0 || digits.empty(); v /= 10) {
                digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
            }
            return u"#" + digits;
        }
    }
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const void* data, size_t size) {
    if (!data || size < 18) {
        return std::nullopt;
    }
    Reader r(static_cast<const BYTE*>(data), size);
    DialogTemplate t;
    WORD first = r.read<WORD>();
    WORD second = r.read<WORD>();
    WORD count = 0;
    if (first == 1 && second == 0xFFFF) {
        t.extended = true;
        t.helpId = r.read<DWORD>();
        t.exStyle = r.read<DWORD>();
        t.style = r.read<DWORD>();
    } else {
        t.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
        t.exStyle = r.read<DWORD>();
    }
    count = r.read<WORD>();
    t.x = r.read<short>();
    t.y = r.read<short>();
    t.cx = r.read<short>();
    t.cy = r.read<short>();
    t.menu = r.readNameOrOrdinal();
    t.windowClass = r.readNameOrOrdinal();
    t.title = r.readString();
    if (t.style & (DS_SETFONT | DS_FIXEDSYS)) {
        t.hasFont = true;
        t.pointSize = r.read<WORD>();
        if (t.extended) {
            t.weight = r.read<WORD>();
            t.italic = r.read<BYTE>();
            t.charset = r.read<BYTE>();
        }
        t.typeface = r.readString();
    }
    if (!r.ok()) {
        return std::nullopt;
    }
    // Each item takes at least 18 bytes; a count the data cannot hold is corrupt.
    if (static_cast<size_t>(count) * 18 > size) {
        return std::nullopt;
    }
    for (WORD i = 0; i < count; ++i) {
        r.alignDword();
        DialogItemTemplate item;
        if (t.extended) {
            item.helpId = r.read<DWORD>();
            item.exStyle = r.read<DWORD>();
            item.style = r.read<DWORD>();
        } else {
            item.style = r.read<DWORD>();
            item.exStyle = r.read<DWORD>();
        }
        item.x = r.read<short>();
        item.y = r.read<short>();
        item.cx = r.read<short>();
        item.cy = r.read<short>();
        item.id = t.extended ? r.read<DWORD>() : r.read<WORD>();
        NameOrOrdinal cls = r.readNameOrOrdinal();
        item.className = cls.isOrdinal ? predefinedClass(cls.ordinal) : cls.text;
        item.title = r.readNameOrOrdinal();
        WORD extra = r.read<WORD>();
        if (extra > 0) {
            // In the old form the count includes the count word itself.
            size_t n = t.extended ? extra : (extra >= 2 ? extra - 2u : 0u);
            r.bytes(item.creationData, n);
        }
        if (!r.ok()) {
            return std::nullopt;
        }
        t.items.push_back(std::move(item));
    }
    return t;
}

BaseUnits baseUnitsFor(const DialogTemplate& dialog) {
    // Character cell of the dialog font at 96 dots per inch: the height is the
    // point size in pixels plus a fifth for leading, the average width six
    // thirteenths of that (8 pt gives the familiar 6 x 13).
    int points = dialog.hasFont && dialog.pointSize > 0 ? dialog.pointSize : 8;
    int height = static_cast<int>(std::lround(points * 96.0 / 72.0 * 1.2));
    BaseUnits u;
    u.y = height;
    u.x = std::max(1, (height * 6 + 6) / 13);
    return u;
}

}  // namespace nd::win32
