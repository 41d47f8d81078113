// write_bench: the time of writeRssFile on the 100,000-item RSS 2.0 feed of
// the reading benchmark, against a bare libxml2 build-and-save of an
// equivalent tree (the same elements and texts, xmlNewDocNode and
// xmlSaveFormatFileEnc, no atomic replace) measured in the same run; and the
// time of a rewrite of that unchanged feed (readRssFile, then
// RewriteRssFileEntry, as `newsdesk rewrite` runs them) against one plain
// readRssFile, with the steps the rewrite takes beyond its read.
//
//   write_bench [--items N] [--runs R] [--dir FOLDER]
#include "FeedGenerator.h"
#include "WorkFolder.h"

#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/feedxml/CLumRssAbstract.h"
#include "win32/HeapPolicy.h"
#include "win32/PathMapping.h"

#include <libxml/tree.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double bestOf(int runs, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        if (!work()) {
            return -1;
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// The best times of two works run by turns, so that a machine busier for a
// while slows both rather than one: their ratio is what is measured.
template <typename First, typename Second>
std::pair<double, double> bestOfByTurns(int runs, First first, Second second) {
    std::pair<double, double> best{1e30, 1e30};
    for (int i = 0; i < runs; ++i) {
        double a = bestOf(1, first);
        double b = bestOf(1, second);
        if (a < 0 || b < 0) {
            return {-1, -1};
        }
        best = {std::min(best.first, a), std::min(best.second, b)};
    }
    return best;
}

