#include "hostapp/feedxml/WrittenEncoding.h"

#include "hostapp/feedxml/XmlParsing.h"

#include <set>
#include <string_view>

namespace lum::xml {

namespace {

void noteName(const xmlChar* name, std::set<std::string_view>& names) {
    if (name == nullptr) {
        return;
    }
    for (const xmlChar* p = name; *p != 0; ++p) {
        if (*p >= 0x80) {
            names.insert(reinterpret_cast<const char*>(name));
            return;
        }
    }
}

void gatherNames(const xmlNode* node, std::set<std::string_view>& names) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_PI_NODE) {
            noteName(node->name, names);
        }
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        noteName(node->name, names);
        if (node->ns != nullptr) {
            noteName(node->ns->prefix, names);
        }
        for (const xmlNs* ns = node->nsDef; ns != nullptr; ns = ns->next) {
            noteName(ns->prefix, names);
        }
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            noteName(a->name, names);
            if (a->ns != nullptr) {
                noteName(a->ns->prefix, names);
            }
        }
        gatherNames(node->children, names);
    }
}

// UTF-8 through the converter and back. A character the encoding lacks comes
// out as a character reference, which reads back as other text.
bool roundTrips(std::string_view name, const std::string& enc, xmlCharEncodingHandler* output) {
    xmlCharEncodingHandler* own =
        output == nullptr ? xmlFindCharEncodingHandler(enc.c_str()) : nullptr;
    xmlCharEncodingHandler* in = xmlFindCharEncodingHandler(enc.c_str());
    xmlBuffer* utf8 = xmlBufferCreate();
    xmlBuffer* encoded = xmlBufferCreate();
    xmlBuffer* back = xmlBufferCreate();
    bool same = false;
    if ((output != nullptr || own != nullptr) && in != nullptr && utf8 != nullptr &&
        encoded != nullptr && back != nullptr) {
        xmlBufferAdd(utf8, reinterpret_cast<const xmlChar*>(name.data()),
                     static_cast<int>(name.size()));
        xmlCharEncodingHandler* out = output != nullptr ? output : own;
        if (xmlCharEncOutFunc(out, encoded, utf8) >= 0 && xmlBufferLength(utf8) == 0 &&
            xmlCharEncInFunc(in, back, encoded) >= 0) {
            std::string_view decoded(reinterpret_cast<const char*>(xmlBufferContent(back)),
                                     static_cast<size_t>(xmlBufferLength(back)));
            same = decoded == name;
        }
    }
    xmlBufferFree(utf8);
    xmlBufferFree(encoded);
    xmlBufferFree(back);
    if (own != nullptr) {
        xmlCharEncCloseFunc(own);
    }
    if (in != nullptr) {
        xmlCharEncCloseFunc(in);
    }
    return same;
}

bool holdsC1(const xmlChar* text) {
    if (text == nullptr) {
        return false;
    }
    for (const xmlChar* p = text; (p = xmlStrchr(p, 0xC2)) != nullptr; ++p) {
        if (p[1] >= 0x80 && p[1] <= 0x9F) {
            return true;
        }
    }
    return false;
}

bool beyondBmp(const xmlChar* text) {
    if (text == nullptr) {
        return false;
    }
    for (const xmlChar* p = text; *p != 0; ++p) {
        if (*p >= 0xF0) {
            return true;
        }
    }
    return false;
}

// Whether the text of a node below node, or of an attribute, holds what
// holds asks for.
bool holdsBelow(const xmlNode* node, bool (*holds)(const xmlChar*)) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) {
            if (node->type == XML_ELEMENT_NODE) {
                for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                    if (holdsBelow(a->children, holds)) {
                        return true;
                    }
                }
            }
            if (holdsBelow(node->children, holds)) {
                return true;
            }
        } else if (holds(node->content)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool holdsC1Controls(const xmlDoc* doc) {
    return doc != nullptr && holdsBelow(doc->children, holdsC1);
}

bool holdsCharsBeyondBmp(const xmlDoc* doc) {
    return doc != nullptr && holdsBelow(doc->children, beyondBmp);
}

bool writesBack(const std::string& enc, const char* text) {
    const auto* value = reinterpret_cast<const xmlChar*>(text);
    xmlDoc* probe = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    xmlNode* root = xmlNewDocNode(probe, nullptr, reinterpret_cast<const xmlChar*>("a"), value);
    xmlDocSetRootElement(probe, root);
    xmlNewProp(root, reinterpret_cast<const xmlChar*>("b"), value);
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(probe, &bytes, &size, enc.c_str());
    xmlFreeDoc(probe);
    bool same = false;
    if (bytes != nullptr) {
        if (xmlDoc* back = xmlReadMemory(reinterpret_cast<const char*>(bytes), size, nullptr,
                                         nullptr, kParseOptions)) {
            xmlNode* r = xmlDocGetRootElement(back);
            xmlChar* content = r ? xmlNodeGetContent(r) : nullptr;
            xmlChar* attribute = r ? xmlGetProp(r, reinterpret_cast<const xmlChar*>("b")) : nullptr;
            same = r != nullptr && xmlStrEqual(r->name, reinterpret_cast<const xmlChar*>("a")) &&
                   xmlStrEqual(content, value) && xmlStrEqual(attribute, value);
            xmlFree(content);
            xmlFree(attribute);
            xmlFreeDoc(back);
        }
        xmlFree(bytes);
    }
    return same;
}

bool writesCharsBeyondBmp(const std::string& enc) {
    // U+1F600 between two letters.
    return writesBack(enc, "x\xF0\x9F\x98\x80y");
}

bool namesSurviveEncoding(const xmlDoc* doc, const std::string& enc,
                          xmlCharEncodingHandler* output) {
    if (doc == nullptr) {
        return true;
    }
    std::set<std::string_view> names;
    gatherNames(doc->children, names);
    for (std::string_view name : names) {
        if (!roundTrips(name, enc, output)) {
            return false;
        }
    }
    return true;
}

}  // namespace lum::xml
