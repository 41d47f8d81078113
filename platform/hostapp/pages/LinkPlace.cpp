#include "hostapp/pages/LinkPlace.h"

#include <strings.h>

#include <array>

namespace lum::page {

namespace {

// Elements whose content is text for a form's control, or the drawing and
// formula languages, where an HTML link is no link.
constexpr std::array kTextOnly = {"option", "optgroup", "select", "datalist", "textarea",
                                  "svg",    "math",     "title",  "script",   "style"};
// Elements that hold rows and cells only: a link directly in them is moved
// out (above the table) by every browser.
constexpr std::array kTableParts = {"table", "tbody", "thead", "tfoot", "tr", "colgroup"};

template <size_t N>
const char* among(const xmlNode* node, const std::array<const char*, N>& names) {
    if (node == nullptr || node->type != XML_ELEMENT_NODE) {
        return nullptr;
    }
    for (const char* name : names) {
        if (strcasecmp(reinterpret_cast<const char*>(node->name), name) == 0) {
            return name;
        }
    }
    return nullptr;
}

}  // namespace

std::string whyNoLinkAt(Node node, long) {
    const xmlNode* at = node.raw();
    if (at == nullptr) {
        return "outside the page's body";
    }
    const xmlNode* container = at->type == XML_ELEMENT_NODE ? at : at->parent;
    if (const char* part = among(container, kTableParts)) {
        return std::string("directly in <") + part + ">, between its rows or cells";
    }
    for (const xmlNode* n = container; n != nullptr; n = n->parent) {
        if (const char* name = among(n, kTextOnly)) {
            return std::string("inside <") + name + ">";
        }
    }
    return {};
}

}  // namespace lum::page
