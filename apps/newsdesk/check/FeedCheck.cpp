#include "check/FeedCheck.h"

#include "check/FeedRules.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace newsdesk::check {

namespace {

using Positions = std::unordered_map<const xmlNode*, std::pair<long, long>>;

// Where each element's start tag begins. The parser's own nodes know their
// line only; at the start tag's end the parser still holds the tag's bytes.
void startElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                  int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                  const xmlChar** attributes) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes,
                          nbDefaulted, attributes);
    auto* positions = static_cast<Positions*>(ctxt->_private);
    xmlParserInput* input = ctxt->input;
    if (positions == nullptr || ctxt->node == nullptr || input == nullptr ||
        input->cur == nullptr) {
        return;
    }
    const xmlChar* p = input->cur;
    long lines = 0;
    while (p > input->base && *p != '<') {
        --p;
        lines += *p == '\n' ? 1 : 0;
    }
    if (*p != '<') {
        return;
    }
    long column = 1;
    for (const xmlChar* q = p; q > input->base && q[-1] != '\n'; --q) {
        ++column;
    }
    (*positions)[ctxt->node] = {input->line - lines, column};
}

std::string_view view(const xmlChar* s) {
    return s != nullptr ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

std::string_view nsOf(const xmlNode* node) {
    return node->ns != nullptr ? view(node->ns->href) : std::string_view();
}

std::string qname(const xmlNode* node) {
    std::string name(view(node->name));
    if (node->ns != nullptr && node->ns->prefix != nullptr) {
        name = std::string(view(node->ns->prefix)) + ":" + name;
    }
    return name;
}

std::string trimmedText(const xmlNode* node) {
    xmlChar* raw = xmlNodeGetContent(node);
    std::string text(view(raw));
    xmlFree(raw);
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.back())) {
        text.pop_back();
    }
    std::size_t start = 0;
    while (start < text.size() && space(text[start])) {
        ++start;
    }
    return text.substr(start);
}

class Checker {
  public:
    Checker(int format, const CategoryTable& categories, const Positions& positions,
            std::vector<Problem>& problems)
        : m_bit(1u << format),
          m_format(format),
          m_categories(categories),
          m_positions(positions),
          m_problems(problems) {}

