#include "hostapp/feedxml/ItemByItemComparison.h"

#include "hostapp/feedxml/XmlFile.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

namespace lum::xml {

// Gathers what the element writer hands over.
class ItemByItemComparison::Sink : public ByteSink {
  public:
    explicit Sink(std::string& bytes) : m_bytes(bytes) {}
    bool take(const char* data, std::size_t size) override {
        m_bytes.append(data, size);
        return true;
    }

  private:
    std::string& m_bytes;
};

namespace {

// Compares the bytes of a document whose items were taken with the file:
// those before the mark with the file's start, those after it with what
// follows the items. The mark must fall where the items started.
class GapComparingSink : public ByteSink {
  public:
    // Without dropping, the bytes are compared as they come (the tree had
    // the characters XML cannot carry taken out already).
    GapComparingSink(std::string_view file, std::size_t start, std::size_t end, bool dropping)
        : m_file(file), m_start(start), m_end(end), m_dropping(dropping) {}

    bool take(const char* data, std::size_t size) override {
        std::string_view block(data, size);
        if (!m_dropping || m_dropper.passes(block)) {
            return matches(block);
        }
        m_kept.clear();
        m_dropper.take(block, m_kept);
        return matches(m_kept);
    }

    bool mark() override {
        m_kept.clear();
        m_dropper.finish(m_kept);
        if (!matches(m_kept)) {
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
    bool sameToTheEnd() {
        m_kept.clear();
        m_dropper.finish(m_kept);
        return matches(m_kept) && m_at == m_file.size();
    }

    bool marked() const { return m_marked; }
    bool misplaced() const { return m_misplaced; }

  private:
    bool matches(std::string_view bytes) {
        if (m_file.size() - m_at < bytes.size() ||
            std::memcmp(m_file.data() + m_at, bytes.data(), bytes.size()) != 0) {
            return false;
        }
        m_at += bytes.size();
        return true;
    }

    std::string_view m_file;
    std::size_t m_start;
    std::size_t m_end;
    bool m_dropping;
    std::size_t m_at = 0;
    bool m_marked = false;
    bool m_misplaced = false;
    NonXmlCharDropper m_dropper;
    std::string m_kept;
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
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        void* mapped =
            ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            m_file = static_cast<const char*>(mapped);
            m_size = static_cast<std::size_t>(info.st_size);
            ::madvise(mapped, m_size, MADV_SEQUENTIAL);
        }
    }
    ::close(fd);
    if (m_file == nullptr) {
        return;
    }
    m_sink = std::make_unique<Sink>(m_bytes);
    m_elements = std::make_unique<IndentedUtf8Elements>(*m_sink);
    m_taking = true;
}

ItemByItemComparison::~ItemByItemComparison() {
    if (m_file != nullptr) {
        ::munmap(const_cast<char*>(m_file), m_size);
    }
}

bool ItemByItemComparison::itemBytes(xmlNode* item) {
    m_bytes.clear();
    bool dropsBytes = m_declared == "UTF-8";
    if (!dropsBytes) {
        dropNonXmlCharsInTree(item);
    }
    if (m_elements->write(item, depthOf(item)) != IndentedUtf8::Written) {
        return false;
    }
    // As a save drops them: an item ends on a line end, so nothing is held
    // back from one item to the next.
    if (dropsBytes && !m_dropper.passes(m_bytes)) {
        m_kept.clear();
        m_dropper.take(m_bytes, m_kept);
        m_dropper.finish(m_kept);
        m_bytes.swap(m_kept);
    }
    return true;
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
    std::string_view file(m_file, m_size);
    if (m_taken == 0) {
        // Where the file holds the first item; the rest of the document,
        // compared at the end, shows whether that is where it belongs.
        // (glibc's memmem stays linear in a large file of other bytes.)
        const void* found = ::memmem(m_file, m_size, m_bytes.data(), m_bytes.size());
        if (found == nullptr) {
            m_failed = true;
            return false;
        }
        m_parent = item->parent;
        m_before = item->prev;
        m_depth = depthOf(item);
        m_start = static_cast<std::size_t>(static_cast<const char*>(found) - m_file);
        m_end = m_start;
    } else if (file.substr(m_end, m_bytes.size()) != m_bytes) {
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
    GapComparingSink sink(std::string_view(m_file, m_size), m_start, m_end, dropsBytes);
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
