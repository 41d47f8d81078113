#include "hostapp/feedxml/ItemByItemComparison.h"

#include "hostapp/feedxml/XmlFile.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

namespace lum::xml {

// Gathers what the element writer hands over, as a save keeps it.
class ItemByItemComparison::Sink : public SavedBytesSink {
  public:
    Sink(std::string& bytes, bool dropping) : SavedBytesSink(dropping), m_bytes(bytes) {}
    // An item ends on a line end: nothing is held back from one item to the
    // next, but what the dropper held goes with the item.
    bool endOfItem() { return takeHeld(); }

  private:
    bool takeSaved(std::string_view bytes) override {
        m_bytes.append(bytes);
        return true;
    }

    std::string& m_bytes;
};

// The file's bytes, read a window at a time: they are compared in order
// but for the search for the first item. Read, not mapped: a file cut
// short meanwhile by another program reads short, where a mapping would
// kill the process.
class ItemByItemComparison::StoredFile {
  public:
    explicit StoredFile(int fd, std::size_t size) : m_fd(fd), m_size(size) {}
    ~StoredFile() { ::close(m_fd); }
    StoredFile(const StoredFile&) = delete;
    StoredFile& operator=(const StoredFile&) = delete;

    std::size_t size() const { return m_size; }

    // Whether the file holds bytes at offset at.
    bool holds(std::size_t at, std::string_view bytes) {
        if (at > m_size || m_size - at < bytes.size()) {
            return false;
        }
        if (at < m_from || at + bytes.size() > m_from + m_window.size()) {
            if (!load(at, std::max(kWindow, bytes.size()))) {
                return false;
            }
        }
        return std::memcmp(m_window.data() + (at - m_from), bytes.data(), bytes.size()) == 0;
    }

    // Where the file first holds bytes; npos when nowhere.
    std::size_t find(std::string_view bytes) {
        std::size_t window = std::max(kWindow, 2 * bytes.size());
        for (std::size_t at = 0; at < m_size && m_size - at >= bytes.size();
             at += window - bytes.size() + 1) {
            if (!load(at, window)) {
                break;
            }
            if (const void* found =
                    ::memmem(m_window.data(), m_window.size(), bytes.data(), bytes.size())) {
                return at +
                       static_cast<std::size_t>(static_cast<const char*>(found) - m_window.data());
            }
        }
        return std::string_view::npos;
    }

    // Whether the file ends at its size, as it did when opened.
    bool endsAtItsSize() {
        char byte = 0;
        return ::pread(m_fd, &byte, 1, static_cast<off_t>(m_size)) == 0;
    }

  private:
    static constexpr std::size_t kWindow = std::size_t{1} << 20;

    // The window from offset at, as much of size as the file holds.
    bool load(std::size_t at, std::size_t size) {
        size = std::min(size, m_size - at);
        m_window.resize(size);
        std::size_t got = 0;
        while (got < size) {
            ssize_t n =
                ::pread(m_fd, m_window.data() + got, size - got, static_cast<off_t>(at + got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                m_window.clear();
                m_from = 0;
                return false;
            }
            got += static_cast<std::size_t>(n);
        }
        m_from = at;
        return true;
    }

    int m_fd;
    std::size_t m_size;
    std::vector<char> m_window;
    std::size_t m_from = 0;
};

namespace {

// Compares the bytes of a document whose items were taken with the file:
// those before the mark with the file's start, those after it with what
// follows the items. The mark must fall where the items started.
class GapComparingSink : public SavedBytesSink {
  public:
    // Without dropping, the bytes are compared as they come (the tree had
    // the characters XML cannot carry taken out already).
    GapComparingSink(ItemByItemComparison::StoredFile& file, std::size_t start, std::size_t end,
                     bool dropping)
        : SavedBytesSink(dropping), m_file(file), m_start(start), m_end(end) {}

    bool mark() override {
        if (!takeHeld()) {
            return false;
        }
        if (m_marked || m_at != m_start) {
            // Where the items were found is not where they go: nothing is
            // known of the file.
            m_misplaced = true;
            return false;
        }
        m_marked = true;
        m_at = m_end;
        return true;
    }

    // After the last block.
    bool sameToTheEnd() { return takeHeld() && m_at == m_file.size() && m_file.endsAtItsSize(); }

    bool marked() const { return m_marked; }
    bool misplaced() const { return m_misplaced; }

  private:
    bool takeSaved(std::string_view bytes) override {
        if (!m_file.holds(m_at, bytes)) {
            return false;
        }
        m_at += bytes.size();
        return true;
    }

