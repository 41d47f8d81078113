// Any bytes as a page declared in UTF-8, Shift_JIS or EUC-JP: an RSS link
// put in at a place taken from the input (an anchor at a cursor, or an
// auto-discovery link in the head) and the page saved to memory. What is
// saved parses again, and it is the input with one run of new bytes put in:
// every byte outside the edit is the page's own. The one exception is a text
// whose file spelling cannot be cut where the cursor is (character references
// such as "&quot" before it): the text holding the cursor is written anew,
// reading the same, and only its bytes may change.
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/LinkPlace.h"
#include "hostapp/pages/PageDocument.h"
#include "hostapp/pages/PageDomUtil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

[[noreturn]] void fail(const char* what, const std::string& in, const std::string& out) {
    std::fprintf(stderr, "%s\n--- in:\n%s\n--- out:\n%s\n", what, in.c_str(), out.c_str());
    std::abort();
}

// How many bytes a and b share at their start, and then at their end.
std::pair<size_t, size_t> commonEnds(const std::string& a, const std::string& b) {
    size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    return {prefix, suffix};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) {
        return 0;
    }
    static const char* const kDeclarations[] = {
        "<meta charset=\"utf-8\">", "<meta charset=\"Shift_JIS\">", "<meta charset=\"EUC-JP\">"};
    const bool inHead = (data[0] & 0x80) != 0;
    std::string in = kDeclarations[(data[0] & 0x7F) % 3];
    std::uint32_t position = 0;
    std::memcpy(&position, data + 1, sizeof position);
    in.append(reinterpret_cast<const char*>(data + 5), size - 5);

    std::string error;
    std::unique_ptr<lum::page::PageDocument> page = lum::page::PageDocument::read(in, error);
    if (!page) {
        return 0;
    }
    lum::page::PageDomUtil dom(*page, CString(u"file:///C:/site/page.html"));
    bool edited = false;
    const lum::page::SourceNode* cut = nullptr;  // the text node the cursor splits
    size_t cutBegin = 0;
    size_t cutEnd = 0;
    if (inHead) {
        edited = dom.setRssLink(CString(u"https://ann.example/feed.rss"), CString(u"feed.rss"),
                                CString(u"https://ann.example/"), false, Node());
    } else {
        Node node;
        long offset = 0;
        if (!page->cursorAt(position % (page->text().size() + 1), node, offset) ||
            !lum::page::whyNoLinkAt(node, offset).empty()) {
            return 0;
        }
        cut = lum::page::PageDocument::sourceOf(node.raw());
        if (cut != nullptr) {
            cutBegin = cut->begin;
            cutEnd = cut->end;
        }
        Element anchor = dom.createElementbyId(kHtmlTypeAnchor);
        anchor.setAttribute(CString(u"href"), CString(u"feed.rss"));
        anchor.appendChild(dom.createTextNodeUt(CString(u"RSS ✓"), false));
        edited = dom.insertElement(node, offset, 0, anchor, false, false);
    }
    if (!edited) {
        return 0;
    }
    std::string out = page->save(in);
    if (!lum::page::PageDocument::read(out, error)) {
        fail(("the saved page does not read: " + error).c_str(), in, out);
    }
    if (cut != nullptr && cut->dirty) {
        // Compared as text: only the rewritten text node's span may differ.
        const std::string& before = page->text();
        std::unique_ptr<lum::page::PageDocument> saved = lum::page::PageDocument::read(out, error);
        auto [prefix, suffix] = commonEnds(before, saved->text());
        if (prefix < cutBegin || suffix < before.size() - cutEnd) {
            fail("the save changed text outside the text holding the cursor", in, out);
        }
        return 0;
    }
    auto [prefix, suffix] = commonEnds(in, out);
    if (prefix + suffix != in.size() || out.size() <= in.size()) {
        fail("the save changed bytes outside the new link", in, out);
    }
    return 0;
}
