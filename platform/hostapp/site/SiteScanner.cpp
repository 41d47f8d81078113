#include "hostapp/site/SiteScanner.h"

#include "hostapp/feedxml/FeedProbe.h"
#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageLinks.h"
#include "hostapp/pages/PageText.h"
#include "hostapp/site/SiteDefinition.h"
#include "hostapp/urls/SiteLinkResolver.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <filesystem>
#include <set>
#include <unordered_map>

namespace lum::site {

namespace {

namespace fs = std::filesystem;

// Files changed between two commits. Small enough that a kill loses little,
// large enough that commits do not dominate a first scan.
constexpr size_t kBatch = 256;
// A first scan of at least this many files loads the links in bulk.
constexpr size_t kBulkLoad = 1000;
// Pages larger than this are listed but not parsed.
constexpr size_t kLargestPage = 64u << 20;
// What the feed test needs to see of a file that is not a page.
constexpr size_t kSniffBytes = 4096;

struct FolderEntry {
    std::string path;  // relative, '/'-separated
    std::string native;
    std::int64_t size = 0;
    std::int64_t mtime = 0;
};

bool isOwnFile(const std::string& relative) {
    return relative.rfind(kDatabaseFile, 0) == 0 || relative == "newsdesk-site.json";
}

// Hidden folders (.git, .svn, an editor's caches) are not served by a web
// server's default rules, so they are no part of the published site;
// .well-known is published on purpose.
bool isHiddenFolder(const fs::path& name) {
    std::string text = name.string();
    return text.size() > 1 && text.front() == '.' && text != ".well-known";
}

bool listFolder(const std::string& root, std::vector<FolderEntry>& entries, std::string& error) {
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        error = "cannot list site folder " + root + ": " + ec.message();
        return false;
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) {
            error = "cannot list site folder " + root + ": " + ec.message();
            return false;
        }
        std::error_code fileEc;
        if (it->is_directory(fileEc) && isHiddenFolder(it->path().filename())) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(fileEc)) {
            continue;
        }
        std::string native = it->path().string();
        std::string relative = it->path().lexically_relative(root).generic_string();
        if (relative.empty() || isOwnFile(relative)) {
            continue;
        }
        struct stat st {};
        if (::stat(native.c_str(), &st) != 0) {
            continue;  // gone while listing
        }
        entries.push_back(
            {std::move(relative), std::move(native), static_cast<std::int64_t>(st.st_size),
             static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.path < b.path; });
    return true;
}

// FNV-1a, 64 bits: tells a rewritten file with the same bytes from a changed one.
struct ContentHash {
    std::uint64_t value = 14695981039346656037ull;
    void add(const char* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            value = (value ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
        }
    }
};

// Hashes the whole file, keeping its first `keep` bytes. false when it
// cannot be read.
bool readFile(const std::string& native, size_t keep, std::string& kept, std::uint64_t& hash) {
    int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ContentHash h;
    kept.clear();
    std::string buffer(1 << 16, '\0');
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        h.add(buffer.data(), static_cast<size_t>(n));
        if (kept.size() < keep) {
            kept.append(buffer.data(), std::min(static_cast<size_t>(n), keep - kept.size()));
        }
    }
    ::close(fd);
    hash = h.value;
    return ok;
}

class Scan {
  public:
    Scan(SiteDatabase& db, const SiteLocation& site, ScanResult& result)
        : m_db(db), m_resolver(site.url, site.root, site.topPage), m_result(result) {}

    bool run(bool full, const ScanProgress& progress, const std::string& root, std::string& error) {
        std::vector<FolderEntry> entries;
        if (!listFolder(root, entries, error)) {
            return false;
        }
        m_result.files = entries.size();
        std::vector<FileRow> rows = m_db.allFiles();
        std::unordered_map<std::string, size_t> byPath;
        for (size_t i = 0; i < rows.size(); ++i) {
            m_ids.emplace(rows[i].path, rows[i].id);
            byPath.emplace(rows[i].path, i);
        }
        // Size and time first: a file that kept both is not opened.
        std::vector<std::pair<const FolderEntry*, const FileRow*>> work;
        std::set<std::string> seen;
        for (const auto& e : entries) {
            seen.insert(e.path);
            auto it = byPath.find(e.path);
            const FileRow* row = it == byPath.end() ? nullptr : &rows[it->second];
            if (full || !row || !row->present || row->size != e.size || row->mtime != e.mtime) {
                work.emplace_back(&e, row);
            }
        }
        std::vector<std::int64_t> gone;
        for (const auto& row : rows) {
            if (row.present && !seen.count(row.path)) {
                gone.push_back(row.id);
            }
        }
        // Into an empty link table the index by target is cheaper made once
        // at the end than kept up link by link. A scan killed before the end
        // leaves it to the next opening of the database, which makes it.
        const bool bulk = work.size() >= kBulkLoad && m_db.linkCount() == 0;
        size_t done = 0;
        for (size_t start = 0; start < work.size(); start += kBatch) {
            size_t end = std::min(work.size(), start + kBatch);
            bool ok = m_db.transaction([&] {
                if (bulk && start == 0 && !m_db.dropTargetIndex()) {
                    return false;
                }
                if (bulk && end == work.size() && !m_db.makeTargetIndex()) {
                    return false;
                }
                for (size_t i = start; i < end; ++i) {
                    if (!update(*work[i].first, work[i].second, full)) {
                        return false;
                    }
                }
                return true;
            });
            if (!ok) {
                error = "cannot update the site database: " + m_db.lastError();
                return false;
            }
            // Reported after the commit: what the bar shows is kept.
            for (size_t i = start; i < end; ++i) {
                if (progress) {
                    progress(++done, work.size(), work[i].first->path);
                }
            }
        }
        if (!gone.empty() && !m_db.transaction([&] {
                return std::all_of(gone.begin(), gone.end(),
                                   [&](std::int64_t id) { return m_db.markGone(id); });
            })) {
            error = "cannot update the site database: " + m_db.lastError();
            return false;
        }
        m_result.gone = gone.size();
        m_result.feeds = m_db.feeds().size();
        if (progress && work.empty()) {
            progress(0, 0, std::string());
        }
        return true;
    }

