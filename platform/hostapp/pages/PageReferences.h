// Every URL an element of a parsed page refers to, with where it is written:
// a link attribute whose whole value is the URL (a, img, form action, video
// poster ...), a URL inside an attribute's value (srcset candidates, the
// target of a <meta http-equiv="refresh">, url() in a style attribute), or
// a url() / @import in a <style> element's text.
#pragma once

#include <gumbo.h>

#include <string>
#include <vector>

namespace lum::page {

enum class ReferenceForm {
    Value,       // the attribute's whole value
    InValue,     // a part of the attribute's value, written as it is
    CssInValue,  // a part of a style attribute's value, written as CSS
    CssText,     // a part of the element's text, written as CSS
};

struct Reference {
    ReferenceForm form = ReferenceForm::Value;
    const GumboAttribute* attribute = nullptr;  // every form but CssText
    const GumboNode* text = nullptr;            // CssText: the text node
    size_t begin = 0;  // the URL's span in the attribute's value or the node's text
    size_t end = 0;
    char cssQuote = 0;  // the CSS forms: the quote the URL stands in, 0 for a bare url()
    std::string url;    // surrounding white space removed
};

// The element's references in the order they are written.
std::vector<Reference> referencesOf(const GumboNode* element);

}  // namespace lum::page
