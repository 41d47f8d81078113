#include "hostapp/XmlFile.h"

#include "hostapp/AtomicFile.h"
#include "hostapp/ShiftJis.h"
#include "hostapp/XmlRepair.h"
#include "hostapp/XmlText.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlsave.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace lum::xml {

namespace {

// No NOENT: entity references stay references, so external entities are
// never fetched, and the parser still measures what internal entities would
// expand to and refuses amplification.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;

void silentError(void*, const char*, ...) {}

// What a parse reported: whether it failed, and whether a reason was an
// entity the file never declared, which a repair may answer.
struct ParseReport {
    bool undeclaredEntity = false;
};

void recordError(void* context, xmlError* error) {
    auto* report = static_cast<ParseReport*>(context);
    if (report != nullptr && error != nullptr &&
        (error->code == XML_ERR_UNDECLARED_ENTITY || error->code == XML_WAR_UNDECLARED_ENTITY)) {
        report->undeclaredEntity = true;
    }
}

// Keeps libxml2 from printing to stderr while it works for us: a file that
// cannot be read is answered by a result, never by console noise. The
// thread's own handlers come back afterwards.
class QuietErrors {
  public:
    explicit QuietErrors(ParseReport* report = nullptr)
        : m_generic(xmlGenericError),
          m_genericContext(xmlGenericErrorContext),
          m_structured(xmlStructuredError),
          m_structuredContext(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, silentError);
        xmlSetStructuredErrorFunc(report, recordError);
    }
    ~QuietErrors() {
        xmlSetGenericErrorFunc(m_genericContext, m_generic);
        xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    xmlGenericErrorFunc m_generic;
    void* m_genericContext;
    xmlStructuredErrorFunc m_structured;
    void* m_structuredContext;
};

class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

void dropNonXmlCharsInTree(xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
             node->type == XML_COMMENT_NODE) &&
            node->content != nullptr &&
            hasNonXmlChars(reinterpret_cast<const char*>(node->content))) {
            // Copied only when something goes: every node of a large feed
            // passes here, and almost none holds such a character.
            std::string text = reinterpret_cast<const char*>(node->content);
            dropNonXmlChars(text);
            xmlNodeSetContent(node, reinterpret_cast<const xmlChar*>(text.c_str()));
        }
        if (node->type == XML_ELEMENT_NODE) {
            for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                dropNonXmlCharsInTree(a->children);
            }
        }
        if (node->type != XML_ENTITY_REF_NODE) {
            dropNonXmlCharsInTree(node->children);
        }
    }
}

// Where libxml2's output goes while a document is saved: the open temporary
// file, and the first write error met.
struct FdSink {
    int fd;
    int error;
};

int writeToFd(void* context, const char* data, int length) {
    auto* sink = static_cast<FdSink*>(context);
    int left = length;
    while (left > 0) {
        ssize_t n = ::write(sink->fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            sink->error = n < 0 ? errno : EIO;
            return -1;
        }
        data += n;
        left -= static_cast<int>(n);
    }
    return length;
}

// Serialises the document in the encoding enc (through handler when given),
// indented, handing the bytes to write; false when the encoding is unknown or
// write failed.
bool serialize(xmlDoc* doc, const std::string& enc, xmlCharEncodingHandler* handler,
               xmlOutputWriteCallback write, void* context) {
    if (handler == nullptr) {
        handler = xmlFindCharEncodingHandler(enc.c_str());
    }
    if (handler == nullptr) {
        return false;
    }
    xmlOutputBuffer* out = xmlOutputBufferCreateIO(write, nullptr, context, handler);
    if (out == nullptr) {
        xmlCharEncCloseFunc(handler);
        return false;
    }
    // Closes out, flushing what is left.
    return xmlSaveFormatFileTo(out, doc, enc.c_str(), 1) >= 0;
}

