// read_bench: the time and peak memory of readRssFile on large generated
// feeds, against a bare libxml2 parse of the same file (xmlReadFile, then
// xmlFreeDoc) measured in the same run. Each measurement runs in a child
// process of its own, so that its peak resident memory is its own.
//
// Then the curve of reading times and peaks from 1,000 items up to N.
//
//   read_bench [--items N] [--podcast-items M] [--runs R] [--dir FOLDER] [--curve yes|no]
#include "FeedGenerator.h"
#include "WorkFolder.h"

#include "feed/FeedReaders.h"
#include "win32/HeapPolicy.h"
#include "win32/PathMapping.h"

#include <libxml/parser.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using newsdesk::bench::FeedKind;

struct Sample {
    double seconds = 0;
    long peakKb = 0;
    long result = 0;
};

// Runs work in a child; its wall time, its result and the child's peak RSS.
template <typename Work>
bool measure(Work work, Sample& sample) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return false;
    }
    pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        auto start = std::chrono::steady_clock::now();
        long result = work();
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Sample s{seconds, 0, result};
        ssize_t n = ::write(fds[1], &s, sizeof s);
        ::_exit(n == sizeof s ? 0 : 1);
    }
    ::close(fds[1]);
    Sample s;
    ssize_t n = ::read(fds[0], &s, sizeof s);
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (n != sizeof s || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    sample = s;
    sample.peakKb = usage.ru_maxrss;
    return true;
}

struct Result {
    double bestSeconds = 1e30;
    long peakKb = 0;
    long result = 0;
};

template <typename Work>
bool best(Work work, int runs, Result& out) {
    for (int i = 0; i < runs; ++i) {
        Sample s;
        if (!measure(work, s)) {
            return false;
        }
        out.bestSeconds = std::min(out.bestSeconds, s.seconds);
        out.peakKb = std::max(out.peakKb, s.peakKb);
        out.result = s.result;
    }
    return true;
}

struct Measured {
    double mb = 0;
    Result bare;
    Result read;
};

bool measureFile(const std::string& path, std::size_t items, int runs, Measured& out) {
    out.mb = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    CString windows(nd::win32::toWindowsPath(path).value_or(u""));
    Result& bare = out.bare;
    Result& read = out.read;
    auto parse = [&] {
        xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
        long good = doc != nullptr;
        xmlFreeDoc(doc);
        return good;
    };
    auto readFile = [&] {
        CRSSChannel channel;
        if (newsdesk::readRssFile(windows, &channel) != 1) {
            return -1L;
        }
        return static_cast<long>(channel.m_items.size());
    };
    // By turns, so that a machine busier for a while slows both.
    bool ok = true;
    for (int i = 0; ok && i < runs; ++i) {
        ok = best(parse, 1, bare) && best(readFile, 1, read);
    }
    if (!ok || bare.result != 1 || read.result != static_cast<long>(items)) {
        std::fprintf(stderr, "read_bench: %s was not read as expected (%ld of %zu items)\n",
                     path.c_str(), read.result, items);
        return false;
    }
    return true;
}

bool benchFile(const std::string& label, const std::string& path, std::size_t items, int runs) {
    Measured m;
    if (!measureFile(path, items, runs, m)) {
        return false;
    }
    std::printf(
        "%-22s %7.1f MB | bare parse %6.3f s (%.4f s/MB) peak %5ld MB | readRssFile "
        "%6.3f s (%.4f s/MB) peak %5ld MB | time ratio %.2f | memory ratio %.2f\n",
        label.c_str(), m.mb, m.bare.bestSeconds, m.bare.bestSeconds / m.mb, m.bare.peakKb / 1024,
        m.read.bestSeconds, m.read.bestSeconds / m.mb, m.read.peakKb / 1024,
        m.read.bestSeconds / m.bare.bestSeconds,
        static_cast<double>(m.read.peakKb) / static_cast<double>(m.bare.peakKb));
    return true;
}

// Reading as the feed grows: sizes from 1,000 items up to the largest by
// steps of about three, each against its own bare parse. Linear reading keeps
// the seconds per item (and the ratio) level along the curve.
bool benchCurve(const std::string& dir, std::size_t largest, int runs) {
    std::printf(
        "curve: items, MB, readRssFile seconds, microseconds per item, peak MB, "
        "ratio to the bare parse (time, memory)\n");
    std::vector<std::size_t> sizes;
    for (std::size_t items : {1000, 3000, 10000, 30000, 100000, 300000, 1000000}) {
        if (items < largest) {
            sizes.push_back(items);
        }
    }
    sizes.push_back(largest);
    for (std::size_t items : sizes) {
        std::string path = dir + "/curve_" + std::to_string(items) + ".xml";
        Measured m;
        if (!newsdesk::bench::writeFeedFile(path, FeedKind::Rss20, items) ||
            !measureFile(path, items, runs, m)) {
            return false;
        }
        std::printf(
            "  %7zu items %7.1f MB %7.3f s %6.2f us/item %6ld MB | ratio %.2f time, %.2f "
            "memory\n",
            items, m.mb, m.read.bestSeconds, m.read.bestSeconds * 1e6 / items, m.read.peakKb / 1024,
            m.read.bestSeconds / m.bare.bestSeconds,
            static_cast<double>(m.read.peakKb) / static_cast<double>(m.bare.peakKb));
        std::filesystem::remove(path);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator as the host program sets it up (apps/newsdesk/main.cpp),
    // for the baseline and the module alike.
    nd::heap::mergeSmallBlocksOnFree();
    std::size_t rssItems = 100000;
    std::size_t podcastItems = 20000;
    int runs = 3;
    bool curve = true;
    std::string dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--items") {
            rssItems = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (arg == "--podcast-items") {
            podcastItems = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else if (arg == "--curve") {
            curve = std::string(argv[i + 1]) != "no";
        } else {
            std::fprintf(stderr,
                         "usage: read_bench [--items N] [--podcast-items M] [--runs R] "
                         "[--dir FOLDER] [--curve yes|no]\n");
            return 2;
        }
    }
    newsdesk::bench::WorkFolder work;
    if (!work.open("read_bench", dir)) {
        return 1;
    }
    dir = work.path();
    std::string rss = dir + "/bench_rss20.xml";
    std::string podcast = dir + "/bench_podcast.xml";
    if (!newsdesk::bench::writeFeedFile(rss, FeedKind::Rss20, rssItems) ||
        !newsdesk::bench::writeFeedFile(podcast, FeedKind::Podcast, podcastItems)) {
        std::fprintf(stderr, "read_bench: cannot write the feeds into %s\n", dir.c_str());
        return 1;
    }
    std::printf("best of %d runs each; peak = the measuring process's peak resident memory\n",
                runs);
    bool ok = benchFile("RSS 2.0, " + std::to_string(rssItems) + " items", rss, rssItems, runs) &&
              benchFile("podcast, " + std::to_string(podcastItems) + " items", podcast,
                        podcastItems, runs) &&
              (!curve || benchCurve(dir, rssItems, runs));
    return ok ? 0 : 1;
}
