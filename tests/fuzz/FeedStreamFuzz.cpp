// Any bytes as a feed file: each kind of document read in one streaming pass
// answers every question as the same document loaded into a tree, kept
// markup included, and the questions the readers ask never fall back on the
// tree.
#include "TempDir.h"
#include "hostapp/feedxml/XmlFile.h"
#include "support/StreamedAnswers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace newsdesk::testing;

const TempDir& folder() {
    static TempDir* dir = new TempDir;
    return *dir;
}

void differ(const char* what, const std::vector<std::string>& streamed,
            const std::vector<std::string>& tree) {
    std::fprintf(stderr, "%s differ\n", what);
    for (std::size_t i = 0; i < streamed.size() || i < tree.size(); ++i) {
        const char* s = i < streamed.size() ? streamed[i].c_str() : "(none)";
        const char* t = i < tree.size() ? tree[i].c_str() : "(none)";
        if (std::string(s) != t) {
            std::fprintf(stderr, "  streamed: %s\n  tree:     %s\n", s, t);
            break;
        }
    }
    std::abort();
}

template <typename Feed>
void compare(const CString& path) {
    Probe<Feed> streamed(path, nullptr);
    Probe<Feed> tree(path, nullptr);
    tree.Document.get();
    bool fromStream = streamed.answersFromStream();
    std::vector<std::string> a = readAll(streamed);
    std::vector<std::string> b = readAll(tree);
    if (a != b) {
        differ("the readers' answers", a, b);
    }
    if (streamed.answersFromStream() != fromStream) {
        std::fprintf(stderr, "a reader's question fell back on the tree\n");
        std::abort();
    }
    a = askOddly(streamed);
    b = askOddly(tree);
    if (a != b) {
        differ("the answers no reader asks for", a, b);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An input of an odd size is parsed on a thread of its own, as a large
    // feed is; one of an even size in the caller's thread, as a small one.
    lum::xml::parseAsideFrom(size % 2 != 0 ? 0 : std::numeric_limits<std::uint64_t>::max());
    const TempDir& dir = folder();
    dir.write("in.xml", std::string(reinterpret_cast<const char*>(data), size));
    CString path(dir.windows("in.xml"));
    compare<CLumRssXmlData>(path);
    compare<CLumiTuneXmlData>(path);
    compare<CLumRdfXmlData>(path);
    return 0;
}