// Whether a document written in the encoding parses back. Some encodings
// iconv knows spell the markup itself differently (UTF-7 writes "<" as
// "+ADw-"): a feed read from a file that declares one of them, written back
// in it, would no longer read at all.
bool writesReadableXml(const std::string& name) {
    xmlDoc* probe = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    xmlNode* root = xmlNewDocNode(probe, nullptr, reinterpret_cast<const xmlChar*>("a"),
                                  reinterpret_cast<const xmlChar*>("x"));
    xmlDocSetRootElement(probe, root);
    xmlNewProp(root, reinterpret_cast<const xmlChar*>("b"), reinterpret_cast<const xmlChar*>("c"));
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(probe, &bytes, &size, name.c_str());
    xmlFreeDoc(probe);
    bool readable = false;
    if (bytes != nullptr) {
        if (xmlDoc* back = xmlReadMemory(reinterpret_cast<const char*>(bytes), size, nullptr,
                                         nullptr, kParseOptions)) {
            xmlNode* r = xmlDocGetRootElement(back);
            xmlChar* text = r ? xmlNodeGetContent(r) : nullptr;
            xmlChar* attribute = r ? xmlGetProp(r, reinterpret_cast<const xmlChar*>("b")) : nullptr;
            readable = r != nullptr &&
                       xmlStrEqual(r->name, reinterpret_cast<const xmlChar*>("a")) &&
                       xmlStrEqual(text, reinterpret_cast<const xmlChar*>("x")) &&
                       xmlStrEqual(attribute, reinterpret_cast<const xmlChar*>("c"));
            xmlFree(text);
            xmlFree(attribute);
            xmlFreeDoc(back);
        }
        xmlFree(bytes);
    }
    return readable;
}

// The encoding to write: the given one when libxml2 and iconv know it and a
// file written in it reads back, otherwise UTF-8, which every reader accepts.
std::string outputEncoding(const CString& encoding) {
    std::string name = encoding.toUtf8();
    if (name.empty()) {
        return "UTF-8";
    }
    xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(name.c_str());
    if (handler == nullptr) {
        return "UTF-8";
    }
    xmlCharEncCloseFunc(handler);
    return writesReadableXml(name) ? name : "UTF-8";
}

// Guards against documents that are small on disk but enormous once read:
// without entity substitution the parser measures each entity only once,
// so a 200 KB entity referenced from a thousand items passes its checks and
// becomes 200 MB of text in the fields that read it. What all references
// together expand to is measured here, and the document is refused when
// that is out of all proportion to the file.
class EntityExpansion {
  public:
    // The characters the references under node stand for.
    std::uint64_t underNode(const xmlNode* node) {
        std::uint64_t total = 0;
        for (; node != nullptr && total <= kCeiling; node = node->next) {
            if (node->type == XML_ENTITY_REF_NODE) {
                total += ofEntity(reinterpret_cast<const xmlEntity*>(node->children));
                continue;
            }
            if (node->type == XML_ELEMENT_NODE) {
                for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                    total += underNode(a->children);
                }
            }
            total += underNode(node->children);
        }
        return total;
    }

    // The characters the references in an element's attributes stand for.
    std::uint64_t inAttributes(const xmlNode* element) {
        std::uint64_t total = 0;
        for (const xmlAttr* a = element->properties; a != nullptr && total <= kCeiling;
             a = a->next) {
            total += underNode(a->children);
        }
        return total;
    }

  private:
    static constexpr std::uint64_t kCeiling = std::uint64_t{1} << 40;

    // All the text of an entity's content, its own references expanded.
    std::uint64_t ofEntity(const xmlEntity* entity) {
        if (entity == nullptr || entity->type != XML_ENTITY_DECL) {
            return 0;
        }
        auto known = m_sizes.find(entity);
        if (known != m_sizes.end()) {
            return known->second;
        }
        m_sizes[entity] = 0;  // a loop, which the parser refuses anyway, counts nothing
        std::uint64_t size = 0;
        if (entity->children == nullptr) {
            size = static_cast<std::uint64_t>(std::max(entity->length, 0));
        } else {
            for (const xmlNode* c = entity->children; c != nullptr && size <= kCeiling;
                 c = c->next) {
                size += textOf(c);
            }
        }
        m_sizes[entity] = std::min(size, kCeiling);
        return m_sizes[entity];
    }

    std::uint64_t textOf(const xmlNode* node) {
        switch (node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                return node->content ? static_cast<std::uint64_t>(xmlStrlen(node->content)) : 0;
            case XML_ENTITY_REF_NODE:
                return ofEntity(reinterpret_cast<const xmlEntity*>(node->children));
            case XML_ELEMENT_NODE: {
                std::uint64_t size = 0;
                for (const xmlNode* c = node->children; c != nullptr && size <= kCeiling;
                     c = c->next) {
                    size += textOf(c);
                }
                return size;
            }
            default:
                return 0;
        }
    }

    std::unordered_map<const xmlEntity*, std::uint64_t> m_sizes;
};

