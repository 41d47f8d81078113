// rename_bench: a feed that every page of a generated site links to is
// renamed by the host's file operation, the pages revised included, against
// reading and parsing those pages once with gumbo in the same run.
//
//   rename_bench [--pages N] [--dir FOLDER]
#include "hostapp/site/CLumFileOperation.h"
#include "hostapp/site/LumSiteMgr.h"
#include "win32/PathMapping.h"

#include <gumbo.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<fs::path> generateSite(const fs::path& root, int pages) {
    fs::remove_all(root);
    fs::create_directories(root / "feeds");
    std::ofstream(root / "newsdesk-site.json") << "{\"url\": \"https://bench.example/\"}";
    std::ofstream(root / "feeds" / "news.rss")
        << "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>News</title>"
           "</channel></rss>";
    std::vector<fs::path> written;
    for (int p = 0; p < pages; ++p) {
        fs::path folder = root / ("d" + std::to_string(p / 100));
        fs::create_directories(folder);
        std::string body;
        for (int k = 0; k < 20; ++k) {
            body += "<li><a href=\"p" + std::to_string(k) + ".html\">Page</a> " +
                    std::string(80, 't') + "</li>\n";
        }
        fs::path page = folder / ("p" + std::to_string(p) + ".html");
        std::ofstream(page, std::ios::binary)
            << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Page</title>\n"
               "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"../feeds/news.rss\">"
               "\n</head><body><ul>\n"
            << body << "</ul><a href=\"/feeds/news.rss\">news</a></body></html>\n";
        written.push_back(page);
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    int pages = 1000;
    fs::path dir = fs::temp_directory_path() / "newsdesk-rename-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--pages") {
            pages = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr, "usage: rename_bench [--pages N] [--dir D]\n");
            return 2;
        }
    }
    fs::path root = fs::absolute(dir / "site");
    auto written = generateSite(root, pages);
    auto windows = nd::win32::toWindowsPath(root.string());
    std::string error;
    if (!windows || !LumSiteMgr::openSite(CString(*windows), error)) {
        std::fprintf(stderr, "rename_bench: %s\n", error.c_str());
        return 1;
    }
    SiteMgr50* db = LumSiteMgr::getSiteMgr();
    lum::site::ScanResult result;
    if (!db || !db->rebuild(false, {}, result, error)) {
        std::fprintf(stderr, "rename_bench: %s\n", error.c_str());
        return 1;
    }

    auto start = std::chrono::steady_clock::now();
    for (const auto& path : written) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        gumbo_destroy_output(
            &kGumboDefaultOptions,
            gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size()));
    }
    double parse = secondsSince(start);

    CString from = db->windowsPath("feeds/news.rss");
    CString to = db->windowsPath("feeds/latest.rss");
    start = std::chrono::steady_clock::now();
    CLumSiteDDList nodes(10);
    CLumSiteDDNode node(from, to);
    std::vector<SiteRecCell50>* records = nullptr;
    db->GetBackLinks({2, db->UrlGetIDPath(from, 2)}, &records, 2);
    for (const auto& r : records ? *records : std::vector<SiteRecCell50>()) {
        node.m_pLinkList->AddTail({1, r.m_path});
    }
    db->DeleteVecRecCell(records);
    nodes.AddTail(node);
    CLumFileOperation operation;
    int renamed = operation.execute(nullptr, db, CLumFileOperation::kRename, from, to, &nodes);
    double rename = secondsSince(start);
    size_t revised =
        static_cast<size_t>(node.m_pLinkList->GetCount()) - operation.failures().size();
    LumSiteMgr::closeSite();
    if (!renamed || !operation.failures().empty()) {
        std::fprintf(stderr, "rename_bench: the rename failed\n");
        return 1;
    }
    std::printf("bare gumbo parse of %zu pages: %.3f s\n", written.size(), parse);
    std::printf("rename with %zu linking pages revised: %.3f s = %.2f x the parse\n", revised,
                rename, rename / parse);
    return 0;
}
