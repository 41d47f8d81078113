// Any bytes as a feed: what reads is written, read back and written again.
// The second read holds what the first did, the markup the reader keeps
// included: both write to the same bytes, and those bytes read.
#include "TempDir.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TempDir& dir = folder();
    dir.write("in.xml", std::string(reinterpret_cast<const char*>(data), size));
    CRSSChannel first;
    if (newsdesk::readRssFile(CString(dir.windows("in.xml")), &first) != 1) {
        return 0;
    }
    if (newsdesk::writeRssFile(CString(dir.windows("one.xml")), &first) != 1) {
        fail("could not write what was read", "", "");
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