// Text that entities may add to a document of this many bytes.
std::uint64_t entityBudget(std::uint64_t fileSize) {
    return (std::uint64_t{1} << 20) + 10 * fileSize;
}

bool declaresEntities(const xmlDoc* doc) {
    return (doc->intSubset != nullptr && doc->intSubset->entities != nullptr) ||
           (doc->extSubset != nullptr && doc->extSubset->entities != nullptr);
}

// libxml2 checks each attribute of a start tag against all the ones before
// it, and each attribute a DTD declares against all those declared before it
// for the same element; a file of a few megabytes can so keep the parser busy
// for hours. No feed element needs more than a handful of attributes, and no
// feed more than a small internal DTD: files beyond these are refused before
// parsing.
constexpr std::size_t kMostAttributesPerTag = 256;
constexpr std::size_t kMostDeclarationBytes = 256 * 1024;

// Counts what the limits above bound, on the bytes: enough for every encoding
// that spells the markup characters as ASCII. Zero bytes are skipped, so
// UTF-16 and UTF-32 read as ASCII here; no multi-byte encoding uses these
// characters as trailing bytes.
class MarkupCensus {
  public:
    // false as soon as the file is out of bounds.
    bool feed(unsigned char c) {
        if (c == 0) {
            return true;
        }
        unsigned char before = m_last[1];
        unsigned char twoBefore = m_last[0];
        m_last[0] = m_last[1];
        m_last[1] = c;
        switch (m_state) {
            case State::Text:
                if (c == '<') {
                    m_state = State::Markup;
                }
                break;
            case State::Markup:
                m_values = 0;
                m_state = c == '!'   ? State::Bang
                          : c == '?' ? State::Instruction
                          : c == '/' ? State::EndTag
                                     : State::Tag;
                break;
            case State::Bang:
                m_state = c == '-' ? State::Comment : c == '[' ? State::CData : State::Declaration;
                break;
            case State::Tag:
                if (c == '"' || c == '\'') {
                    m_quote = c;
                    m_state = State::TagValue;
                    if (++m_values > kMostAttributesPerTag) {
                        m_exceeded = "an element with more than 256 attributes";
                        return false;
                    }
                    return true;
                }
                if (c == '>') {
                    m_state = State::Text;
                }
                break;
            case State::TagValue:
                if (c == m_quote) {
                    m_state = State::Tag;
                }
                break;
            case State::Declaration:
                if (m_quote != 0) {
                    m_quote = c == m_quote ? 0 : m_quote;
                } else if (c == '"' || c == '\'') {
                    m_quote = c;
                } else if (c == '>') {
                    m_state = State::Text;
                }
                if (++m_declarationBytes > kMostDeclarationBytes) {
                    m_exceeded = "declarations over 256 KB";
                    return false;
                }
                return true;
            case State::Comment:
                m_state = c == '>' && before == '-' && twoBefore == '-' ? State::Text : m_state;
                break;
            case State::CData:
                m_state = c == '>' && before == ']' && twoBefore == ']' ? State::Text : m_state;
                break;
            case State::Instruction:
                m_state = c == '>' && before == '?' ? State::Text : m_state;
                break;
            case State::EndTag:
                m_state = c == '>' ? State::Text : m_state;
                break;
        }
        return true;
    }

    // Which limit the file went past; null while within them.
    const char* exceeded() const { return m_exceeded; }

  private:
    enum class State {
        Text,
        Markup,
        Bang,
        Tag,
        TagValue,
        Declaration,
        Comment,
        CData,
        Instruction,
        EndTag
    };
    State m_state = State::Text;
    unsigned char m_quote = 0;
    unsigned char m_last[2] = {0, 0};
    std::size_t m_values = 0;
    std::size_t m_declarationBytes = 0;
    const char* m_exceeded = nullptr;
};

