// newsdesk --site DIR site init|rebuild|feeds|links|move|check: the site's
// definition, its database, what the database answers, a file renamed with
// its linking pages, and the references that reach no file.
#include "CommandLine.h"
#include "Commands.h"
#include "FeedFiles.h"
#include "commands/SiteWriter.h"
#include "frontend/TerminalProgress.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/AtomicFile.h"
#include "hostapp/site/CLumFileOperation.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SiteCheck.h"
#include "hostapp/site/SiteDefinition.h"
#include "hostapp/ui/CLumSiteRebuildProgressDlg.h"
#include "hostapp/urls/UrlUtil.h"
#include "mfc/AfxMessageBox.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace newsdesk::app {

namespace {

void printJson(CommandContext& context, const nlohmann::json& json) {
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

int init(CommandContext& context) {
    std::string url;
    std::string name;
    for (size_t i = 1; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        // An empty value would quietly mean "none", the opposite of what
        // was asked for.
        if ((arg == "--url" || arg == "--name") && i + 1 < context.args.size() &&
            !context.args[i + 1].empty()) {
            (arg == "--url" ? url : name) = context.args[++i];
        } else if (arg.rfind("--", 0) == 0 && arg != "--url" && arg != "--name") {
            return unknownOption(context, arg);
        } else {
            return usageError(context);
        }
    }
    if (url.empty()) {
        return usageError(context);
    }
    if (!isWebSiteUrl(CString::fromUtf8(url))) {
        context.err << "newsdesk: site url " << url << " is not an http or https URL\n";
        return 2;
    }
    if (url.find_first_of("?#") != std::string::npos) {
        context.err << "newsdesk: site url " << url
                    << " has a ? or # part; it is the address of the site's folder\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::path folder =
        std::filesystem::absolute(context.sitePath, ec).lexically_normal();
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        context.err << "newsdesk: cannot make site folder " << folder.string() << "\n";
        return 1;
    }
    auto lock = lockSite(context, folder.string());
    if (!lock) {
        return 1;
    }
    std::filesystem::path definition = folder / "newsdesk-site.json";
    if (std::filesystem::exists(definition, ec)) {
        context.err << "newsdesk: " << definition.string() << " already exists\n";
        return 1;
    }
    nlohmann::json json = {{"url", url}};
    if (!name.empty()) {
        json["name"] = name;
    }
    auto windowsFolder = nd::win32::toWindowsPath(folder.string());
    auto windowsFile = nd::win32::toWindowsPath(definition.string());
    if (!windowsFolder || !windowsFile ||
        !lum::writeFileAtomically(CString(*windowsFile), json.dump(2) + "\n", false)) {
        context.err << "newsdesk: cannot write " << definition.string() << ": "
                    << saveFailureReason(GetLastError(), definition.string()) << "\n";
        return 1;
    }
    std::string error;
    if (!LumSiteMgr::openSite(CString(*windowsFolder), error) ||
        !LumSiteMgr::openSiteDatabase(lum::site::SiteDatabase::OpenMode::Create, error)) {
        context.err << "newsdesk: " << error << "\n";
        return 1;
    }
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    printJson(context, {{"folder", folder.string()},
                        {"name", info.siteName.toUtf8()},
                        {"url", info.siteUrl.toUtf8()},
                        {"topPage", info.topPage.toUtf8()}});
    return 0;
}

int rebuild(CommandContext& context) {
    bool force = false;
    for (size_t i = 1; i < context.args.size(); ++i) {
        if (context.args[i] != "--force") {
            return context.args[i].rfind("--", 0) == 0 ? unknownOption(context, context.args[i])
                                                       : usageError(context);
        }
        force = true;
    }
    auto lock = lockOpenSite(context);
    if (!lock) {
        return 1;
    }
    TerminalProgress bar(context.err, ::isatty(STDERR_FILENO) != 0);
    CLumSiteRebuildProgressDlg::setProgressListener(
        [&](size_t done, size_t total, const std::string&) { bar.show(done, total); });
    CLumSiteRebuildProgressDlg dlg(nullptr, force ? CLumSiteRebuildProgressDlg::kRebuildFull |
                                                        CLumSiteRebuildProgressDlg::kReplaceBroken
                                                  : 0);
    INT_PTR result = dlg.DoModal();
    CLumSiteRebuildProgressDlg::setProgressListener({});
    bar.finish();
    if (result != IDOK) {
        context.err << "newsdesk: " << dlg.lastError() << "\n";
        return 1;
    }
    const auto& r = dlg.result();
    printJson(context, {{"files", r.files},
                        {"read", r.read},
                        {"pagesParsed", r.pagesParsed},
                        {"pagesSkipped", r.pagesSkipped},
                        {"feeds", r.feeds},
                        {"gone", r.gone}});
    return 0;
}

// The database brought in step with the folder, for a question about it.
SiteMgr50* currentDatabase(CommandContext& context) {
    SiteMgr50* db = LumSiteMgr::getSiteMgr();
    if (!db) {
        context.err << "newsdesk: " << LumSiteMgr::siteDatabaseError() << "\n";
        return nullptr;
    }
    lum::site::ScanResult result;
    std::string error;
    if (!db->rebuild(false, {}, result, error)) {
        context.err << "newsdesk: " << error << "\n";
        return nullptr;
    }
    return db;
}

int feeds(CommandContext& context) {
    if (context.args.size() != 1) {
        return usageError(context);
    }
    SiteMgr50* db = currentDatabase(context);
    if (!db) {
        return 1;
    }
    nlohmann::json list = nlohmann::json::array();
    for (const auto& row : db->database().feeds()) {
        list.push_back({{"path", row.path}, {"title", row.title}, {"format", row.format}});
    }
    printJson(context, list);
    return 0;
}

// Where a path given to a site command points. Paths the site commands
// print are relative to the site's folder, and a person types paths from the
// current folder: a relative path names the file from the current folder
// when one is there, else from the site's folder (fromSite then says so).
// The same base is used for a second path when base is given.
std::string siteArgument(SiteMgr50* db, const std::string& given, bool& fromSite,
                         const bool* base = nullptr) {
    std::error_code ec;
    std::filesystem::path here = std::filesystem::absolute(given, ec).lexically_normal();
    auto root = nd::win32::toNativePath(db->windowsPath("").view());
    std::filesystem::path inSite =
        root ? (std::filesystem::path(*root) / given).lexically_normal() : here;
    if (base != nullptr) {
        fromSite = *base && std::filesystem::path(given).is_relative();
    } else {
        fromSite = std::filesystem::path(given).is_relative() &&
                   !std::filesystem::exists(here, ec) && std::filesystem::exists(inSite, ec);
    }
    return (fromSite ? inSite : here).string();
}

int links(CommandContext& context) {
    if (context.args.size() != 2) {
        return usageError(context);
    }
    SiteMgr50* db = currentDatabase(context);
    if (!db) {
        return 1;
    }
    bool fromSite = false;
    std::string native = siteArgument(db, context.args[1], fromSite);
    auto windows = nd::win32::toWindowsPath(native);
    std::string relative = windows ? db->relativePath(CString(*windows)) : std::string();
    if (relative.empty()) {
        context.err << "newsdesk: " << context.args[1] << " is not inside the site\n";
        return 1;
    }
    nlohmann::json list = nlohmann::json::array();
    auto row = db->database().fileByPath(relative);
    if (row) {
        for (const auto& link : db->database().backLinks(row->id)) {
            if (list.empty() || list.back()["path"] != link.page) {
                list.push_back({{"path", link.page}, {"elements", nlohmann::json::array()}});
            }
            list.back()["elements"].push_back(link.element);
        }
    }
    printJson(context, list);
    return 0;
}

// Every reference of the site's pages and stylesheets to a file of the site
// that is not there, where it is written; exit status 1 when there is one.
int check(CommandContext& context) {
    if (context.args.size() != 1) {
        return usageError(context);
    }
    SiteMgr50* db = currentDatabase(context);
    if (!db) {
        return 1;
    }
    nlohmann::json list = nlohmann::json::array();
    for (const auto& broken : lum::site::findBrokenReferences(db->database(), db->location())) {
        list.push_back({{"page", broken.page},
                        {"line", broken.line},
                        {"column", broken.column},
                        {"element", broken.element},
                        {"url", broken.url},
                        {"missing", broken.target}});
    }
    printJson(context, list);
    return list.empty() ? 0 : 1;
}

// The pages a file operation changed (or would change), each with its links
// before and after.
nlohmann::json revisedPages(SiteMgr50& db, const CLumFileOperation& operation) {
    nlohmann::json pages = nlohmann::json::array();
    for (const auto& revision : operation.revisions()) {
        nlohmann::json links = nlohmann::json::array();
        for (const auto& link : revision.links) {
            links.push_back({{"element", link.element}, {"from", link.from}, {"to", link.to}});
        }
        pages.push_back({{"path", db.relativePath(revision.page)}, {"links", links}});
    }
    return pages;
}

// A file of the site renamed on disk, every page linking to it revised to
// follow: the host's own file operation, without the module's file list.
// --dry-run works the same out and changes nothing.
int move(CommandContext& context) {
    std::vector<std::string> names;
    bool dryRun = false;
    bool yes = false;
    for (size_t i = 1; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--dry-run") {
            dryRun = true;
        } else if (arg == "--yes") {
            yes = true;
        } else if (arg.rfind("--", 0) == 0) {
            return unknownOption(context, arg);
        } else {
            names.push_back(arg);
        }
    }
    if (names.size() != 2) {
        return usageError(context);
    }
    // A preview changes nothing and does not wait for another newsdesk.
    std::unique_ptr<lum::site::SiteLock> lock;
    if (!dryRun && !(lock = lockOpenSite(context))) {
        return 1;
    }
    SiteMgr50* db = currentDatabase(context);
    if (!db) {
        return 1;
    }
    CString paths[2];
    bool fromSite = false;
    for (int i = 0; i < 2; ++i) {
        // TO is read from where FROM was found.
        bool base = fromSite;
        std::string native = siteArgument(db, names[i], fromSite, i == 0 ? nullptr : &base);
        auto windows = nd::win32::toWindowsPath(native);
        if (!windows || db->relativePath(CString(*windows)).empty()) {
            context.err << "newsdesk: " << names[i] << " is not inside the site\n";
            return 1;
        }
        paths[i] = CString(*windows);
    }
    if (!std::filesystem::is_regular_file(*nd::win32::toNativePath(paths[0].view()))) {
        context.err << "newsdesk: " << names[0] << " is not a file\n";
        return 1;
    }
    if (std::filesystem::exists(*nd::win32::toNativePath(paths[1].view()))) {
        context.err << "newsdesk: " << names[1] << " already exists\n";
        return 1;
    }
    CLumSiteDDList nodes(10);
    CLumSiteDDNode node(paths[0], paths[1]);
    auto row = db->database().fileByPath(db->relativePath(paths[0]));
    if (row) {
        // The page's links to itself are revised with the rest of its own.
        std::string last = row->path;
        for (const auto& link : db->database().backLinks(row->id)) {
            if (link.page != last && link.page != row->path) {
                node.m_pLinkList->AddTail({1, db->windowsPath(link.page)});
                last = link.page;
            }
        }
    }
    nodes.AddTail(node);
    CLumFileOperation* operation = CLumAppEngineer::getInstance()->getFileOperation();
    bool done = dryRun ? operation->preview(db, paths[0], paths[1], &nodes)
                       : operation->execute(nullptr, db, CLumFileOperation::kRename, paths[0],
                                            paths[1], &nodes);
    if (!done) {
        context.err << "newsdesk: " << names[0] << " could not be moved to " << names[1] << ": "
                    << operation->error() << "\n";
        // Each page in the way on its own line, so that all can be fixed at once.
        if (operation->obstacles().size() > 1) {
            for (const auto& obstacle : operation->obstacles()) {
                context.err << "newsdesk:   " << db->relativePath(obstacle.page) << ": "
                            << obstacle.reason << "\n";
            }
        }
        return 1;
    }
    nlohmann::json failed = nlohmann::json::array();
    for (const auto& failure : operation->failures()) {
        failed.push_back({{"path", db->relativePath(failure.page)}, {"reason", failure.reason}});
    }
    nlohmann::json folders = nlohmann::json::array();
    for (const CString& folder : operation->madeFolders()) {
        folders.push_back(db->relativePath(folder));
    }
    nlohmann::json report = {{"from", db->relativePath(paths[0])},
                             {"to", db->relativePath(paths[1])},
                             {"failed", failed}};
    if (!folders.empty()) {
        report["folders"] = folders;
    }
    std::string from = db->relativePath(paths[0]);
    std::string to = db->relativePath(paths[1]);
    std::string topPage = db->location().topPage;
    std::replace(topPage.begin(), topPage.end(), '\\', '/');
    const bool movedTopPage = from == topPage;
    if (dryRun) {
        report["dryRun"] = true;
        report["revised"] = revisedPages(*db, *operation);
        if (movedTopPage) {
            context.err << "newsdesk: warning: " << from
                        << " is the site's top page; moved, the site would have none\n";
        }
        printJson(context, report);
        return failed.empty() ? 0 : 1;
    }
    auto failedPage = [&](const CString& page) {
        for (const auto& failure : operation->failures()) {
            if (failure.page == page) {
                return true;
            }
        }
        return false;
    };
    nlohmann::json revised = nlohmann::json::array();
    if (operation->movedPageRevised() && !failedPage(paths[1])) {
        revised.push_back(db->relativePath(paths[1]));
    }
    const CLumSiteDDNode& moved = nodes.GetHead();
    for (POSITION pos = moved.m_pLinkList->GetHeadPosition(); pos;) {
        const CString& page = moved.m_pLinkList->GetNext(pos).m_strPath;
        if (!failedPage(page)) {
            revised.push_back(db->relativePath(page));
        }
    }
    report["revised"] = revised;
    std::string error;
    if (movedTopPage) {
        // The site has lost its top page: its folder URL now names nothing.
        // The definition follows the page only when the user says so.
        CString question = u"「";
        question += CString::fromUtf8(from);
        question += u"」はサイトのトップページです。\nサイトの定義のトップページを「";
        question += CString::fromUtf8(to);
        question += u"」に変えますか？";
        if (yes || AfxMessageBox(question.GetString(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
            SITE_INFO info;
            LumSiteMgr::getCurrentSiteInfo(info);
            if (!writeSiteTopPage(info.rootFolder, to, error) ||
                !LumSiteMgr::openSite(info.rootFolder, error) || !(db = LumSiteMgr::getSiteMgr())) {
                context.err << "newsdesk: "
                            << (error.empty() ? LumSiteMgr::siteDatabaseError() : error) << "\n";
                return 1;
            }
            report["topPage"] = to;
        } else {
            context.err << "newsdesk: warning: " << from
                        << " was the site's top page; the site definition still names it "
                           "(--yes makes "
                        << to << " the top page)\n";
        }
    }
    lum::site::ScanResult result;
    if (!db->rebuild(false, {}, result, error)) {
        context.err << "newsdesk: " << error << "\n";
        return 1;
    }
    printJson(context, report);
    return failed.empty() ? 0 : 1;
}

const std::vector<std::string> kVerbs = {"init", "rebuild", "feeds", "links", "move", "check"};

}  // namespace

// A verb that is not one is a usage error, said before any site is opened.
bool opensItsOwnSite(const std::string& command, const std::vector<std::string>& args) {
    return command == "site" && !args.empty() &&
           (args[0] == "init" || std::find(kVerbs.begin(), kVerbs.end(), args[0]) == kVerbs.end());
}

int runSite(CommandContext& context) {
    if (context.args.empty()) {
        return usageError(context);
    }
    const std::string& verb = context.args[0];
    if (std::find(kVerbs.begin(), kVerbs.end(), verb) == kVerbs.end()) {
        std::string near = closestName(verb, kVerbs);
        if (near.empty()) {
            return usageError(context);
        }
        context.err << "newsdesk: site: unknown command '" << verb << "'; did you mean " << near
                    << "? (try newsdesk site --help)\n";
        return 2;
    }
    if (context.sitePath.empty()) {
        context.err << "newsdesk: site " << verb << " needs --site DIR\n";
        return 2;
    }
    if (verb == "init") {
        return init(context);
    }
    if (verb == "rebuild") {
        return rebuild(context);
    }
    if (verb == "feeds") {
        return feeds(context);
    }
    if (verb == "links") {
        return links(context);
    }
    if (verb == "move") {
        return move(context);
    }
    if (verb == "check") {
        return check(context);
    }
    return usageError(context);
}

}  // namespace newsdesk::app
