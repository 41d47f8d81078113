// Any bytes as a feed file: detection and reading never fail unsafely, and
// whatever reads as a feed writes out and reads back.
#include "TempDir.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "hostapp/feedxml/XmlFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const TempDir& folder() {
    static TempDir* dir = new TempDir;
    return *dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every input is parsed on a thread of its own, as a large feed is; the
    // round trip target keeps the one thread small feeds are read in.
    static const std::uint64_t asideFrom = lum::xml::parseAsideFrom(0);
    (void)asideFrom;
    const TempDir& dir = folder();
    dir.write("in.xml", std::string(reinterpret_cast<const char*>(data), size));
    CString in(dir.windows("in.xml"));
    CString out(dir.windows("out.xml"));

    int format = newsdesk::detectRssFormat(in);
    CRSSChannel channel;
    if (newsdesk::readRssFile(in, &channel) != 1) {
        return 0;
    }
    if (format == newsdesk::kFormatUnreadable) {
        std::fprintf(stderr, "read a file detection calls unreadable\n");
        std::abort();
    }
    if (newsdesk::writeRssFile(out, &channel) != 1) {
        std::fprintf(stderr, "could not write what was read\n");
        std::abort();
    }
    CRSSChannel back;
    if (newsdesk::readRssFile(out, &back) != 1) {
        std::fprintf(stderr, "could not read back what was written:\n%s\n",
                     dir.read("out.xml").c_str());
        std::abort();
    }
    // A save never drops or moves a date.
    bool sameDates = back.m_pubDate.GetTime() == channel.m_pubDate.GetTime() &&
                     back.m_pubDateText.IsEmpty() == channel.m_pubDateText.IsEmpty() &&
                     back.m_items.size() == channel.m_items.size();
    for (size_t i = 0; sameDates && i < back.m_items.size(); ++i) {
        sameDates =
            back.m_items[i].m_pubDate == channel.m_items[i].m_pubDate &&
            back.m_items[i].m_pubDateText.IsEmpty() == channel.m_items[i].m_pubDateText.IsEmpty();
    }
    if (!sameDates) {
        std::fprintf(stderr, "a date changed on its way through a save:\n%s\n",
                     dir.read("out.xml").c_str());
        std::abort();
    }
    return 0;
}
