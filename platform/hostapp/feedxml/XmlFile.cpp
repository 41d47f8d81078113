#include "hostapp/feedxml/XmlFile.h"

#include "hostapp/feedxml/EntityExpansion.h"
#include "hostapp/feedxml/EntityInlining.h"
#include "hostapp/feedxml/MarkupCensus.h"
#include "hostapp/feedxml/WrittenEncoding.h"
#include "hostapp/feedxml/XmlParsing.h"
#include "hostapp/feedxml/XmlRepair.h"
#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/ShiftJis.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace lum::xml {

namespace {

void silentError(void*, const char*, ...) {}

void recordError(void* context, xmlError* error) {
    auto* report = static_cast<ParseReport*>(context);
    if (report != nullptr && error != nullptr &&
        (error->code == XML_ERR_UNDECLARED_ENTITY || error->code == XML_WAR_UNDECLARED_ENTITY)) {
        report->undeclaredEntity = true;
    }
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

QuietErrors::QuietErrors(ParseReport* report)
    : m_generic(xmlGenericError),
      m_genericContext(xmlGenericErrorContext),
      m_structured(xmlStructuredError),
      m_structuredContext(xmlStructuredErrorContext) {
    xmlSetGenericErrorFunc(nullptr, silentError);
    xmlSetStructuredErrorFunc(report, recordError);
}

QuietErrors::~QuietErrors() {
    xmlSetGenericErrorFunc(m_genericContext, m_generic);
    xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
}

// How far past the end of the root's start tag a streaming parser may have
// read when it hands out the root: libxml2's reader pushes a few kilobytes
// at a time.
constexpr std::size_t kReaderLookAhead = 1 << 16;

// Whether the file is within the limits above. The file is read from its
// start and left positioned there again. With startOnly, only as much of the
// file as a streaming parser reads to meet the root element is looked at.
bool withinMarkupLimits(int fd, const char** exceeded, bool startOnly) {
    MarkupCensus census;
    char buffer[kReaderLookAhead];
    ssize_t got = 0;
    bool lastBlock = false;
    while (!lastBlock && (got = ::read(fd, buffer, sizeof buffer)) > 0) {
        lastBlock = startOnly && census.startTagSeen();
        if (!census.feed(reinterpret_cast<const unsigned char*>(buffer),
                         static_cast<std::size_t>(got))) {
            if (exceeded != nullptr) {
                *exceeded = census.exceeded();
            }
            return false;
        }
    }
    return got >= 0 && ::lseek(fd, 0, SEEK_SET) == 0;
}

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
    // The parser below stops at the root, so the bounds are checked as far
    // as it reads; the rest of a large feed is not read twice.
    if (fd.get() < 0 || !withinMarkupLimits(fd.get(), nullptr, true)) {
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
    // What the records and the kept markup take is the text itself: the
    // declarations stay behind when a feed is written. A name nothing
    // declares (the file names a document type that is never loaded) would
    // be left a reference that the feed written cannot resolve.
    if (doc != nullptr && (declaresEntities(doc) || report.undeclaredEntity)) {
        InlinedUndeclared undeclared = inlineEntityReferences(doc);
        if (repairs != nullptr) {
            repairs->entities = repairs->entities || undeclared.htmlNamed;
            repairs->droppedEntities = repairs->droppedEntities || undeclared.dropped;
        }
    }
    return doc;
}

}  // namespace lum::xml
