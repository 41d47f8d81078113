// Saving a page: the tree is compared with where its nodes came from, and
// only the differences become edits of the file's bytes.
#include "hostapp/pages/PageDocument.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lum::page {

namespace {

struct Edit {
    size_t begin;             // in the page's text
    size_t end;               // begin for an insertion
    std::string replacement;  // UTF-8
};

std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string escaped(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += attribute ? ">" : "&gt;";
                break;
            case '"':
                out += attribute ? "&quot;" : "\"";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// ' name="value"', the value already escaped.
void appendAttribute(std::string& out, const std::string& name, const std::string& value) {
    out += ' ';
    out += name;
    out += "=\"";
    out += value;
    out += '"';
}

std::string contentOf(const xmlNode* node) {
    return node->content ? reinterpret_cast<const char*>(node->content) : "";
}

std::string nameOf(const xmlNode* node) {
    std::string name = reinterpret_cast<const char*>(node->name);
    if (node->ns != nullptr && node->ns->prefix != nullptr) {
        name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
    }
    return name;
}

std::vector<std::pair<std::string, std::string>> attributesOf(const xmlNode* node) {
    std::vector<std::pair<std::string, std::string>> out;
    for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, a->children, 1);
        out.emplace_back(nameOf(reinterpret_cast<const xmlNode*>(a)),
                         value ? reinterpret_cast<const char*>(value) : "");
        xmlFree(value);
    }
    return out;
}

bool rawTextParent(const xmlNode* node) {
    if (node->parent == nullptr || node->parent->type != XML_ELEMENT_NODE) {
        return false;
    }
    const char* name = reinterpret_cast<const char*>(node->parent->name);
    return strcasecmp(name, "script") == 0 || strcasecmp(name, "style") == 0;
}

class Saver {
  public:
    Saver(bool xhtml, const std::string& text) : m_xhtml(xhtml), m_text(text) {}

    // A node made (or moved) since the page was read, written whole.
    void write(const xmlNode* node, std::string& out) const {
        const SourceNode* r = PageDocument::sourceOf(node);
        switch (node->type) {
            case XML_TEXT_NODE:
                out += (r && r->raw) || rawTextParent(node) ? contentOf(node)
                                                            : escaped(contentOf(node), false);
                return;
            case XML_COMMENT_NODE:
                out += "<!--" + contentOf(node) + "-->";
                return;
            case XML_ELEMENT_NODE:
                break;
            default:
                return;
        }
        std::string name = newName(nameOf(node));
        out += "<" + name;
        for (const auto& [attribute, value] : attributesOf(node)) {
            appendAttribute(out, newName(attribute), escaped(value, true));
        }
        if (isVoidElement(lower(name)) && node->children == nullptr) {
            out += m_xhtml ? " />" : ">";
            return;
        }
        out += ">";
        for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
            write(c, out);
        }
        out += "</" + name + ">";
    }

    // An original element's start tag with its attributes as they are now;
    // attributes that did not change keep their own spelling.
    std::string startTag(const xmlNode* node, const SourceNode& r) const {
        std::string out = "<" + r.name;
        for (const auto& attribute : attributesOf(node)) {
            // Named, not structured bindings: clang 14 cannot capture those in the lambda.
            const std::string& name = attribute.first;
            const std::string& value = attribute.second;
            auto same = std::find_if(r.attributes.begin(), r.attributes.end(), [&](const auto& a) {
                return a.name == name && a.value == value && a.sourceEnd > a.sourceBegin;
            });
            if (same != r.attributes.end()) {
                out += ' ';
                out.append(m_text, same->sourceBegin, same->sourceEnd - same->sourceBegin);
            } else {
                appendAttribute(out, newName(name), escaped(value, true));
            }
        }
        out += r.selfClosing ? " />" : ">";
        return out;
    }

    static bool attributesChanged(const xmlNode* node, const SourceNode& r) {
        auto now = attributesOf(node);
        if (now.size() != r.attributes.size()) {
            return true;
        }
        for (size_t i = 0; i < now.size(); ++i) {
            if (now[i].first != r.attributes[i].name || now[i].second != r.attributes[i].value) {
                return true;
            }
        }
        return false;
    }

  private:
    // XHTML's names are lower case; HTML keeps them as the command wrote them.
    std::string newName(const std::string& name) const { return m_xhtml ? lower(name) : name; }

    bool m_xhtml;
    const std::string& m_text;
};

