// site_bench: the site rebuild on a generated site (pages linking to each
// other, to images and to feeds; feeds under several names), against a bare
// gumbo parse of all its pages measured in the same run: the first scan into
// a fresh database as a ratio to that parse, and a second scan with nothing
// changed in seconds.
//
//   site_bench [--pages N] [--feeds M] [--runs R] [--dir FOLDER]
#include "hostapp/site/SiteDatabase.h"
#include "hostapp/site/SiteScanner.h"

#include <gumbo.h>
#include <time.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Pages of a few kilobytes in folders of 100, each with an auto-discovery
// link, links to neighbours, a feed, an image, a script and text.
std::vector<fs::path> generateSite(const fs::path& root, int pages, int feeds) {
    fs::remove_all(root);
    fs::create_directories(root / "feeds");
    fs::create_directories(root / "img");
    writeFile(root / "newsdesk-site.json", "{\"url\": \"https://bench.example/\"}");
    const char* extensions[] = {".rss", ".xml", ".rdf", ".dat"};
    for (int f = 0; f < feeds; ++f) {
        std::string items;
        for (int i = 0; i < 10; ++i) {
            items += "<item><title>Item " + std::to_string(i) +
                     "</title><link>https://bench.example/d" + std::to_string(i) + "/p" +
                     std::to_string(i) + ".html</link><description>" + std::string(200, 'd') +
                     "</description></item>";
        }
        writeFile(root / "feeds" / ("f" + std::to_string(f) + extensions[f % 4]),
                  "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Feed " +
                      std::to_string(f) + "</title>" + items + "</channel></rss>");
    }
    for (int i = 0; i < 100; ++i) {
        writeFile(root / "img" / ("i" + std::to_string(i) + ".png"), std::string(3000, '\x89'));
    }
    std::vector<fs::path> written;
    for (int p = 0; p < pages; ++p) {
        fs::path folder = root / ("d" + std::to_string(p / 100));
        fs::create_directories(folder);
        int feed = feeds > 0 ? p % feeds : 0;
        std::string body;
        for (int k = 1; k <= 20; ++k) {
            int other = (p + k * 37) % pages;
            body += "<li><a href=\"../d" + std::to_string(other / 100) + "/p" +
                    std::to_string(other) + ".html\">Page " + std::to_string(other) + "</a> " +
                    std::string(80, 't') + "</li>\n";
        }
        std::string html =
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Page " +
            std::to_string(p) +
            "</title>\n<link rel=\"alternate\" type=\"application/rss+xml\" href=\"/feeds/f" +
            std::to_string(feed) + extensions[feed % 4] +
            "\">\n<script src=\"/site.js\"></script></head>\n<body><h1>Page</h1><img "
            "src=\"../img/i" +
            std::to_string(p % 100) + ".png\"><ul>\n" + body +
            "</ul><p><a href=\"https://bench.example/feeds/f" + std::to_string(feed) +
            extensions[feed % 4] + "\">feed</a></p></body></html>\n";
        fs::path path = folder / ("p" + std::to_string(p) + ".html");
        writeFile(path, html);
        written.push_back(path);
    }
    return written;
}

// Wall and processor time since a start: on a shared machine the
// processor time of this process is the steadier figure.
struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = cpuNow();
    static double cpuNow() {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    }
    double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuSeconds() const { return cpuNow() - cpu; }
};

struct Times {
    double wall = 1e30;
    double cpu = 1e30;
    void take(const Clock& c) {
        wall = std::min(wall, c.wallSeconds());
        cpu = std::min(cpu, c.cpuSeconds());
    }
};

// Reads and parses every page, as the scan must at least do.
size_t bareParse(const std::vector<fs::path>& pages) {
    size_t nodes = 0;
    for (const auto& path : pages) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        GumboOutput* out =
            gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
        nodes += out->root->v.element.children.length;
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    }
    return nodes;
}

}  // namespace

int main(int argc, char** argv) {
    int pages = 10000;
    int feeds = 1000;
    int runs = 3;
    fs::path dir = fs::temp_directory_path() / "newsdesk-site-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--pages") {
            pages = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--feeds") {
            feeds = std::max(0, std::atoi(argv[i + 1]));
        } else if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: site_bench [--pages N] [--feeds M] [--runs R] [--dir D]\n");
            return 2;
        }
    }
    fs::path root = dir / "site";
    std::printf("generating %d pages and %d feeds in %s\n", pages, feeds, root.c_str());
    auto written = generateSite(root, pages, feeds);
    lum::site::SiteLocation site{root.string(), "https://bench.example/", "index.html"};

    Times parse, first, second;
    lum::site::ScanResult firstResult, secondResult;
    for (int r = 0; r < runs; ++r) {
        Clock clock;
        if (bareParse(written) == 0) {
            std::fprintf(stderr, "site_bench: the pages did not parse\n");
            return 1;
        }
        parse.take(clock);
        for (const char* suffix : {"", "-wal", "-shm"}) {
            fs::remove(lum::site::SiteDatabase::databasePath(root.string()) + suffix);
        }
        std::string error;
        auto db = lum::site::SiteDatabase::open(root.string(),
                                                lum::site::SiteDatabase::OpenMode::Create, error);
        if (!db) {
            std::fprintf(stderr, "site_bench: %s\n", error.c_str());
            return 1;
        }
        clock = Clock();
        if (!lum::site::scanSite(*db, site, false, {}, firstResult, error)) {
            std::fprintf(stderr, "site_bench: %s\n", error.c_str());
            return 1;
        }
        first.take(clock);
        clock = Clock();
        lum::site::scanSite(*db, site, false, {}, secondResult, error);
        second.take(clock);
    }
    std::printf("bare gumbo parse of %zu pages: %.3f s (processor %.3f s)\n", written.size(),
                parse.wall, parse.cpu);
    std::printf(
        "first scan (%zu files, %zu pages parsed, %zu feeds): %.3f s = %.2f x the parse "
        "(processor %.3f s = %.2f x)\n",
        firstResult.files, firstResult.pagesParsed, firstResult.feeds, first.wall,
        first.wall / parse.wall, first.cpu, first.cpu / parse.cpu);
    std::printf("second scan, nothing changed (%zu files read): %.3f s (processor %.3f s)\n",
                secondResult.read, second.wall, second.cpu);
    return 0;
}
