#include "hostapp/site/SiteJournal.h"

#include "hostapp/files/AtomicFile.h"
#include "hostapp/files/FileErrors.h"
#include "hostapp/files/SaveLeftovers.h"
#include "hostapp/site/SiteDatabase.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

namespace lum::site {

namespace {

namespace fs = std::filesystem;

constexpr int kVersion = 1;

std::string relativeTo(const std::string& root, const std::string& native) {
    return fs::path(native).lexically_relative(root).generic_string();
}

// A path read back from the journal: only one inside the root is taken, so
// that a damaged journal cannot reach outside the site.
std::optional<std::string> underRoot(const std::string& root, const nlohmann::json& value) {
    if (!value.is_string()) {
        return std::nullopt;
    }
    fs::path relative(value.get<std::string>());
    if (relative.empty() || relative.is_absolute()) {
        return std::nullopt;
    }
    for (const fs::path& part : relative) {
        if (part == ".." || part == ".") {
            return std::nullopt;
        }
    }
    return (fs::path(root) / relative).string();
}

nlohmann::json relativeList(const std::string& root, const std::vector<std::string>& paths) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& path : paths) {
        list.push_back(relativeTo(root, path));
    }
    return list;
}

bool readList(const std::string& root, const nlohmann::json& json, const char* key,
              std::vector<std::string>& paths) {
    auto it = json.find(key);
    if (it == json.end() || !it->is_array()) {
        return false;
    }
    for (const nlohmann::json& value : *it) {
        auto path = underRoot(root, value);
        if (!path) {
            return false;
        }
        paths.push_back(*path);
    }
    return true;
}

std::optional<Journal> fromJson(const std::string& root, const nlohmann::json& json) {
    Journal journal;
    if (!json.is_object() || json.value("version", 0) != kVersion ||
        !json.value("staged", nlohmann::json()).is_boolean() ||
        !readList(root, json, "files", journal.files) || journal.files.empty() ||
        !readList(root, json, "folders", journal.folders)) {
        return std::nullopt;
    }
    const std::string operation = json.value("operation", "");
    if (operation == "move") {
        auto destination = underRoot(root, json.value("destination", nlohmann::json()));
        if (!destination || journal.files.size() != 1) {
            return std::nullopt;
        }
        journal.destination = *destination;
    } else if (operation == "delete") {
        journal.operation = Journal::Operation::Delete;
    } else {
        return std::nullopt;
    }
    journal.staged = json["staged"].get<bool>();
    auto pages = json.find("pages");
    if (pages == json.end() || !pages->is_array()) {
        return std::nullopt;
    }
    for (const nlohmann::json& page : *pages) {
        if (!page.is_object()) {
            return std::nullopt;
        }
        auto path = underRoot(root, page.value("path", nlohmann::json()));
        if (!path) {
            return std::nullopt;
        }
        Journal::Page entry{*path, {}};
        if (page.contains("staged")) {
            // Only a file named as our temporary files are is ever renamed or removed.
            auto staged = underRoot(root, page["staged"]);
            if (!staged || !isTemporaryName(*staged)) {
                return std::nullopt;
            }
            entry.staged = *staged;
        }
        journal.pages.push_back(std::move(entry));
    }
    return journal;
}

bool exists(const std::string& native) {
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0;
}

void syncFolders(const std::set<std::string>& folders) {
    for (const std::string& folder : folders) {
        int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}

// Whatever temporary files the operation's saves left beside its pages and files.
void removeTemporaries(const Journal& journal) {
    for (const Journal::Page& page : journal.pages) {
        removeAbandonedTemporaries(page.path);
        if (!page.staged.empty()) {
            ::unlink(page.staged.c_str());
        }
    }
    for (const std::string& file : journal.files) {
        removeAbandonedTemporaries(file);
    }
}

void undo(const Journal& journal) {
    removeTemporaries(journal);
    for (auto it = journal.folders.rbegin(); it != journal.folders.rend(); ++it) {
        ::rmdir(it->c_str());  // only while empty
    }
}

// Takes the operation to its end; false when a file that should have gone
// or a page that should have changed could not.
bool complete(const Journal& journal) {
    bool whole = true;
    std::set<std::string> folders;
    if (journal.operation == Journal::Operation::Delete) {
        for (const std::string& file : journal.files) {
            struct stat st {};
            if (::lstat(file.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
                ::unlink(file.c_str()) != 0) {
                whole = false;
            }
            folders.insert(fs::path(file).parent_path().string());
        }
    }
    for (const Journal::Page& page : journal.pages) {
        // A staged page already gone took its page's name before the stop.
        if (!page.staged.empty() && exists(page.staged) &&
            ::rename(page.staged.c_str(), page.path.c_str()) != 0) {
            whole = false;
        }
        folders.insert(fs::path(page.path).parent_path().string());
    }
    syncFolders(folders);
    removeTemporaries(journal);
    return whole;
}

std::string relativeNames(const std::string& root, const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files) {
        names += (names.empty() ? "" : ", ") + relativeTo(root, file);
    }
    return names;
}

}  // namespace

