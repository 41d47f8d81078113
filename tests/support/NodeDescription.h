// A copied element as text, node by node: what two deep copies of the same
// element must share (types, names, texts, lines, namespace declarations and
// the namespace of every name), and where the copy's links are not what
// libxml2's own functions expect ("!parent", "!doc", "!prev", "!last",
// "!scope").
#pragma once

#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <string>

namespace testing_xml {

inline std::string chars(const xmlChar* s) {
    return s == nullptr ? "(null)" : reinterpret_cast<const char*>(s);
}

// "prefix=href;" for each declaration from ns on (or only ns).
inline std::string declarations(const xmlNs* ns, bool following = true) {
    std::string out;
    for (; ns != nullptr; ns = following ? ns->next : nullptr) {
        out += chars(ns->prefix) + "=" + chars(ns->href) + ";";
    }
    return out;
}

inline void describeTree(const xmlNode* node, const xmlNode* parent, std::string& out) {
    out += "(" + std::to_string(node->type) + " " + chars(node->name);
    // Texts are told apart by the very pointer of their name.
    out += node->name == xmlStringText ? " text" : node->name == xmlStringTextNoenc ? " noenc" : "";
    out += " [" + chars(node->content) + "] line " + std::to_string(node->line);
    out += " decl " + declarations(node->nsDef) + " ns " + declarations(node->ns, false);
    if (node->parent != parent) {
        out += " !parent";
    }
    if (parent != nullptr && node->doc != parent->doc) {
        out += " !doc";
    }
    if (node->ns != nullptr &&
        xmlSearchNs(node->doc, const_cast<xmlNode*>(node), node->ns->prefix) != node->ns) {
        out += " !scope";
    }
    if (node->type == XML_ELEMENT_NODE) {
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            out += " @" + chars(a->name) + " " + std::to_string(a->atype) + " ns " +
                   declarations(a->ns, false);
            out += a->parent != node ? " !parent" : "";
            for (const xmlNode* c = a->children; c != nullptr; c = c->next) {
                describeTree(c, reinterpret_cast<const xmlNode*>(a), out);
            }
        }
    }
    const xmlNode* previous = nullptr;
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        out += c->prev != previous ? " !prev" : "";
        describeTree(c, node, out);
        previous = c;
    }
    out += node->last != previous ? " !last)" : ")";
}

// The element as libxml2 writes it on its own, without indenting.
inline std::string dumped(const xmlNode* node) {
    xmlBuffer* buffer = xmlBufferCreate();
    xmlNodeDump(buffer, node->doc, const_cast<xmlNode*>(node), 0, 0);
    std::string out = chars(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
    return out;
}

inline std::string describeTree(const xmlNode* node) {
    std::string out;
    describeTree(node, node->parent, out);
    return out;
}

}  // namespace testing_xml