    ItemByItemComparison::StoredFile& m_file;
    std::size_t m_start;
    std::size_t m_end;
    std::size_t m_at = 0;
    bool m_marked = false;
    bool m_misplaced = false;
};

// How many elements stand above node.
int depthOf(const xmlNode* node) {
    int depth = 0;
    for (const xmlNode* p = node->parent; p != nullptr && p->type == XML_ELEMENT_NODE;
         p = p->parent) {
        ++depth;
    }
    return depth;
}

// Whether the children of element and of every element above it go on
// lines of their own: none holds text. Then the writer marks where the
// items went, and every byte before the mark is one the whole document
// would have there too.
bool indentsChildren(const xmlNode* element) {
    for (const xmlNode* p = element; p != nullptr && p->type == XML_ELEMENT_NODE; p = p->parent) {
        for (const xmlNode* c = p->children; c != nullptr; c = c->next) {
            if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE ||
                c->type == XML_ENTITY_REF_NODE) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

ItemByItemComparison::ItemByItemComparison(const CString& windowsPath, const CString& encoding)
    : m_path(windowsPath), m_encoding(encoding) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    m_declared = plainUtf8Output(encoding);
    if (!native || native->empty() || m_declared.empty()) {
        return;
    }
    int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        ::close(fd);
        return;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_file = std::make_unique<StoredFile>(fd, static_cast<std::size_t>(info.st_size));
    m_sink = std::make_unique<Sink>(m_bytes, m_declared == "UTF-8");
    m_elements = std::make_unique<IndentedUtf8Elements>(*m_sink);
    m_taking = true;
}

ItemByItemComparison::~ItemByItemComparison() = default;

bool ItemByItemComparison::itemBytes(xmlNode* item) {
    m_bytes.clear();
    bool dropsBytes = m_declared == "UTF-8";
    if (!dropsBytes) {
        dropNonXmlCharsInTree(item);
    }
    return m_elements->write(item, depthOf(item)) == IndentedUtf8::Written && m_sink->endOfItem();
}

bool ItemByItemComparison::take(xmlNode* item) {
    if (!m_taking) {
        return false;
    }
    m_taking = false;
    if (item == nullptr || item->parent == nullptr || item->next != nullptr ||
        (m_taken > 0 && (item->parent != m_parent || item->prev != m_before)) || !itemBytes(item)) {
        m_failed = true;
        return false;
    }
    if (m_taken == 0) {
        // Where the file holds the first item; the rest of the document,
        // compared at the end, shows whether that is where it belongs.
        std::size_t found = m_file->find(m_bytes);
        if (found == std::string_view::npos) {
            m_failed = true;
            return false;
        }
        m_parent = item->parent;
        m_before = item->prev;
        m_depth = depthOf(item);
        m_start = found;
        m_end = found;
    } else if (!m_file->holds(m_end, m_bytes)) {
        m_failed = true;
        return false;
    }
    m_end += m_bytes.size();
    m_uses.note(item);
    xmlUnlinkNode(item);
    xmlFreeNode(item);
    ++m_taken;
    m_taking = true;
    return true;
}

std::optional<bool> ItemByItemComparison::same(xmlDoc* doc) {
    if (m_failed || doc == nullptr) {
        return std::nullopt;
    }
    if (m_taken == 0) {
        // Nothing was taken: the document is whole.
        return savesSameBytes(doc, m_path, m_encoding);
    }
    // The items' place must still be after the child that stood before
    // them, as deep, with their parent's children indented.
    if (m_before == nullptr || m_parent->last != m_before || depthOf(m_before) != m_depth ||
        !indentsChildren(m_parent)) {
        return std::nullopt;
    }
    bool dropsBytes = m_declared == "UTF-8";
    if (!dropsBytes) {
        dropNonXmlCharsInTree(doc->children);
    }
    GapComparingSink sink(*m_file, m_start, m_end, dropsBytes);
    switch (writeIndentedUtf8(doc, sink, m_declared.c_str(), m_parent)) {
        case IndentedUtf8::Written:
            if (!sink.marked()) {
                return std::nullopt;
            }
            return sink.sameToTheEnd();
        case IndentedUtf8::Stopped:
            // Before the mark the document's bytes are the save's; after a
            // mark in its place, they follow the items.
            return sink.misplaced() ? std::nullopt : std::optional<bool>(false);
        case IndentedUtf8::NotOurs:
            break;
    }
    return std::nullopt;
}

}  // namespace lum::xml
