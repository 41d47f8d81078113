#include "hostapp/feedxml/XmlRepair.h"

#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/HtmlEntities.h"

#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace lum::xml {

std::vector<CString> Repairs::names() const {
    std::vector<CString> out;
    if (entities) {
        out.emplace_back(u"entities");
    }
    if (encoding) {
        out.emplace_back(u"encoding");
    }
    if (droppedEntities) {
        out.emplace_back(u"dropped entities");
    }
    return out;
}

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the bytes decode into text in the ICU converter named: every byte
// decodes, to no C1 control character (which single-byte code pages give
// for the bytes they do not use, and no text holds); nullopt when ICU does
// not know the name. Unassigned codes count as failures too.
std::optional<bool> decodesToText(std::string_view bytes, const char* converterName) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(converterName, &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    const char* source = bytes.data();
    const char* end = source + bytes.size();
    UChar buffer[4096];
    bool controls = false;
    do {
        UChar* target = buffer;
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, buffer + 4096, &source, end, nullptr, true, &status);
        controls =
            controls || std::any_of(buffer, target, [](UChar c) { return c >= 0x80 && c <= 0x9f; });
    } while (status == U_BUFFER_OVERFLOW_ERROR && !controls);
    ucnv_close(converter);
    return U_SUCCESS(status) && !controls;
}

// ICU's name for the encoding a label stands for ("latin1" -> "ISO-8859-1");
// empty when ICU does not know the label.
std::string canonicalEncoding(const std::string& label) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(label.c_str(), &status);
    if (U_FAILURE(status)) {
        return {};
    }
    std::string name = ucnv_getName(converter, &status);
    ucnv_close(converter);
    return U_SUCCESS(status) ? name : std::string();
}

bool knownToLibxml(const std::string& label) {
    xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(label.c_str());
    if (handler == nullptr) {
        return false;
    }
    xmlCharEncCloseFunc(handler);
    return true;
}

bool holdsC1Codes(std::string_view bytes) {
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9f) {
            return true;
        }
    }
    return false;
}

// The undeclared names met while a document is parsed again, each given an
// entity whose replacement text is character references, so that it stands
// for exactly its characters wherever it is used.
struct EntitySupply {
    xmlDtd* holder = nullptr;  // where the supplied entities are declared
    std::map<std::string, std::string> values;
    std::map<std::string, xmlEntity*> entities;
    bool unknownName = false;
    // Unknown names the file's document type, never read, may declare.
    bool leftToDocumentType = false;
};

// Whether the document names a document type of its own outside the file,
// which is never loaded: a name it does not resolve may be declared there.
bool namesOutsideDocumentType(const xmlDoc* doc) {
    const xmlDtd* type = doc->intSubset;
    return type != nullptr && (type->SystemID != nullptr || type->ExternalID != nullptr);
}

std::string characterReferences(const std::string& text) {
    std::string out;
    std::int32_t at = 0;
    auto length = static_cast<std::int32_t>(text.size());
    while (at < length) {
        UChar32 c = 0;
        U8_NEXT(reinterpret_cast<const std::uint8_t*>(text.data()), at, length, c);
        if (c < 0) {
            return {};
        }
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
        out += reference;
    }
    return out;
}

xmlEntity* supplyEntity(void* context, const xmlChar* name) {
    auto* parser = static_cast<xmlParserCtxt*>(context);
    xmlEntity* declared = xmlSAX2GetEntity(context, name);
    auto* supply = static_cast<EntitySupply*>(parser->_private);
    if (declared != nullptr || parser->inSubset != 0 || supply == nullptr ||
        parser->myDoc == nullptr || name == nullptr) {
        return declared;
    }
    std::string key(reinterpret_cast<const char*>(name));
    if (auto known = supply->entities.find(key); known != supply->entities.end()) {
        return known->second;
    }
    auto value = htmlNamedCharacter(key);
    std::string references = value ? characterReferences(*value) : std::string();
    if (references.empty()) {
        // Left a reference nothing resolves, which the load then leaves out.
        (namesOutsideDocumentType(parser->myDoc) ? supply->leftToDocumentType
                                                 : supply->unknownName) = true;
        return nullptr;
    }
    xmlDoc* doc = parser->myDoc;
    if (supply->holder == nullptr) {
        if (doc->extSubset != nullptr) {
            supply->unknownName = true;
            return nullptr;
        }
        supply->holder = xmlNewDtd(nullptr, utf8("html-entities"), nullptr, nullptr);
        if (supply->holder == nullptr) {
            return nullptr;
        }
        supply->holder->doc = doc;
        doc->extSubset = supply->holder;
    }
    xmlEntity* entity = xmlAddDtdEntity(doc, name, XML_INTERNAL_GENERAL_ENTITY, nullptr, nullptr,
                                        utf8(references.c_str()));
    if (entity != nullptr) {
        supply->values[key] = *value;
        supply->entities[key] = entity;
    }
    return entity;
}

bool isSupplied(xmlDoc* doc, const xmlNode* reference, const EntitySupply& supply) {
    xmlEntity* entity = xmlGetDocEntity(doc, reference->name);
    return supply.values.count(reinterpret_cast<const char*>(reference->name)) != 0 &&
           (entity == nullptr || entity->parent == supply.holder);
}