    void element(const xmlNode* node) {
        std::string context(view(node->name));
        std::map<const ElementRule*, int> counts;
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) {
                continue;
            }
            const ElementRule* rule = ruleFor(context, child);
            if (rule == nullptr) {
                undefined(node, child);
            } else {
                int& count = counts[rule];
                if (++count == 2 &&
                    (rule->count == Count::Once || rule->count == Count::Required)) {
                    error(child,
                          "<" + qname(child) + "> appears more than once in <" + qname(node) + ">");
                } else if (count == 2 && rule->count == Count::OneAdvised) {
                    warn(child, "<" + qname(child) + "> appears more than once in <" + qname(node) +
                                    ">; most readers take only the first");
                }
                value(child, rule->form);
            }
            attributes(child);
            if (child->ns != nullptr && nsOf(child) == kItunesNs &&
                view(child->name) == "category") {
                itunesCategory(node, child);
            }
            element(child);
        }
        required(node, context, counts);
        if (m_format == 2 && context == "channel") {
            int itunesCategories = 0;
            for (const auto& [rule, count] : counts) {
                if (std::string_view(rule->ns) == kItunesNs &&
                    std::string_view(rule->name) == "category") {
                    itunesCategories += count;
                }
            }
            if (itunesCategories > 3) {
                warn(node, "more than three iTunes categories; directories take the first three");
            }
        }
    }

    void root(const xmlNode* node) {
        attributes(node);
        bool rss = m_format != 0;
        if (rss ? view(node->name) != "rss" || node->ns != nullptr
                : view(node->name) != "RDF" || nsOf(node) != kRdfNs) {
            error(node,
                  rss ? "the root element must be <rss>" : "the root element must be rdf:RDF");
            return;
        }
        element(node);
    }

  private:
    // The row for child under a parent of that local name; null when none.
    const ElementRule* ruleFor(const std::string& context, const xmlNode* child) const {
        for (const ElementRule& rule : elementRules()) {
            if ((rule.formats & m_bit) != 0 && nsOf(child) == rule.ns &&
                view(child->name) == rule.name &&
                (std::strcmp(rule.context, "*") == 0 || context == rule.context)) {
                return &rule;
            }
        }
        return nullptr;
    }

    // Whether the format defines every child of parent that has child's
    // namespace: the contexts of the format's own vocabulary and the
    // namespaces it knows.
    bool knowsAllOf(const xmlNode* parent, const xmlNode* child) const {
        std::string_view ns = nsOf(child);
        for (const KnownNamespace& known : knownNamespaces()) {
            if ((known.formats & m_bit) != 0 && ns == known.ns) {
                return true;
            }
        }
        if (!ns.empty() || m_format == 0 || parent->ns != nullptr) {
            return false;
        }
        for (const char* context : {"rss", "channel", "item", "image"}) {
            if (view(parent->name) == context) {
                return true;
            }
        }
        return false;
    }

    void undefined(const xmlNode* parent, const xmlNode* child) {
        if (knowsAllOf(parent, child)) {
            error(child, "<" + qname(child) + "> is not defined in <" + qname(parent) + ">");
        }
    }

    void value(const xmlNode* node, Form form) {
        if (form == Form::Text) {
            return;
        }
        std::string text = trimmedText(node);
        if (!hasForm(form, text)) {
            error(node, "<" + qname(node) + "> must be " + formName(form) +
                            (text.empty() ? ", not empty" : ": \"" + shortened(text) + "\""));
        }
    }

    void attributes(const xmlNode* node) {
        for (const AttributeRule& rule : attributeRules()) {
            if ((rule.formats & m_bit) == 0 || nsOf(node) != rule.elementNs ||
                view(node->name) != rule.element) {
                continue;
            }
            const xmlChar* ns =
                *rule.ns != '\0' ? reinterpret_cast<const xmlChar*>(rule.ns) : nullptr;
            xmlAttr* attribute =
                xmlHasNsProp(node, reinterpret_cast<const xmlChar*>(rule.name), ns);
            std::string name = std::string(*rule.ns != '\0' ? "rdf:" : "") + rule.name;
            if (attribute == nullptr) {
                if (rule.required) {
                    error(node, "<" + qname(node) + "> has no " + name + " attribute");
                }
                continue;
            }
            xmlChar* raw = xmlNodeListGetString(node->doc, attribute->children, 1);
            std::string text(view(raw));
            xmlFree(raw);
            if (!hasForm(rule.form, text)) {
                error(node, "the " + name + " of <" + qname(node) + "> must be " +
                                formName(rule.form) +
                                (text.empty() ? ", not empty" : ": \"" + shortened(text) + "\""));
            }
        }
    }

    void itunesCategory(const xmlNode* parent, const xmlNode* node) {
        xmlChar* raw = xmlGetProp(node, reinterpret_cast<const xmlChar*>("text"));
        std::string text(view(raw));
        xmlFree(raw);
        if (text.empty() || m_categories.empty()) {
            return;
        }
        bool nested = nsOf(parent) == kItunesNs && view(parent->name) == "category";
        if (!nested) {
            if (m_categories.count(text) == 0) {
                error(node, "\"" + text + "\" is not an iTunes category");
            }
            return;
        }
        xmlChar* top = xmlGetProp(parent, reinterpret_cast<const xmlChar*>("text"));
        auto entry = m_categories.find(std::string(view(top)));
        xmlFree(top);
        if (entry != m_categories.end() && entry->second.count(text) == 0) {
            error(node,
                  "\"" + text + "\" is not an iTunes subcategory of \"" + entry->first + "\"");
        }
    }

    void required(const xmlNode* node, const std::string& context,
                  const std::map<const ElementRule*, int>& counts) {
        bool ours =
            m_format == 0 ? nsOf(node) == kRss1Ns || nsOf(node) == kRdfNs : node->ns == nullptr;
        // RSS 1.0's channel names its image and text input by reference
        // (rdf:resource); their descriptions stand beside the channel.
        bool reference = xmlHasNsProp(node, reinterpret_cast<const xmlChar*>("resource"),
                                      reinterpret_cast<const xmlChar*>(kRdfNs)) != nullptr;
        if (!ours || reference) {
            return;
        }
        for (const ElementRule& rule : elementRules()) {
            if ((rule.formats & m_bit) != 0 && rule.count == Count::Required &&
                context == rule.context && counts.count(&rule) == 0) {
                error(node, "<" + qname(node) + "> has no <" + rule.name + ">");
            }
        }
        for (const WantedRule& rule : wantedRules()) {
            if ((rule.formats & m_bit) == 0 || context != rule.context) {
                continue;
            }
            bool any = false;
            for (const auto& [seen, count] : counts) {
                any = any || (std::string_view(seen->ns) == rule.ns &&
                              std::string_view(seen->name) == rule.name);
            }
            if (!any) {
                warn(node, "<" + qname(node) + "> has no <itunes:" + rule.name +
                               ">; podcast directories refuse a show without it");
            }
        }
        for (const AnyOfRule& rule : anyOfRules()) {
            if ((rule.formats & m_bit) == 0 || context != rule.context) {
                continue;
            }
            bool any = false;
            for (const auto& [element, count] : counts) {
                any =
                    any || (*element->ns == '\0' && (std::strcmp(element->name, rule.first) == 0 ||
                                                     std::strcmp(element->name, rule.second) == 0));
            }
            if (!any) {
                error(node, "<" + qname(node) + "> has neither <" + rule.first + "> nor <" +
                                rule.second + ">");
            }
        }
    }

    static std::string shortened(const std::string& text) {
        return text.size() <= 60 ? text : text.substr(0, 57) + "...";
    }

    void report(const xmlNode* node, std::string message, bool warning) {
        Problem problem;
        auto at = m_positions.find(node);
        if (at != m_positions.end()) {
            problem.line = at->second.first;
            problem.column = at->second.second;
        } else {
            problem.line = xmlGetLineNo(node);
        }
        problem.warning = warning;
        problem.message = std::move(message);
        m_problems.push_back(std::move(problem));
    }
    void error(const xmlNode* node, std::string message) {
        report(node, std::move(message), false);
    }
    void warn(const xmlNode* node, std::string message) { report(node, std::move(message), true); }

    unsigned m_bit;
    int m_format;
    const CategoryTable& m_categories;
    const Positions& m_positions;
    std::vector<Problem>& m_problems;
};

}  // namespace

bool checkFeed(const std::string& path, int format, const CategoryTable& categories,
               std::vector<Problem>& problems) {
    if (format < 0 || format > 2) {
        return false;
    }
    xmlParserCtxt* ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr) {
        return false;
    }
    Positions positions;
    ctxt->_private = &positions;
    ctxt->sax->startElementNs = startElement;
    xmlDoc* doc = xmlCtxtReadFile(
        ctxt, path.c_str(), nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA);
    if (doc == nullptr) {
        // A file read only after a repair: what the repair answered is
        // itself the first problem.
        const xmlError& last = ctxt->lastError;
        std::string message(view(reinterpret_cast<const xmlChar*>(last.message)));
        while (!message.empty() && message.back() == '\n') {
            message.pop_back();
        }
        problems.push_back({last.line, last.int2, false, "not well-formed XML: " + message});
        xmlFreeParserCtxt(ctxt);
        return true;
    }
    xmlFreeParserCtxt(ctxt);
    if (xmlNode* root = xmlDocGetRootElement(doc)) {
        Checker(format, categories, positions, problems).root(root);
    }
    xmlFreeDoc(doc);
    std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return true;
}

}  // namespace newsdesk::check
