#include "win32/Resources.h"

#include "win32/Gdi.h"
#include "win32/Loader.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct ResName {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string text;  // upper-cased, as the system compares names
};

struct Entry {
    ResName type;
    ResName name;
    WORD language = 0;
    size_t offset = 0;  // into the module's bytes
    size_t size = 0;
};

struct ModuleResources {
    std::vector<BYTE> bytes;
    std::vector<std::unique_ptr<Entry>> entries;
    // Added beside the module's own resource file rather than being it.
    bool supplement = false;
};

struct Registry {
    std::mutex lock;
    std::vector<std::pair<HMODULE, std::unique_ptr<ModuleResources>>> modules;
};

Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

std::u16string upper(std::u16string s) {
    for (auto& c : s) {
        c = static_cast<char16_t>(u_toupper(c));
    }
    return s;
}

ResName nameFrom(LPCWSTR p) {
    ResName n;
    if (IS_INTRESOURCE(p)) {
        n.isOrdinal = true;
        n.ordinal = static_cast<WORD>(reinterpret_cast<UINT_PTR>(p));
        return n;
    }
    std::u16string s(p);
    if (s.size() > 1 && s[0] == u'#') {
        unsigned v = 0;
        bool digits = true;
        for (size_t i = 1; i < s.size() && digits; ++i) {
            digits = s[i] >= u'0' && s[i] <= u'9';
            v = v * 10 + (s[i] - u'0');
        }
        if (digits && v <= 0xFFFF) {
            n.isOrdinal = true;
            n.ordinal = static_cast<WORD>(v);
            return n;
        }
    }
    n.text = upper(std::move(s));
    return n;
}

bool same(const ResName& a, const ResName& b) {
    return a.isOrdinal == b.isOrdinal && (a.isOrdinal ? a.ordinal == b.ordinal : a.text == b.text);
}

class ResReader {
  public:
    ResReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    size_t pos() const { return m_pos; }
    void seek(size_t p) {
        if (p > m_size) {
            m_ok = false;
        }
        m_pos = std::min(p, m_size);
    }
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
    ResName readName(size_t limit) {
        ResName n;
        WORD first = read<WORD>();
        if (first == 0xFFFF) {
            n.isOrdinal = true;
            n.ordinal = read<WORD>();
            return n;
        }
        std::u16string s;
        for (WORD c = first; m_ok && c != 0; c = read<WORD>()) {
            if (m_pos > limit) {
                m_ok = false;
                break;
            }
            s += static_cast<char16_t>(c);
        }
        n.text = upper(std::move(s));
        return n;
    }

  private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

std::unique_ptr<ModuleResources> parseRes(const void* data, size_t size) {
    if (!data || size < 32) {
        return nullptr;
    }
    auto mod = std::make_unique<ModuleResources>();
    mod->bytes.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    ResReader r(mod->bytes.data(), size);
    bool first = true;
    while (r.pos() < size) {
        size_t start = r.pos();
        DWORD dataSize = r.read<DWORD>();
        DWORD headerSize = r.read<DWORD>();
        if (!r.ok() || headerSize < 24 || headerSize > size - start ||
            dataSize > size - start - headerSize) {
            return nullptr;
        }
        size_t headerEnd = start + headerSize;
        ResName type = r.readName(headerEnd);
        ResName name = r.readName(headerEnd);
        r.seek((r.pos() + 3) & ~size_t{3});
        r.read<DWORD>();  // data version
        r.read<WORD>();   // memory flags
        WORD language = r.read<WORD>();
        if (!r.ok() || r.pos() + 8 > headerEnd) {
            return nullptr;
        }
        if (first) {
            // The file starts with an empty entry that marks the 32-bit format.
            if (dataSize != 0 || !type.isOrdinal || type.ordinal != 0) {
                return nullptr;
            }
            first = false;
        } else {
            auto e = std::make_unique<Entry>();
            e->type = std::move(type);
            e->name = std::move(name);
            e->language = language;
            e->offset = headerEnd;
            e->size = dataSize;
            mod->entries.push_back(std::move(e));
        }
        size_t next = (headerEnd + dataSize + 3) & ~size_t{3};
        if (next >= size) {
            break;
        }
        r.seek(next);
    }
    return first ? nullptr : std::move(mod);
}

Entry* findIn(ModuleResources& m, const ResName& name, const ResName& type) {
    for (auto& e : m.entries) {
        if (same(e->type, type) && same(e->name, name)) {
            return e.get();
        }
    }
    return nullptr;
}

// The module holding an entry, for pointers handed out earlier.
ModuleResources* ownerOf(const Entry* entry) {
    for (auto& [h, m] : registry().modules) {
        for (auto& e : m->entries) {
            if (e.get() == entry) {
                return m.get();
            }
        }
    }
    return nullptr;
}

}  // namespace