// Puts the characters in place of each reference to a supplied entity, so
// that the document is the one a file with those characters would give, and
// no node points into the entities about to go.
void inlineSupplied(xmlDoc* doc, xmlNode* first, const EntitySupply& supply) {
    // The first node itself may be replaced; its parent stays.
    xmlNode* parent = first != nullptr ? first->parent : nullptr;
    for (xmlNode* node = first; node != nullptr;) {
        xmlNode* next = node->next;
        if (node->type == XML_ENTITY_REF_NODE) {
            if (isSupplied(doc, node, supply)) {
                const std::string& value =
                    supply.values.at(reinterpret_cast<const char*>(node->name));
                xmlNode* text =
                    xmlNewDocTextLen(doc, utf8(value.c_str()), static_cast<int>(value.size()));
                xmlReplaceNode(node, text);
                xmlFreeNode(node);
            }
        } else {
            if (node->type == XML_ELEMENT_NODE) {
                for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                    inlineSupplied(doc, a->children, supply);
                }
            }
            inlineSupplied(doc, node->children, supply);
        }
        node = next;
    }
    // Neighbouring texts become one, as the parser would have made them.
    for (xmlNode* node = parent != nullptr ? parent->children : nullptr; node != nullptr;
         node = node->next) {
        while (node->type == XML_TEXT_NODE && node->next != nullptr &&
               node->next->type == XML_TEXT_NODE && node->name == node->next->name) {
            xmlTextMerge(node, node->next);
        }
    }
}

void resolveSupplied(xmlDoc* doc, EntitySupply& supply) {
    if (supply.holder == nullptr) {
        return;
    }
    inlineSupplied(doc, doc->children, supply);
    // The document's own entities may use the names too.
    if (doc->intSubset != nullptr) {
        for (xmlNode* decl = doc->intSubset->children; decl != nullptr; decl = decl->next) {
            if (decl->type == XML_ENTITY_DECL) {
                inlineSupplied(doc, decl->children, supply);
            }
        }
    }
    doc->extSubset = nullptr;
    xmlFreeDtd(supply.holder);
    supply.holder = nullptr;
}

}  // namespace

std::string declaredEncoding(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (bytes.substr(0, 5) != "<?xml" || bytes.size() < 6 || !isSpace(bytes[5])) {
        return {};
    }
    std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) {
        return {};
    }
    at += 8;
    while (at < declaration.size() && isSpace(declaration[at])) {
        ++at;
    }
    if (at >= declaration.size() || declaration[at] != '=') {
        return {};
    }
    ++at;
    while (at < declaration.size() && isSpace(declaration[at])) {
        ++at;
    }
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) {
        return {};
    }
    std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    return std::string(declaration.substr(at + 1, close - at - 1));
}

bool namesIso88591(const std::string& label) {
    // Most feeds say UTF-8: they are answered without asking ICU.
    return xmlStrcasecmp(utf8(label.c_str()), utf8("UTF-8")) != 0 &&
           canonicalEncoding(label) == "ISO-8859-1";
}

bool readAsUtf8Instead(std::string_view bytes, bool parsed) {
    std::string declared = declaredEncoding(bytes);
    if (declared.empty()) {
        return false;
    }
    std::string canonical = canonicalEncoding(declared);
    if (canonical == "UTF-8" || (parsed && (canonical != "ISO-8859-1" || !holdsC1Codes(bytes))) ||
        decodesToText(bytes, "UTF-8") != true) {
        return false;
    }
    if (canonical.rfind("UTF-16", 0) == 0 || canonical.rfind("UTF-32", 0) == 0) {
        // The declaration itself was read one byte a character.
        return true;
    }
    if (canonical.empty()) {
        // What ICU does not know cannot be judged here; what neither knows
        // cannot have been meant for these bytes.
        return !knownToLibxml(declared);
    }
    return decodesToText(bytes, declared.c_str()) == false;
}

xmlDoc* parseRepaired(std::string_view bytes, bool asUtf8, int options, Repairs& repairs) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return nullptr;
    }
    xmlParserCtxt* parser = xmlNewParserCtxt();
    if (parser == nullptr) {
        return nullptr;
    }
    EntitySupply supply;
    parser->_private = &supply;
    parser->sax->getEntity = supplyEntity;
    xmlDoc* doc = xmlCtxtReadMemory(parser, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                    asUtf8 ? "UTF-8" : nullptr,
                                    options | (asUtf8 ? XML_PARSE_IGNORE_ENC : 0));
    bool wellFormed = parser->wellFormed != 0;
    xmlFreeParserCtxt(parser);
    // A document that did not parse was freed with the entities it held.
    if (doc != nullptr) {
        resolveSupplied(doc, supply);
    }
    if (doc == nullptr || !wellFormed || supply.unknownName) {
        if (doc != nullptr) {
            xmlFreeDoc(doc);
        }
        return nullptr;
    }
    repairs.entities = !supply.values.empty();
    repairs.droppedEntities = supply.leftToDocumentType;
    if (asUtf8) {
        repairs.encoding = true;
        xmlFree(const_cast<xmlChar*>(doc->encoding));
        doc->encoding = xmlStrdup(utf8("UTF-8"));
    }
    return doc;
}

}  // namespace lum::xml