// Whether the file is within the limits above. The file is read from its
// start and left positioned there again.
bool withinMarkupLimits(int fd, const char** exceeded = nullptr) {
    MarkupCensus census;
    char buffer[1 << 16];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < got; ++i) {
            if (!census.feed(static_cast<unsigned char>(buffer[i]))) {
                if (exceeded != nullptr) {
                    *exceeded = census.exceeded();
                }
                return false;
            }
        }
    }
    return got == 0 && ::lseek(fd, 0, SEEK_SET) == 0;
}

// The whole file from its start; false when it cannot be read.
bool readWhole(int fd, std::string& bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// What a repair makes of a file whose strict parse gave strict (null when it
// failed): the repaired document, or strict itself when no repair applies
// or the repair does not give a well-formed document either.
xmlDoc* repairedIfForgivable(int fd, xmlDoc* strict, bool undeclaredEntity, Repairs* out) {
    std::string bytes;
    if (!readWhole(fd, bytes)) {
        return strict;
    }
    bool asUtf8 = readAsUtf8Instead(bytes, strict != nullptr);
    if (!asUtf8 && !undeclaredEntity) {
        return strict;
    }
    Repairs repairs;
    xmlDoc* doc = parseRepaired(bytes, asUtf8, kParseOptions, repairs);
    if (doc == nullptr) {
        return strict;
    }
    if (strict != nullptr) {
        xmlFreeDoc(strict);
    }
    if (out != nullptr) {
        *out = repairs;
    }
    return doc;
}

}  // namespace

