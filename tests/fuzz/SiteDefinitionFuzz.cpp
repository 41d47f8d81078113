// Any bytes as a site's definition file: reading never fails unsafely, what
// reads has an http or https URL ending in "/" and a top page, and a new top
// page written into it reads back with every other member as it was.
#include "TempDir.h"
#include "hostapp/site/SiteDefinition.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const TempDir& folder() {
    static TempDir* dir = new TempDir;
    return *dir;
}

[[noreturn]] void fail(const char* what, const std::string& file) {
    std::fprintf(stderr, "%s\n--- definition:\n%s\n", what, file.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TempDir& dir = folder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    dir.write("newsdesk-site.json", bytes);
    CString root(dir.windows(""));
    std::string error;
    std::optional<SiteDefinition> site = readSiteDefinition(root, error);
    if (!site) {
        if (error.empty() || error.find('\n') != std::string::npos) {
            fail("a refusal is not one line", bytes);
        }
        return 0;
    }
    std::string url = site->url.toUtf8();
    if ((url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) || url.back() != '/' ||
        site->topPage.IsEmpty()) {
        fail("a definition read with an unusable URL or no top page", bytes);
    }
    if (!writeSiteTopPage(root, "news/index.html", error)) {
        if (dir.read("newsdesk-site.json") != bytes) {
            fail("a failed top page change changed the file", bytes);
        }
        return 0;
    }
    std::optional<SiteDefinition> back = readSiteDefinition(root, error);
    std::string top = back ? back->topPage.toUtf8() : std::string();
    std::replace(top.begin(), top.end(), '\\', '/');
    if (!back || back->url != site->url || back->name != site->name || top != "news/index.html") {
        fail("the definition with a new top page does not read back the same",
             dir.read("newsdesk-site.json"));
    }
    return 0;
}
