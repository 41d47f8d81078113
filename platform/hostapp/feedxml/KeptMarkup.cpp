#include "hostapp/feedxml/KeptMarkup.h"

#include "hostapp/feedxml/NodeArena.h"
#include "hostapp/feedxml/XmlText.h"

#include <libxml/dict.h>
#include <libxml/parser.h>

#include <algorithm>
#include <utility>

namespace lum {

namespace {

using xml::chars;
using xml::utf8;

}  // namespace

class KeptStore {
  public:
    KeptStore() : m_doc(xmlNewDoc(utf8("1.0"))) {
        // A copy of each item's guid or description repeats a few names:
        // held once, as a parsed tree holds them, rather than one for each.
        if (m_doc != nullptr) {
            m_doc->dict = xmlDictCreate();
        }
        m_root = xmlNewDocNode(m_doc, nullptr, utf8("kept"), nullptr);
        xmlDocSetRootElement(m_doc, m_root);
    }
    ~KeptStore() { xmlFreeDoc(m_doc); }
    KeptStore(const KeptStore&) = delete;
    KeptStore& operator=(const KeptStore&) = delete;

    // A deep copy; copying a node out of its tree declares the namespaces it
    // uses on the copy itself, so each copy stands on its own. The arena
    // makes that copy in its blocks; what it leaves, libxml2 copies here.
    const xmlNode* copy(const xmlNode* element) {
        if (const xmlNode* plain = m_arena.copy(element)) {
            return plain;
        }
        xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(element), m_doc, 1);
        if (copy != nullptr) {
            xmlAddChild(m_root, copy);
        }
        return copy;
    }
    xmlNode* adopt(xmlNode* element) {
        xmlAddChild(m_root, element);
        return element;
    }
    xmlDoc* doc() const { return m_doc; }

  private:
    xmlDoc* m_doc;
    xmlNode* m_root;
    // Most copies; their names are the document's dictionary's.
    xml::NodeArena m_arena{m_doc};
};

struct KeptMarkup::Data {
    // Where new elements go; the elements may also live in stores held
    // below (the markup of one record can gather copies from several
    // documents), which must live as long as they are listed.
    std::shared_ptr<KeptStore> store;
    std::vector<std::shared_ptr<KeptStore>> earlierStores;
    std::vector<Element> elements;
    std::vector<Attribute> attributes;
    std::vector<std::string> heldEmpty;
};

const std::vector<KeptMarkup::Element>& KeptMarkup::elements() const {
    static const std::vector<Element> none;
    return m_data ? m_data->elements : none;
}

const std::vector<KeptMarkup::Attribute>& KeptMarkup::attributes() const {
    static const std::vector<Attribute> none;
    return m_data ? m_data->attributes : none;
}

KeptMarkup::Data& KeptMarkup::change() {
    // Copies share the data; the first change after a copy makes it its own.
    // Data no other markup shares is changed in place: a reader keeps an
    // item's elements one after another.
    if (m_data && m_data.use_count() == 1) {
        return const_cast<Data&>(*m_data);
    }
    std::shared_ptr<Data> own = m_data ? std::make_shared<Data>(*m_data) : std::make_shared<Data>();
    Data& data = *own;
    m_data = std::move(own);
    return data;
}

void KeptMarkup::keepElement(std::shared_ptr<KeptStore>& store, const xmlNode* element,
                             KeptPlace place, int family) {
    if (element == nullptr || element->type != XML_ELEMENT_NODE) {
        return;
    }
    if (!store) {
        store = std::make_shared<KeptStore>();
    }
    if (const xmlNode* copy = store->copy(element)) {
        Data& data = change();
        if (data.store && data.store != store &&
            std::find(data.earlierStores.begin(), data.earlierStores.end(), data.store) ==
                data.earlierStores.end()) {
            data.earlierStores.push_back(data.store);
        }
        data.store = store;
        data.elements.push_back({copy, place, family});
    }
}

void KeptMarkup::keepAttribute(const xmlAttr* attribute, int family, KeptPlace place) {
    if (attribute == nullptr) {
        return;
    }
    Attribute kept;
    if (attribute->ns != nullptr) {
        kept.prefix = attribute->ns->prefix ? chars(attribute->ns->prefix) : "";
        kept.nsUri = attribute->ns->href ? chars(attribute->ns->href) : "";
    }
    kept.local = chars(attribute->name);
    xmlChar* value = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    kept.value = value ? chars(value) : "";
    xmlFree(value);
    kept.family = family;
    kept.place = place;
    addAttribute(std::move(kept));
}

void KeptMarkup::addAttribute(Attribute attribute) {
    change().attributes.push_back(std::move(attribute));
}

