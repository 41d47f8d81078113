#include "hostapp/site/CRssUrlManipulator.h"

#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/UrlUtil.h"

#include <libxml/xmlstring.h>

namespace {

const xmlChar* kRdfNamespace =
    reinterpret_cast<const xmlChar*>("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const xmlChar* kItunesNamespace =
    reinterpret_cast<const xmlChar*>("http://www.itunes.com/dtds/podcast-1.0.dtd");

bool named(const xmlChar* name, const char* expected) {
    return xmlStrcasecmp(name, reinterpret_cast<const xmlChar*>(expected)) == 0;
}

bool inNamespace(const xmlNs* ns, const xmlChar* uri) {
    return ns != nullptr && xmlStrEqual(ns->href, uri);
}

// Elements of the feed's own vocabulary: no namespace (RSS 2.0) or the
// default one (RSS 1.0), never an extension's.
bool plainElement(const xmlNode* node) {
    return node->ns == nullptr || node->ns->prefix == nullptr;
}

CString text(const xmlChar* utf8) {
    return utf8 ? CString::fromUtf8(reinterpret_cast<const char*>(utf8)) : CString();
}

CString contentOf(xmlNode* node) {
    // Every link of a feed passes here on each save: a text node, or an
    // element holding just one, is read in place instead of copied first.
    if (node != nullptr && node->type == XML_TEXT_NODE) {
        return text(node->content);
    }
    if (node != nullptr && node->type == XML_ELEMENT_NODE && node->children != nullptr &&
        node->children->next == nullptr && node->children->type == XML_TEXT_NODE) {
        return text(node->children->content);
    }
    xmlChar* content = xmlNodeGetContent(node);
    CString result = text(content);
    xmlFree(content);
    return result;
}

bool holdsOnlyText(const xmlNode* node) {
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_TEXT_NODE && child->type != XML_CDATA_SECTION_NODE) {
            return false;
        }
    }
    return true;
}

}  // namespace

CRssUrlManipulator::CRssUrlManipulator(CLumUrlManSiteAdapterIF* adapter, const CString&,
                                       const CString&, xmlDoc* document, const CString&,
                                       const CString&, int format, int, bool)
    : m_adapter(adapter), m_document(document), m_format(format) {}

void CRssUrlManipulator::enumNodeUrls(SiteIF*, xmlNode* node) {
    m_found.clear();
    if (node == nullptr && m_document != nullptr) {
        node = xmlDocGetRootElement(m_document);
    }
    if (node != nullptr) {
        collect(node);
    }
}

void CRssUrlManipulator::collect(xmlNode* node) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (plainElement(node) && holdsOnlyText(node) &&
            (named(node->name, "link") || named(node->name, "url") ||
             (m_format != 0 && named(node->name, "comments")))) {
            m_found.push_back(URL_ITEM{node, nullptr, contentOf(node), {}, {}});
        }
        for (xmlAttr* attr = node->properties; attr; attr = attr->next) {
            bool isUrl = false;
            if (m_format == 0) {
                isUrl = inNamespace(attr->ns, kRdfNamespace) &&
                        (named(attr->name, "about") || named(attr->name, "resource"));
            } else {
                isUrl = (plainElement(node) && named(node->name, "enclosure") &&
                         named(attr->name, "url")) ||
                        (inNamespace(node->ns, kItunesNamespace) && named(node->name, "image") &&
                         named(attr->name, "href"));
            }
            if (isUrl) {
                m_found.push_back(URL_ITEM{node, attr, contentOf(attr->children), {}, {}});
            }
        }
        collect(node->children);
    }
}

void CRssUrlManipulator::GetSaveListMember(SiteIF*, URL_ITEM_LIST& list, const CString&, bool) {
    for (const URL_ITEM& item : m_found) {
        if (!item.url.IsEmpty()) {
            list.push_back(new URL_ITEM(item));
        }
    }
}

void CRssUrlManipulator::SetSaveListMember(const URL_ITEM_LIST& list) {
    m_save = list;
}

void CRssUrlManipulator::ConvertAllUrl(SiteIF* site, const CString&, bool) {
    for (URL_ITEM* item : m_save) {
        if (item->localPath.IsEmpty() || (m_adapter && !m_adapter->inSite(item->localPath))) {
            continue;
        }
        CString url = LumSiteMgr::getMySiteUrl(site, item->localPath);
        if (url.IsEmpty()) {
            continue;
        }
        // A query or fragment of the original stays with the file's new address.
        if (int at = item->url.FindOneOf(u"?#"); at >= 0 && !isDrivePath(item->url)) {
            url += item->url.Mid(at);
        }
        item->newUrl = url;
    }
}

void CRssUrlManipulator::UpdateUrls(SiteIF*, const CString&, bool) {
    for (URL_ITEM* item : m_save) {
        if (item->newUrl.IsEmpty() || item->newUrl == item->url) {
            continue;
        }
        std::string utf8 = item->newUrl.toUtf8();
        const xmlChar* value = reinterpret_cast<const xmlChar*>(utf8.c_str());
        if (item->attr != nullptr) {
            // Stored as plain text: an ampersand in the URL is escaped on save.
            xmlSetNsProp(item->node, item->attr->ns, item->attr->name, value);
        } else {
            xmlNodeSetContent(item->node, nullptr);
            xmlNodeAddContent(item->node, value);
        }
    }
}