// Whether the child is an original node still under the parent it was read
// under. (Siblings need not follow in the file's order: the parser moves
// content out of tables and misnested tags.)
bool inPlace(const xmlNode* child, const SourceNode* parent) {
    const SourceNode* r = PageDocument::sourceOf(child);
    return r != nullptr && r->original && r->parent == parent;
}

}  // namespace

std::string PageDocument::save(std::string_view bytes) {
    for (SourceNode& r : m_records) {
        r.reached = false;
    }
    Saver saver(m_xhtml, text());
    std::vector<Edit> edits;
    xmlNode* rootNode = xmlDocGetRootElement(m_doc);
    std::vector<xmlNode*> pending;
    if (rootNode != nullptr && sourceOf(rootNode) != nullptr) {
        sourceOf(rootNode)->reached = true;
        pending.push_back(rootNode);
    }
    while (!pending.empty()) {
        xmlNode* node = pending.back();
        pending.pop_back();
        SourceNode& r = *sourceOf(node);
        if (node->type != XML_ELEMENT_NODE) {
            if (r.dirty || hashOfContent(contentOf(node)) != r.contentHash) {
                std::string replacement;
                saver.write(node, replacement);
                edits.push_back({r.begin, r.end, std::move(replacement)});
            }
            continue;
        }
        if (r.hasTag && Saver::attributesChanged(node, r)) {
            edits.push_back({r.begin, r.tagEnd, saver.startTag(node, r)});
        }
        // Children in place are visited; runs of others are written where
        // their neighbours in place put them.
        size_t after = r.innerBegin;
        std::string run;
        const xmlNode* runStart = nullptr;
        std::vector<xmlNode*> visit;
        auto flush = [&](const SourceNode* next) {
            if (runStart == nullptr) {
                return;
            }
            size_t at = after;
            if (runStart->prev == nullptr && next != nullptr) {
                at = next->begin;  // nothing before the run: right in front of what follows
            }
            edits.push_back({at, at, std::move(run)});
            run.clear();
            runStart = nullptr;
        };
        for (xmlNode* c = node->children; c != nullptr; c = c->next) {
            if (inPlace(c, &r)) {
                SourceNode* cr = sourceOf(c);
                flush(cr);
                cr->reached = true;
                after = std::max(after, cr->end);
                visit.push_back(c);
            } else {
                if (runStart == nullptr) {
                    runStart = c;
                }
                saver.write(c, run);
            }
        }
        flush(nullptr);
        pending.insert(pending.end(), visit.rbegin(), visit.rend());
    }
    // Original nodes no longer in place take their bytes with them, unless
    // their parent went already.
    for (const SourceNode& r : m_records) {
        if (r.original && !r.reached && r.parent != nullptr && r.parent->reached) {
            edits.push_back({r.begin, r.end, {}});
        }
    }
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        if (a.begin != b.begin) {
            return a.begin < b.begin;
        }
        return (a.end == a.begin) > (b.end == b.begin);  // insertions first
    });
    std::string out;
    size_t copied = 0;  // bytes of the file taken over so far
    for (const Edit& edit : edits) {
        size_t begin = m_source.byteOffset(edit.begin);
        size_t end = m_source.byteOffset(edit.end);
        if (begin < copied) {
            continue;  // inside bytes already replaced
        }
        out.append(bytes.substr(copied, begin - copied));
        out += m_source.encode(edit.replacement);
        copied = end;
    }
    out.append(bytes.substr(copied));
    return out;
}

}  // namespace lum::page
