#include "hostapp/pages/PageDomUtil.h"

#include "hostapp/feedxml/FeedProbe.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/urls/UrlUtil.h"

#include <cstring>

namespace lum::page {

namespace {

bool named(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           strcasecmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// Every node below `top` in document order, without recursion.
template <typename Visit>
void eachBelow(xmlNode* top, Visit visit) {
    if (top == nullptr) {
        return;
    }
    xmlNode* n = top->children;
    while (n != nullptr) {
        visit(n);
        if (n->children != nullptr && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            continue;
        }
        while (n != nullptr && n != top && n->next == nullptr) {
            n = n->parent;
        }
        n = n == nullptr || n == top ? nullptr : n->next;
    }
}

bool isWhiteSpace(const xmlNode* node) {
    if (node == nullptr || node->type != XML_TEXT_NODE) {
        return false;
    }
    const char* s = node->content ? reinterpret_cast<const char*>(node->content) : "";
    return s[std::strspn(s, " \t\r\n\f")] == '\0';
}

// rel holds the token "alternate" (any case) among others.
bool relIsAlternate(CString rel) {
    rel.MakeLower();
    std::string tokens = rel.toUtf8();
    size_t at = 0;
    while (at < tokens.size()) {
        size_t begin = tokens.find_first_not_of(" \t\r\n\f", at);
        if (begin == std::string::npos) {
            break;
        }
        size_t end = tokens.find_first_of(" \t\r\n\f", begin);
        if (tokens.substr(begin, end - begin) == "alternate") {
            return true;
        }
        at = end;
    }
    return false;
}

}  // namespace

CString elementNameOfType(int typeId) {
    switch (typeId) {
        case kHtmlTypeAnchor:
            return u"A";
        case kHtmlTypeImage:
            return u"IMG";
        default:
            return CString();
    }
}

PageDomUtil::PageDomUtil(PageDocument& page, const CString& location)
    : m_page(page), m_address(location.toUtf8(), page.baseHref()) {}

Element PageDomUtil::createElementbyId(int typeId) {
    CString name = elementNameOfType(typeId);
    return name.IsEmpty() ? Element() : m_page.newElement(name.toUtf8());
}

Node PageDomUtil::createTextNodeUt(const CString& text, bool raw) {
    return m_page.newText(text.toUtf8(), raw);
}

bool PageDomUtil::insertElement(Node node, long offset, int, Element element, bool, bool) {
    xmlNode* at = node.raw();
    if (at == nullptr || element.isNull() || offset < 0) {
        return false;
    }
    if (at->type == XML_TEXT_NODE) {
        if (at->parent == nullptr) {
            return false;
        }
        long length =
            CString::fromUtf8(at->content ? reinterpret_cast<const char*>(at->content) : "")
                .GetLength();
        Node before = offset == 0 ? node : Node(at->next);
        if (offset > 0 && offset < length) {
            before = m_page.splitText(node, offset);
        }
        PageDocument::insertBefore(Node(at->parent), element, before);
        return element.getParentNode() == Node(at->parent);
    }
    if (at->type != XML_ELEMENT_NODE) {
        return false;
    }
    xmlNode* before = at->children;
    for (long i = 0; i < offset && before != nullptr; ++i) {
        before = before->next;
    }
    PageDocument::insertBefore(node, element, Node(before));
    return element.getParentNode() == node;
}

bool PageDomUtil::deleteAllChild(Element element, bool) {
    if (element.isNull()) {
        return false;
    }
    while (xmlNode* child = element.raw()->children) {
        element.removeChild(Node(child));
    }
    return true;
}

NodeArray PageDomUtil::getTextNodes(Element element) {
    NodeArray out;
    eachBelow(element.raw(), [&](xmlNode* n) {
        if (n->type == XML_TEXT_NODE) {
            out.emplace_back(n);
        }
    });
    return out;
}

NodeArray PageDomUtil::getChildElementsByID(Element parent, int typeId) {
    NodeArray out;
    std::string name = elementNameOfType(typeId).toUtf8();
    if (name.empty()) {
        return out;
    }
    eachBelow(parent.raw(), [&](xmlNode* n) {
        if (named(n, name.c_str())) {
            out.emplace_back(n);
        }
    });
    return out;
}

std::vector<Element> PageDomUtil::rssLinks(const CString& feedUrl, const CString& relative,
                                           const CString& siteUrl) {
    std::vector<std::string> wanted;
    for (const CString* form : {&feedUrl, &relative, &siteUrl}) {
        std::string resolved = m_address.resolve(form->toUtf8());
        if (!resolved.empty()) {
            wanted.push_back(PageAddress::identity(resolved));
        }
    }
    std::vector<Element> out;
    eachBelow(m_page.root().raw(), [&](xmlNode* n) {
        if (!named(n, "link")) {
            return;
        }
        Element link(n);
        CString type = link.getAttribute(u"type");
        type.Trim();
        if (type.CompareNoCase(u"application/rss+xml") != 0 ||
            !relIsAlternate(link.getAttribute(u"rel"))) {
            return;
        }
        std::string resolved = m_address.resolve(link.getAttribute(u"href").toUtf8());
        if (resolved.empty()) {
            return;
        }
        std::string id = PageAddress::identity(resolved);
        for (const std::string& w : wanted) {
            if (w == id) {
                out.push_back(link);
                return;
            }
        }
    });
    return out;
}

bool PageDomUtil::hasRssLink(const CString& feedUrl, const CString& relative,
                             const CString& siteUrl, Node) {
    return !rssLinks(feedUrl, relative, siteUrl).empty();
}

Element PageDomUtil::headOrNew() {
    Element head = m_page.head();
    if (head) {
        return head;
    }
    Element root = m_page.root();
    Element made = m_page.newElement("head");
    PageDocument::insertBefore(root, made, root.getFirstChild());
    return made;
}

CString PageDomUtil::feedTitle(const CString& feedUrl, const CString& relative) {
    // The relative form names the file even when the feed URL is its public one.
    for (const CString* form : {&relative, &feedUrl}) {
        CString path = fileUrlToPath(CString::fromUtf8(m_address.resolve(form->toUtf8())));
        if (path.IsEmpty()) {
            continue;
        }
        if (auto facts = lum::site::probeFeed(path); facts && !facts->title.empty()) {
            return CString::fromUtf8(facts->title);
        }
    }
    CString name = feedUrl;
    int cut = name.FindOneOf(u"?#");
    if (cut >= 0) {
        name = name.Left(cut);
    }
    return name.Mid(name.ReverseFind(u'/') + 1);
}

bool PageDomUtil::setRssLink(const CString& feedUrl, const CString& relative, const CString&,
                             bool withTitle, Node) {
    CString href = relative.IsEmpty() ? feedUrl : relative;
    if (href.IsEmpty()) {
        return false;
    }
    Element head = headOrNew();
    Element link = m_page.newElement("link");
    link.setAttribute(u"rel", u"alternate");
    link.setAttribute(u"type", u"application/rss+xml");
    if (withTitle) {
        link.setAttribute(u"title", feedTitle(feedUrl, relative));
    }
    link.setAttribute(u"href", href);
    // After the head's last element, on a line of its own like it.
    xmlNode* last = nullptr;
    for (xmlNode* c = head.raw()->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) {
            last = c;
        }
    }
    Node before = last ? Node(last->next) : Node();
    if (last != nullptr && isWhiteSpace(last->prev)) {
        // As the file spells it: the parser's text has CR LF as LF.
        const SourceNode* r = PageDocument::sourceOf(last->prev);
        std::string space = r != nullptr && r->original && !r->dirty && !r->opaque
                                ? m_page.text().substr(r->begin, r->end - r->begin)
                                : reinterpret_cast<const char*>(last->prev->content);
        size_t lineBreak = space.find_last_of('\n');
        if (lineBreak != std::string::npos && lineBreak > 0 && space[lineBreak - 1] == '\r') {
            --lineBreak;
        }
        Node indent =
            m_page.newText(lineBreak == std::string::npos ? space : space.substr(lineBreak), false);
        PageDocument::insertBefore(head, indent, before);
    }
    PageDocument::insertBefore(head, link, before);
    return true;
}

bool PageDomUtil::removeRssLink(const CString& feedUrl, const CString& relative,
                                const CString& siteUrl, Node) {
    std::vector<Element> links = rssLinks(feedUrl, relative, siteUrl);
    for (Element& link : links) {
        Node parent = link.getParentNode();
        if (isWhiteSpace(link.raw()->prev)) {
            parent.removeChild(Node(link.raw()->prev));
        }
        parent.removeChild(link);
    }
    return !links.empty();
}

}  // namespace lum::page
