// Any bytes as a feed: what reads is written, read back and written again.
// The second read holds what the first did, the markup the reader keeps
// included: both write to the same bytes, and those bytes read. The document
// built for the first write is written by our own writer as libxml2's
// serialisation writes it. Whether a save would leave a file as it is gets
// the same answer item by item as for the whole document, for the input and
// for what was written.
#include "TempDir.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "hostapp/feedxml/CLumRssAbstract.h"
#include "hostapp/feedxml/IndentedUtf8.h"

#include <libxml/xmlsave.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

const TempDir& folder() {
    static TempDir* dir = new TempDir;
    return *dir;
}

[[noreturn]] void fail(const char* what, const std::string& first, const std::string& second) {
    std::fprintf(stderr, "%s\n--- first write:\n%s\n--- second write:\n%s\n", what, first.c_str(),
                 second.c_str());
    std::abort();
}

struct StringSink : lum::xml::ByteSink {
    std::string bytes;
    bool take(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
};

int appendTo(void* context, const char* data, int length) {
    static_cast<std::string*>(context)->append(data, static_cast<std::size_t>(length));
    return length;
}

void writesAsLibxml2(const CString& path, const CRSSChannel& channel) {
    auto document = newsdesk::buildRssDocument(path, &channel);
    if (!document || !document->Document) {
        return;
    }
    xmlDoc* doc = document->Document->raw();
    StringSink ours;
    lum::xml::IndentedUtf8 outcome = lum::xml::writeIndentedUtf8(doc, ours);
    if (outcome == lum::xml::IndentedUtf8::NotOurs) {
        return;
    }
    std::string theirs;
    xmlSaveFormatFileTo(xmlOutputBufferCreateIO(appendTo, nullptr, &theirs, nullptr), doc, "UTF-8",
                        1);
    if (outcome != lum::xml::IndentedUtf8::Written || ours.bytes != theirs) {
        fail("our writer differs from libxml2's", theirs, ours.bytes);
    }
}

void comparesAsTheWholeDocument(const CString& path, const CRSSChannel& channel,
                                const TempDir& dir) {
    std::optional<bool> itemByItem = newsdesk::writesSameFile(path, path, &channel);
    auto document = newsdesk::buildRssDocument(path, &channel);
    std::optional<bool> whole =
        document ? std::optional<bool>(document->savesSameBytes(path)) : std::nullopt;
    if (itemByItem != whole) {
        fail(itemByItem.value_or(false) ? "item by item the same, as a whole not"
                                        : "as a whole the same, item by item not",
             dir.read("in.xml"), "");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TempDir& dir = folder();
    dir.write("in.xml", std::string(reinterpret_cast<const char*>(data), size));
    CRSSChannel first;
    if (newsdesk::readRssFile(CString(dir.windows("in.xml")), &first) != 1) {
        return 0;
    }
    writesAsLibxml2(CString(dir.windows("one.xml")), first);
    comparesAsTheWholeDocument(CString(dir.windows("in.xml")), first, dir);
    if (newsdesk::writeRssFile(CString(dir.windows("one.xml")), &first) != 1) {
        fail("could not write what was read", "", "");
    }
    if (newsdesk::writesSameFile(CString(dir.windows("one.xml")), CString(dir.windows("one.xml")),
                                 &first) != std::optional<bool>(true)) {
        fail("what was just written would change", dir.read("one.xml"), "");
    }
    CRSSChannel second;
    if (newsdesk::readRssFile(CString(dir.windows("one.xml")), &second) != 1) {
        fail("could not read back what was written", dir.read("one.xml"), "");
    }
    if (newsdesk::writeRssFile(CString(dir.windows("two.xml")), &second) != 1) {
        fail("could not write the second read", dir.read("one.xml"), "");
    }
    if (dir.read("one.xml") != dir.read("two.xml")) {
        fail("the second read differs from the first", dir.read("one.xml"), dir.read("two.xml"));
    }
    return 0;
}