const xmlChar* x(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

// The texts of the tree, in UTF-8 ahead of time, so that the baseline
// measures libxml2 alone.
struct BareItem {
    std::string title, link, description, author, date, url, length, type;
    std::vector<std::string> categories;
};
struct BareFeed {
    std::string title, link, description, language, date;
    std::vector<std::string> categories;
    std::vector<BareItem> items;
};

BareFeed bareFeed(const CRSSChannel& channel) {
    BareFeed feed{channel.m_title.toUtf8(),
                  channel.m_link.toUtf8(),
                  channel.m_description.toUtf8(),
                  channel.m_language.toUtf8(),
                  channel.getModifiedTimeStr().toUtf8(),
                  {},
                  {}};
    for (const auto& category : channel.m_categories) {
        feed.categories.push_back(category.m_category.toUtf8());
    }
    for (const CRSSItem& item : channel.m_items) {
        BareItem bare{item.m_title.toUtf8(),
                      item.m_link.toUtf8(),
                      item.m_description.toUtf8(),
                      item.m_author.toUtf8(),
                      item.getModifiedTimeStr().toUtf8(),
                      item.m_enclosureUrl.toUtf8(),
                      std::to_string(item.m_enclosureLength),
                      item.m_enclosureType.toUtf8(),
                      {}};
        for (const auto& category : item.m_categories) {
            bare.categories.push_back(category.m_category.toUtf8());
        }
        feed.items.push_back(std::move(bare));
    }
    return feed;
}

void addText(xmlDoc* doc, xmlNode* parent, const char* name, const std::string& text) {
    xmlNode* node = xmlNewDocNode(doc, nullptr, x(name), nullptr);
    xmlAddChild(node, xmlNewDocText(doc, x(text)));
    xmlAddChild(parent, node);
}

// The tree the RSS 2.0 writer builds for the channel, built and saved with
// libxml2 alone.
bool bareBuildAndSave(const BareFeed& feed, const std::string& path) {
    xmlDoc* doc = xmlNewDoc(x("1.0"));
    xmlNode* rss = xmlNewDocNode(doc, nullptr, x("rss"), nullptr);
    xmlNewProp(rss, x("version"), x("2.0"));
    xmlDocSetRootElement(doc, rss);
    xmlNode* ch = xmlNewDocNode(doc, nullptr, x("channel"), nullptr);
    xmlAddChild(rss, ch);
    addText(doc, ch, "title", feed.title);
    addText(doc, ch, "link", feed.link);
    addText(doc, ch, "description", feed.description);
    addText(doc, ch, "language", feed.language);
    addText(doc, ch, "pubDate", feed.date);
    for (const auto& category : feed.categories) {
        addText(doc, ch, "category", category);
    }
    for (const BareItem& item : feed.items) {
        xmlNode* node = xmlNewDocNode(doc, nullptr, x("item"), nullptr);
        xmlAddChild(ch, node);
        addText(doc, node, "title", item.title);
        addText(doc, node, "link", item.link);
        addText(doc, node, "description", item.description);
        if (!item.author.empty()) {
            addText(doc, node, "author", item.author);
        }
        addText(doc, node, "pubDate", item.date);
        if (!item.url.empty()) {
            xmlNode* enclosure = xmlNewDocNode(doc, nullptr, x("enclosure"), nullptr);
            xmlNewProp(enclosure, x("url"), x(item.url));
            xmlNewProp(enclosure, x("length"), x(item.length));
            xmlNewProp(enclosure, x("type"), x(item.type));
            xmlAddChild(node, enclosure);
        }
        for (const auto& category : item.categories) {
            addText(doc, node, "category", category);
        }
    }
    bool ok = xmlSaveFormatFileEnc(path.c_str(), doc, "UTF-8", 1) > 0;
    xmlFreeDoc(doc);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator as the host program sets it up (apps/newsdesk/main.cpp),
    // for the baseline and the module alike.
    nd::heap::mergeSmallBlocksOnFree();
    std::size_t items = 100000;
    int runs = 3;
    std::string dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--items") {
            items = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr, "usage: write_bench [--items N] [--runs R] [--dir FOLDER]\n");
            return 2;
        }
    }
    newsdesk::bench::WorkFolder work;
    if (!work.open("write_bench", dir)) {
        return 1;
    }
    dir = work.path();
    std::string source = dir + "/source_rss20.xml";
    std::string written = dir + "/written_rss20.xml";
    std::string bare = dir + "/bare_rss20.xml";
    auto windows = [](const std::string& path) {
        return CString(nd::win32::toWindowsPath(path).value_or(u""));
    };
    CRSSChannel channel;
    if (!newsdesk::bench::writeFeedFile(source, newsdesk::bench::FeedKind::Rss20, items) ||
        newsdesk::readRssFile(windows(source), &channel) != 1 || channel.m_items.size() != items) {
        std::fprintf(stderr, "write_bench: cannot make and read the feed in %s\n", dir.c_str());
        return 1;
    }

    BareFeed feed = bareFeed(channel);
    auto [writeSeconds, bareSeconds] = bestOfByTurns(
        runs, [&] { return newsdesk::writeRssFile(windows(written), &channel) == 1; },
        [&] { return bareBuildAndSave(feed, bare); });
    double mb = static_cast<double>(std::filesystem::file_size(written)) / (1024.0 * 1024.0);

    auto before = std::filesystem::last_write_time(written);
    auto [readSeconds, rewriteSeconds] = bestOfByTurns(
        runs,
        [&] {
            CRSSChannel read;
            return newsdesk::readRssFile(windows(written), &read) == 1;
        },
        [&] {
            CRSSChannel read;
            CString path = windows(written);
            if (newsdesk::readRssFile(path, &read) != 1) {
                return false;
            }
            newsdesk::RewriteRssFileEntry(path, &read);
            return true;
        });
    bool unchanged = std::filesystem::last_write_time(written) == before;

    // Where a rewrite of the unchanged feed goes beyond its read: the
    // comparison RewriteRssFileEntry makes as it builds, item by item; and,
    // for scale, the steps of building the whole tree, comparing it and
    // freeing it. Each the best of the runs.
    struct Steps {
        double asBuilt = 1e30, build = 1e30, compare = 1e30, free = 1e30;
    } steps;
    bool stepsSame = true;
    for (int i = 0; i < runs; ++i) {
        CRSSChannel read;
        CString path = windows(written);
        if (newsdesk::readRssFile(path, &read) != 1) {
            stepsSame = false;
            break;
        }
        read.m_keptTime = newsdesk::readChannelDate(path);
        read.m_useKeptTime = true;
        auto t0 = Clock::now();
        stepsSame = stepsSame && newsdesk::writesSameFile(path, path, &read).value_or(false);
        auto t1 = Clock::now();
        auto document = newsdesk::buildRssDocument(path, &read);
        auto t2 = Clock::now();
        stepsSame = stepsSame && document && document->savesSameBytes(path);
        auto t3 = Clock::now();
        document.reset();
        auto t4 = Clock::now();
        auto seconds = [](auto from, auto to) {
            return std::chrono::duration<double>(to - from).count();
        };
        steps.asBuilt = std::min(steps.asBuilt, seconds(t0, t1));
        steps.build = std::min(steps.build, seconds(t1, t2));
        steps.compare = std::min(steps.compare, seconds(t2, t3));
        steps.free = std::min(steps.free, seconds(t3, t4));
    }

    std::printf("best of %d runs each; %zu items\n", runs, items);
    std::printf(
        "write   %7.1f MB | writeRssFile %6.3f s (%.4f s/MB) | bare libxml2 build+save "
        "%6.3f s (%.4f s/MB) | ratio %.2f\n",
        mb, writeSeconds, writeSeconds / mb, bareSeconds,
        bareSeconds / (static_cast<double>(std::filesystem::file_size(bare)) / (1024.0 * 1024.0)),
        writeSeconds / bareSeconds);
    std::printf(
        "rewrite of the unchanged feed %6.3f s | one readRssFile %6.3f s | ratio %.2f | "
        "file %s\n",
        rewriteSeconds, readSeconds, rewriteSeconds / readSeconds,
        unchanged ? "untouched" : "CHANGED");
    std::printf(
        "  beyond the read: compared item by item as built %6.3f s | the whole tree: build "
        "%6.3f s, compare with the file %6.3f s, free %6.3f s%s\n",
        steps.asBuilt, steps.build, steps.compare, steps.free, stepsSame ? "" : " | NOT THE SAME");
    return writeSeconds > 0 && bareSeconds > 0 && rewriteSeconds > 0 && unchanged && stepsSame ? 0
                                                                                               : 1;
}