  private:
    std::int64_t idOf(const std::string& path) {
        auto it = m_ids.find(path);
        if (it != m_ids.end()) {
            return it->second;
        }
        std::int64_t id = m_db.fileId(path);
        if (id >= 0) {
            m_ids.emplace(path, id);
        }
        return id;
    }

    bool update(const FolderEntry& entry, const FileRow* stored, bool full) {
        const bool sheet = isStylesheetPath(entry.path);
        const bool page = sheet || isPagePath(entry.path);
        std::string bytes;
        std::uint64_t hash = 0;
        FileRow row = stored ? *stored : FileRow{};
        row.path = entry.path;
        if (row.id < 0 && (row.id = idOf(entry.path)) < 0) {
            return false;
        }
        ++m_result.read;
        if (!readFile(entry.native, page ? kLargestPage + 1 : kSniffBytes, bytes, hash)) {
            // Unreadable now (permissions, vanished): listed, nothing known.
            row.present = true;
            row.size = entry.size;
            row.mtime = -1;  // read again next time
            row.kind = page ? FileKind::Page : FileKind::Other;
            row.format = -1;
            return m_db.storeFile(row) && (!page || m_db.replaceLinks(row.id, {}));
        }
        bool same =
            stored && stored->present && stored->hash == hash && stored->mtime >= 0 && !full;
        row.present = true;
        row.size = entry.size;
        row.mtime = entry.mtime;
        row.hash = hash;
        if (same) {
            return m_db.storeFile(row);  // touched, not changed
        }
        if (page) {
            row.kind = FileKind::Page;
            row.format = -1;
            std::vector<std::pair<std::int64_t, std::string>> targets;
            row.title.clear();
            const bool tooLarge = bytes.size() > kLargestPage;
            if (sheet && !tooLarge) {
                // A stylesheet's references are resolved against its own URL.
                std::set<std::pair<std::int64_t, std::string>> unique;
                const std::string base = m_resolver.urlOf(entry.path);
                for (const auto& link : lum::page::stylesheetLinks(bytes)) {
                    auto target = m_resolver.resolveAgainst(base, link.url);
                    if (!target) {
                        continue;
                    }
                    std::int64_t id = idOf(*target);
                    if (id < 0) {
                        return false;
                    }
                    unique.emplace(id, link.element);
                }
                targets.assign(unique.begin(), unique.end());
                ++m_result.pagesParsed;
                return m_db.storeFile(row) && m_db.replaceLinks(row.id, targets);
            }
            std::string text =
                tooLarge || sheet ? std::string() : lum::page::decodePage(bytes).text;
            if (tooLarge || !lum::page::withinParseLimits(text)) {
                // Listed, with no links taken: parsing it could take hours.
                ++m_result.pagesSkipped;
            } else {
                auto links = lum::page::extractLinks(text);
                row.title = links.title;
                std::set<std::pair<std::int64_t, std::string>> unique;
                const std::string base = m_resolver.baseUrl(entry.path, links.base);
                for (const auto& link : links.links) {
                    auto target = m_resolver.resolveAgainst(base, link.url);
                    // A page's links to itself by name count: they must follow
                    // it when it moves.
                    if (!target) {
                        continue;
                    }
                    std::int64_t id = idOf(*target);
                    if (id < 0) {
                        return false;
                    }
                    unique.emplace(id, link.element);
                }
                targets.assign(unique.begin(), unique.end());
                ++m_result.pagesParsed;
            }
            return m_db.storeFile(row) && m_db.replaceLinks(row.id, targets);
        }
        row.kind = FileKind::Other;
        row.format = -1;
        row.title.clear();
        if (lum::site::mayBeXml(bytes)) {
            auto windows = nd::win32::toWindowsPath(entry.native);
            if (windows) {
                if (auto feed = probeFeed(CString(*windows))) {
                    row.kind = FileKind::Feed;
                    row.format = feed->format;
                    row.title = feed->title;
                }
            }
        }
        return m_db.storeFile(row);
    }

    SiteDatabase& m_db;
    SiteLinkResolver m_resolver;
    ScanResult& m_result;
    std::unordered_map<std::string, std::int64_t> m_ids;
};

}  // namespace

namespace {

std::string extensionOf(std::string_view path) {
    size_t dot = path.find_last_of("./\\");
    if (dot == std::string_view::npos || path[dot] != '.') {
        return {};
    }
    return std::string(path.substr(dot + 1));
}

}  // namespace

bool isPagePath(std::string_view path) {
    std::string ext = extensionOf(path);
    return strcasecmp(ext.c_str(), "html") == 0 || strcasecmp(ext.c_str(), "htm") == 0;
}

bool isStylesheetPath(std::string_view path) {
    return strcasecmp(extensionOf(path).c_str(), "css") == 0;
}

bool holdsLinks(std::string_view path) {
    return isPagePath(path) || isStylesheetPath(path);
}

bool scanSite(SiteDatabase& db, const SiteLocation& site, bool full, const ScanProgress& progress,
              ScanResult& result, std::string& error) {
    result = ScanResult{};
    Scan scan(db, site, result);
    return scan.run(full, progress, site.root, error);
}

}  // namespace lum::site
