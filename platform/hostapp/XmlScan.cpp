// The streaming pass that answers as loadFile does without its tree.
#include "hostapp/EntityExpansion.h"
#include "hostapp/ShiftJis.h"
#include "hostapp/XmlFile.h"
#include "hostapp/XmlParsing.h"
#include "hostapp/XmlRepair.h"

#include <libxml/xmlreader.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace lum::xml {

namespace {

struct ScanErrors {
    bool fatal = false;
    bool undeclaredEntity = false;
};

void noteScanError(void* context, xmlError* error) {
    auto* errors = static_cast<ScanErrors*>(context);
    if (error == nullptr) {
        return;
    }
    // Only fatal errors make the strict parse give up; namespace errors and
    // entities an unread external subset may declare leave a document.
    errors->fatal = errors->fatal || error->level == XML_ERR_FATAL;
    errors->undeclaredEntity = errors->undeclaredEntity ||
                               error->code == XML_ERR_UNDECLARED_ENTITY ||
                               error->code == XML_WAR_UNDECLARED_ENTITY;
}

// The streaming pass of scanFile: what a strict parse gives, or nullopt
// when loadFile would not stop at its strict parse (the parse failed, met an
// entity the file never declares, or read the file as ISO-8859-1) and a
// repair may answer differently.
std::optional<bool> scanStrictly(int fd, const std::function<void(const Element&)>& onRoot) {
    xmlTextReader* reader = xmlReaderForFd(fd, nullptr, nullptr, kParseOptions);
    if (reader == nullptr) {
        return false;
    }
    ScanErrors errors;
    xmlTextReaderSetStructuredErrorHandler(reader, noteScanError, &errors);
    struct stat st {};
    std::uint64_t budget =
        entityBudget(::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0);
    // What the references met so far expand to, counted as loadFile counts
    // them on the whole tree; the reader frees the nodes behind it. Past the
    // budget the file is still read to its end: a repair might still apply.
    EntityExpansion expansion;
    std::uint64_t expanded = 0;
    bool rootSeen = false;
    int status = 0;
    while (!errors.fatal && (status = xmlTextReaderRead(reader)) == 1) {
        int type = xmlTextReaderNodeType(reader);
        const xmlNode* node = xmlTextReaderCurrentNode(reader);
        if (node == nullptr) {
            continue;
        }
        if (type == XML_READER_TYPE_ENTITY_REFERENCE) {
            errors.undeclaredEntity = errors.undeclaredEntity || node->children == nullptr;
            expanded = std::min(expanded + expansion.ofReference(node), budget + 1);
        } else if (type == XML_READER_TYPE_ELEMENT) {
            expanded = std::min(expanded + expansion.inAttributes(node), budget + 1);
            if (!rootSeen) {
                rootSeen = true;
                onRoot(Element(const_cast<xmlNode*>(node)));
            }
        }
    }
    const xmlChar* encoding = xmlTextReaderConstEncoding(reader);
    bool strict = status == 0 && !errors.fatal && rootSeen && !errors.undeclaredEntity &&
                  !(encoding != nullptr && namesIso88591(reinterpret_cast<const char*>(encoding)));
    // Asking for the document hands it over: it is freed here, after the
    // reader.
    xmlDoc* doc = strict ? xmlTextReaderCurrentDoc(reader) : nullptr;
    bool loaded = strict;
    if (doc != nullptr && declaresEntities(doc)) {
        // References inside the declared entities count as the tree's walk
        // through the document type counts them.
        if (doc->intSubset != nullptr) {
            expanded += expansion.underNode(doc->intSubset->children);
        }
        loaded = expanded <= budget;
    }
    xmlFreeTextReader(reader);
    xmlFreeDoc(doc);
    return strict ? std::optional<bool>(loaded) : std::nullopt;
}

}  // namespace

bool scanFile(const CString& windowsPath, const std::function<void(const Element&)>& onRoot) {
    registerShiftJis();
    std::optional<bool> strict;
    {
        QuietErrors quiet;
        Fd fd(openRegularFile(windowsPath));
        if (fd.get() < 0 || !withinMarkupLimits(fd.get())) {
            return false;
        }
        strict = scanStrictly(fd.get(), onRoot);
    }
    if (strict) {
        return *strict;
    }
    // Rare: files that fail a strict parse or that a repair may read
    // differently get loadFile's own answer, from its tree.
    xmlDoc* doc = loadFile(windowsPath);
    if (doc == nullptr) {
        return false;
    }
    onRoot(Element(xmlDocGetRootElement(doc)));
    xmlFreeDoc(doc);
    return true;
}

}  // namespace lum::xml