void KeptMarkup::addElement(const char* nsUri, const char* prefix, const char* local,
                            const CString& text, int family) {
    Data& data = change();
    if (!data.store) {
        data.store = std::make_shared<KeptStore>();
    }
    xmlNode* element = xmlNewDocNode(data.store->doc(), nullptr, utf8(local), nullptr);
    if (nsUri != nullptr) {
        xmlSetNs(element, xmlNewNs(element, utf8(nsUri), utf8(prefix)));
    }
    std::string value = xml::toXmlUtf8(text);
    if (!value.empty()) {
        xmlAddChild(element, xmlNewDocTextLen(data.store->doc(), utf8(value.c_str()),
                                              static_cast<int>(value.size())));
    }
    data.elements.push_back({data.store->adopt(element), KeptPlace::Host, family});
}

bool KeptMarkup::addElementXml(std::string_view xml, KeptPlace place, int family) {
    if (xml.size() > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    xmlDoc* parsed = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8",
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (parsed == nullptr) {
        return false;
    }
    // One element and nothing more: a document type could declare entities.
    xmlNode* root = xmlDocGetRootElement(parsed);
    bool ok = root != nullptr && parsed->intSubset == nullptr;
    if (ok) {
        std::shared_ptr<KeptStore> store = m_data ? m_data->store : nullptr;
        keepElement(store, root, place, family);
    }
    xmlFreeDoc(parsed);
    return ok;
}

void KeptMarkup::noteHeldEmpty(const char* local) {
    if (!heldEmpty(local)) {
        change().heldEmpty.emplace_back(local);
    }
}

bool KeptMarkup::heldEmpty(const char* local) const {
    return m_data && std::find(m_data->heldEmpty.begin(), m_data->heldEmpty.end(), local) !=
                         m_data->heldEmpty.end();
}

namespace {

bool namedAs(const xmlNode* node, const char* nsUri, const char* local) {
    const xmlNs* ns = node->ns;
    bool sameNs =
        nsUri == nullptr ? ns == nullptr : ns != nullptr && xml::sameName(ns->href, nsUri);
    return sameNs && xml::sameName(node->name, local);
}

}  // namespace

void KeptMarkup::removeElements(const char* nsUri, const char* local) {
    removeElements([&](const Element& e) { return namedAs(e.node, nsUri, local); });
}

void KeptMarkup::removeElements(const std::function<bool(const Element&)>& which) {
    const auto& matches = which;
    if (std::none_of(elements().begin(), elements().end(), matches)) {
        return;
    }
    Data& data = change();
    std::erase_if(data.elements, matches);
    if (data.elements.empty() && data.attributes.empty() && data.heldEmpty.empty()) {
        m_data.reset();
    }
}

std::vector<CString> KeptMarkup::takeElements(const char* local) {
    std::vector<CString> texts;
    for (const Element& e : elements()) {
        if (e.node->ns == nullptr && xml::sameName(e.node->name, local)) {
            xmlChar* text = xmlNodeGetContent(e.node);
            texts.push_back(xml::toCString(text));
            xmlFree(text);
        }
    }
    if (!texts.empty()) {
        removeElements(nullptr, local);
    }
    return texts;
}

const xmlNode* KeptMarkup::takeFirstElement(const char* nsUri, const char* local,
                                            const std::function<bool(const xmlNode*)>& accept) {
    return takeFirstElement(
        [&](const Element& e) { return namedAs(e.node, nsUri, local) && accept(e.node); });
}

const xmlNode* KeptMarkup::takeFirstElement(const std::function<bool(const Element&)>& accept) {
    const std::vector<Element>& all = elements();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const xmlNode* node = all[i].node;
        if (!accept(all[i])) {
            continue;
        }
        // The stores stay with the data; only the listing goes.
        Data& data = change();
        data.elements.erase(data.elements.begin() + static_cast<std::ptrdiff_t>(i));
        return node;
    }
    return nullptr;
}

std::string KeptMarkup::toXml(const xmlNode* element) {
    std::string out;
    xmlBuffer* buffer = xmlBufferCreate();
    if (buffer == nullptr) {
        return out;
    }
    if (xmlNodeDump(buffer, element->doc, const_cast<xmlNode*>(element), 0, 0) >= 0) {
        out.assign(chars(xmlBufferContent(buffer)), static_cast<size_t>(xmlBufferLength(buffer)));
    }
    xmlBufferFree(buffer);
    return out;
}

std::string KeptMarkup::nameOf(const xmlNode* element) {
    return xml::qualifiedName(element);
}

}  // namespace lum