std::string journalPath(const std::string& root) {
    return (fs::path(root) / (std::string(kDatabaseFile) + ".journal")).string();
}

bool writeJournal(const std::string& root, const Journal& journal, std::string& error) {
    nlohmann::json json = {
        {"version", kVersion},
        {"operation", journal.operation == Journal::Operation::Move ? "move" : "delete"},
        {"staged", journal.staged},
        {"files", relativeList(root, journal.files)},
        {"folders", relativeList(root, journal.folders)},
        {"pages", nlohmann::json::array()}};
    if (journal.operation == Journal::Operation::Move) {
        json["destination"] = relativeTo(root, journal.destination);
    }
    for (const Journal::Page& page : journal.pages) {
        nlohmann::json entry = {{"path", relativeTo(root, page.path)}};
        if (!page.staged.empty()) {
            entry["staged"] = relativeTo(root, page.staged);
        }
        json["pages"].push_back(std::move(entry));
    }
    const std::string path = journalPath(root);
    std::string text;
    try {
        text = json.dump(1) + "\n";
    } catch (const nlohmann::json::exception&) {
        error = "cannot record the operation in " + path + ": a name is not UTF-8";
        return false;
    }
    auto windows = nd::win32::toWindowsPath(path);
    if (!windows || !writeFileAtomically(CString(*windows), text, true)) {
        error = "cannot record the operation in " + path + ": " + fileErrorReason(GetLastError());
        return false;
    }
    return true;
}

void clearJournal(const std::string& root) {
    const std::string path = journalPath(root);
    if (::unlink(path.c_str()) == 0) {
        syncFolders({root});
    }
}

std::string finishInterruptedOperation(const std::string& root) {
    const std::string path = journalPath(root);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::optional<Journal> journal;
    try {
        journal = fromJson(root, nlohmann::json::parse(text.str()));
    } catch (const nlohmann::json::exception&) {
    }
    if (!journal) {
        // Written whole or not at all: someone else's hand changed it. What
        // it would do cannot be trusted; it stays for a person to look at.
        return "cannot read the record of an interrupted operation, " + path +
               "; the site may need a look (site check)";
    }
    const bool move = journal->operation == Journal::Operation::Move;
    // The file is moved, or the first file deleted, only once every page's
    // new content is on disk: from there on the operation goes forward.
    bool begun = false;
    if (journal->staged) {
        for (const std::string& file : journal->files) {
            begun = begun || !exists(file);
        }
    }
    std::string what = move ? "move of " + relativeNames(root, journal->files) + " to " +
                                  relativeTo(root, journal->destination)
                            : "deletion of " + relativeNames(root, journal->files);
    std::string said;
    if (!begun) {
        undo(*journal);
        said = "rolled back an interrupted " + what;
    } else if (complete(*journal)) {
        said = "completed an interrupted " + what;
    } else {
        said = "completed an interrupted " + what + " as far as it could (see site check)";
    }
    clearJournal(root);
    return said;
}

void operationStep() {
    static const long stopAt = [] {
        const char* value = std::getenv("NEWSDESK_TEST_STOP_AT");
        return value ? std::strtol(value, nullptr, 10) : 0L;
    }();
    static long reached = 0;
    if (stopAt > 0 && ++reached == stopAt) {
        std::raise(SIGKILL);
    }
}

}  // namespace lum::site