namespace nd::win32 {

bool registerModuleResources(HMODULE module, const void* data, size_t size) {
    auto parsed = parseRes(data, size);
    if (!module || !parsed) {
        return false;
    }
    std::lock_guard guard(registry().lock);
    for (auto& [h, m] : registry().modules) {
        if (h == module && !m->supplement) {
            m = std::move(parsed);
            return true;
        }
    }
    registry().modules.emplace_back(module, std::move(parsed));
    return true;
}

bool addModuleResources(HMODULE module, const void* data, size_t size) {
    auto parsed = parseRes(data, size);
    if (!module || !parsed) {
        return false;
    }
    parsed->supplement = true;
    std::lock_guard guard(registry().lock);
    for (auto& [h, m] : registry().modules) {
        if (h == module && m->supplement && m->bytes == parsed->bytes) {
            return true;
        }
    }
    registry().modules.emplace_back(module, std::move(parsed));
    return true;
}

void unregisterModuleResources(HMODULE module) {
    std::lock_guard guard(registry().lock);
    std::erase_if(registry().modules, [&](const auto& p) { return p.first == module; });
}

bool resourceBytesAfter(const void* p, size_t& remaining) {
    std::lock_guard guard(registry().lock);
    auto* q = static_cast<const BYTE*>(p);
    for (auto& [h, m] : registry().modules) {
        for (auto& e : m->entries) {
            const BYTE* begin = m->bytes.data() + e->offset;
            if (q >= begin && q < begin + e->size) {
                remaining = static_cast<size_t>(begin + e->size - q);
                return true;
            }
        }
    }
    return false;
}

}  // namespace nd::win32

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    if (!name || !type) {
        return nullptr;
    }
    if (!module) {
        module = GetModuleHandleW(nullptr);
    }
    ResName n = nameFrom(name);
    ResName t = nameFrom(type);
    std::lock_guard guard(registry().lock);
    for (auto& [h, m] : registry().modules) {
        if (h != module) {
            continue;
        }
        if (Entry* e = findIn(*m, n, t)) {
            return reinterpret_cast<HRSRC>(e);
        }
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) {
        return nullptr;
    }
    std::lock_guard guard(registry().lock);
    auto* e = reinterpret_cast<Entry*>(resource);
    ModuleResources* m = ownerOf(e);
    if (!m) {
        return nullptr;
    }
    return reinterpret_cast<HGLOBAL>(m->bytes.data() + e->offset);
}

LPVOID LockResource(HGLOBAL data) {
    return reinterpret_cast<LPVOID>(data);
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (!resource) {
        return 0;
    }
    std::lock_guard guard(registry().lock);
    auto* e = reinterpret_cast<Entry*>(resource);
    return ownerOf(e) ? static_cast<DWORD>(e->size) : 0;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
    if (!buffer) {
        return 0;
    }
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
    const BYTE* block = static_cast<const BYTE*>(LockResource(LoadResource(instance, res)));
    size_t blockSize = SizeofResource(instance, res);
    const char16_t* text = nullptr;
    int length = 0;
    size_t pos = 0;
    for (UINT i = 0; block && i <= (id & 15); ++i) {
        if (pos + 2 > blockSize) {
            text = nullptr;
            length = 0;
            break;
        }
        WORD n = 0;
        std::memcpy(&n, block + pos, 2);
        pos += 2;
        if (pos + size_t{n} * 2 > blockSize) {
            text = nullptr;
            length = 0;
            break;
        }
        text = reinterpret_cast<const char16_t*>(block + pos);
        length = n;
        pos += size_t{n} * 2;
    }
    if (!text || length == 0) {
        if (size > 0) {
            buffer[0] = 0;
        }
        return 0;
    }
    if (size == 0) {
        // The caller receives the resource's own text.
        std::memcpy(buffer, &text, sizeof text);
        return length;
    }
    int n = std::min(length, size - 1);
    std::memcpy(buffer, text, static_cast<size_t>(n) * 2);
    buffer[n] = 0;
    return n;
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (!name) {
        return nullptr;
    }
    HRSRC res = FindResourceW(instance, name, RT_BITMAP);
    const void* data = LockResource(LoadResource(instance, res));
    if (!data) {
        return nullptr;
    }
    auto bitmap = nd::win32::decodeDib(data, SizeofResource(instance, res));
    return bitmap ? nd::win32::createBitmap(std::move(*bitmap)) : nullptr;
}
