// list_bench: opening the site's feed file list against reading the same
// feeds one after another, on a generated site of feeds in one run. The list
// first asks the site database for the feeds (brought in step with the
// folder, nothing changed) and then reads each; the ratio is what that asking
// costs on top of the reading.
//
//   list_bench [--feeds N] [--items M] [--runs R] [--dir FOLDER]
#include "FeedGenerator.h"
#include "feed/FeedReaders.h"
#include "hostapp/records/CRSSChannel.h"
#include "hostapp/site/LumSiteMgr.h"
#include "sitefiles/CLumRssFileListDlg.h"
#include "win32/PathMapping.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    int feeds = 1000;
    int items = 20;
    int runs = 3;
    fs::path dir =
        fs::temp_directory_path() / ("newsdesk-list-bench-" + std::to_string(::getpid()));
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--feeds") {
            feeds = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--items") {
            items = std::max(0, std::atoi(argv[i + 1]));
        } else if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: list_bench [--feeds N] [--items M] [--runs R] [--dir FOLDER]\n");
            return 2;
        }
    }
    fs::path root = dir / "site";
    fs::remove_all(root);
    fs::create_directories(root / "feeds");
    std::ofstream(root / "newsdesk-site.json") << R"({"url": "https://bench.example/"})";
    std::vector<CString> paths;
    for (int i = 0; i < feeds; ++i) {
        fs::path file = root / "feeds" / ("feed" + std::to_string(i) + ".rss");
        auto kind =
            i % 4 == 0 ? newsdesk::bench::FeedKind::Podcast : newsdesk::bench::FeedKind::Rss20;
        if (!newsdesk::bench::writeFeedFile(file.string(), kind, static_cast<size_t>(items))) {
            std::fprintf(stderr, "list_bench: cannot write %s\n", file.c_str());
            return 1;
        }
        paths.emplace_back(nd::win32::toWindowsPath(file.string()).value_or(u""));
    }
    std::string error;
    auto windowsRoot = nd::win32::toWindowsPath(root.string());
    if (!windowsRoot || !LumSiteMgr::openSite(CString(*windowsRoot), error)) {
        std::fprintf(stderr, "list_bench: %s\n", error.c_str());
        return 1;
    }
    // The first scan is the site rebuild's work, measured by site_bench.
    std::vector<SiteRecCell50>* records = nullptr;
    if (!LumSiteMgr::GetRssInSite(&records)) {
        std::fprintf(stderr, "list_bench: %s\n", LumSiteMgr::siteDatabaseError().c_str());
        return 1;
    }
    LumSiteMgr::DeleteVecRecCell(records);

    using Clock = std::chrono::steady_clock;
    double read = 1e9, list = 1e9;
    size_t listed = 0;
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        for (CString& path : paths) {
            CRSSChannel channel;
            newsdesk::readRssFile(path, &channel);
        }
        read = std::min(read, std::chrono::duration<double>(Clock::now() - start).count());
        start = Clock::now();
        {
            CLumRssFileListDlg dialog(0, nullptr);
            listed = dialog.m_channels.size();
        }
        list = std::min(list, std::chrono::duration<double>(Clock::now() - start).count());
    }
    LumSiteMgr::closeSite();
    std::printf("reading %d feeds: %.3f s\n", feeds, read);
    std::printf("opening the file list (%zu feeds listed): %.3f s = %.2f x the reading\n", listed,
                list, list / read);
    fs::remove_all(dir);
    return listed == paths.size() ? 0 : 1;
}