// A regular file opened for reading, or -1.
int openRegularFile(const CString& windowsPath) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    if (!native) {
        return -1;
    }
    struct stat st {};
    if (::stat(native->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    return ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
}

const char* exceededLimit(const CString& windowsPath) {
    Fd fd(openRegularFile(windowsPath));
    if (fd.get() < 0) {
        return nullptr;
    }
    const char* exceeded = nullptr;
    if (!withinMarkupLimits(fd.get(), &exceeded) && exceeded == nullptr) {
        return nullptr;
    }
    if (exceeded != nullptr) {
        return exceeded;
    }
    QuietErrors quiet;
    xmlDoc* doc = xmlReadFd(fd.get(), nullptr, nullptr, kParseOptions);
    if (doc == nullptr) {
        return nullptr;
    }
    struct stat st {};
    std::uint64_t size = ::fstat(fd.get(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    if (declaresEntities(doc) && EntityExpansion().underNode(doc->children) > entityBudget(size)) {
        exceeded = "entities that expand to more text than the limit";
    }
    xmlFreeDoc(doc);
    return exceeded;
}

CString RootElement::attribute(const char16_t* attributeName) const {
    for (const auto& [name, value] : attributes) {
        if (name.CompareNoCase(attributeName) == 0) {
            return value;
        }
    }
    return CString();
}

namespace {

std::optional<RootElement> rootOfRepaired(const CString& windowsPath) {
    Repairs repairs;
    xmlDoc* doc = loadFile(windowsPath, &repairs);
    xmlNode* element = doc != nullptr && repairs.any() ? xmlDocGetRootElement(doc) : nullptr;
    std::optional<RootElement> root;
    if (element != nullptr) {
        root.emplace();
        std::string name = reinterpret_cast<const char*>(element->name);
        if (element->ns != nullptr && element->ns->prefix != nullptr) {
            name = reinterpret_cast<const char*>(element->ns->prefix) + (":" + name);
        }
        root->name = CString::fromUtf8(name);
        for (const xmlNs* ns = element->nsDef; ns != nullptr; ns = ns->next) {
            std::string attribute =
                ns->prefix != nullptr
                    ? "xmlns:" + std::string(reinterpret_cast<const char*>(ns->prefix))
                    : std::string("xmlns");
            root->attributes.emplace_back(CString::fromUtf8(attribute), toCString(ns->href));
        }
        for (const xmlAttr* a = element->properties; a != nullptr; a = a->next) {
            xmlChar* value = xmlNodeListGetString(doc, a->children, 1);
            std::string attribute = reinterpret_cast<const char*>(a->name);
            if (a->ns != nullptr && a->ns->prefix != nullptr) {
                attribute = reinterpret_cast<const char*>(a->ns->prefix) + (":" + attribute);
            }
            root->attributes.emplace_back(CString::fromUtf8(attribute), toCString(value));
            xmlFree(value);
        }
    }
    if (doc != nullptr) {
        xmlFreeDoc(doc);
    }
    return root;
}

}  // namespace

std::optional<RootElement> peekRootElement(const CString& windowsPath) {
    registerShiftJis();
    QuietErrors quiet;
    Fd fd(openRegularFile(windowsPath));
    if (fd.get() < 0 || !withinMarkupLimits(fd.get())) {
        return std::nullopt;
    }
    xmlTextReader* reader = xmlReaderForFd(fd.get(), nullptr, nullptr, kParseOptions);
    if (reader == nullptr) {
        return std::nullopt;
    }
    std::optional<RootElement> root;
    while (xmlTextReaderRead(reader) == 1) {
        if (xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT) {
            continue;
        }
        // Reading the values expands the entities in them; refuse first
        // what would not fit.
        const xmlNode* element = xmlTextReaderCurrentNode(reader);
        struct stat st {};
        std::uint64_t size =
            ::fstat(fd.get(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
        if (element == nullptr || EntityExpansion().inAttributes(element) > entityBudget(size)) {
            break;
        }
        root.emplace();
        root->name = toCString(xmlTextReaderConstName(reader));
        while (xmlTextReaderMoveToNextAttribute(reader) == 1) {
            root->attributes.emplace_back(toCString(xmlTextReaderConstName(reader)),
                                          toCString(xmlTextReaderConstValue(reader)));
        }
        break;
    }
    xmlFreeTextReader(reader);
    if (!root) {
        // The start of a file that only a repair reads (an encoding it does
        // not have) fails here; the repaired document has the root.
        root = rootOfRepaired(windowsPath);
    }
    return root;
}

xmlDoc* loadFile(const CString& windowsPath, Repairs* repairs) {
    registerShiftJis();
    ParseReport report;
    QuietErrors quiet(&report);
    Fd fd(openRegularFile(windowsPath));
    if (fd.get() < 0 || !withinMarkupLimits(fd.get())) {
        return nullptr;
    }
    // xmlReadFd rather than xmlReadFile: the file is opened here, so no
    // entity loader or URL resolution is involved even for the document.
    xmlDoc* doc = xmlReadFd(fd.get(), nullptr, nullptr, kParseOptions);
    // A well-formed file is parsed once; only one that failed, or read with
    // undeclared entities or as ISO-8859-1, is looked at again.
    if (doc == nullptr || report.undeclaredEntity ||
        (doc->encoding != nullptr && namesIso88591(reinterpret_cast<const char*>(doc->encoding)))) {
        doc = repairedIfForgivable(fd.get(), doc, report.undeclaredEntity, repairs);
    }
    if (doc != nullptr && declaresEntities(doc)) {
        struct stat st {};
        std::uint64_t size =
            ::fstat(fd.get(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
        if (EntityExpansion().underNode(doc->children) > entityBudget(size)) {
            xmlFreeDoc(doc);
            return nullptr;
        }
    }
    return doc;
}

bool saveFile(xmlDoc* doc, const CString& windowsPath, const CString& encoding) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    if (doc == nullptr || !native || native->empty() || native->back() == '/') {
        return false;
    }
    std::filesystem::path target(*native);
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        // Replace the file the link points to and keep the link.
        auto resolved = std::filesystem::canonical(target, ec);
        auto windows = ec ? std::nullopt : nd::win32::toWindowsPath(resolved.string());
        if (!windows) {
            return false;
        }
        return saveFile(doc, CString(*windows), encoding);
    }

    registerShiftJis();
    QuietErrors quiet;
    dropNonXmlCharsInTree(doc->children);
    std::string enc = outputEncoding(encoding);
    // A Shift_JIS feed that already uses the Windows codes keeps them.
    xmlCharEncodingHandler* handler =
        isShiftJisName(enc) && fileUsesWindowsShiftJis(native->c_str()) ? windowsShiftJisOutput()
                                                                        : nullptr;
    // Serialised straight into the temporary file: a feed of many megabytes
    // is neither held in memory whole nor copied on its way to the disk.
    return writeFileAtomically(
        windowsPath,
        [&](int fd) {
            FdSink sink{fd, 0};
            if (!serialize(doc, enc, handler, writeToFd, &sink)) {
                return sink.error != 0 ? sink.error : EIO;
            }
            return 0;
        },
        true);
}

}  // namespace lum::xml
