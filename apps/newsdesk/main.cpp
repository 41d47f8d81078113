// newsdesk: stands in for the authoring application. Loads the RSS module,
// hands it the function table and runs one command through the table.
#include "CommandLine.h"
#include "Commands.h"
#include "ModuleHost.h"
#include "art/HostArt.h"
#include "commands/SiteWriter.h"
#include "frontend/FrontEnd.h"
#include "frontend/UiScript.h"
#include "hostapp/site/LumSiteMgr.h"
#include "res/HostResources.h"
#include "win32/HeapPolicy.h"
#include "win32/PathMapping.h"

#include "win32/ScriptedDriver.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

using newsdesk::app::Command;

const Command kCommands[] = {
    {"info", "info", "show the module's path, its answer and the seven entry points",
     newsdesk::app::runInfo},
    {"format", "format FEED",
     "print the feed's format: -1 not XML, 0 RSS 1.0, 1 RSS 2.0, 2 podcast",
     newsdesk::app::runFormat,
     "FEED - reads the feed from standard input.\n"
     "A missing file, a folder or what is not a regular file is an error (status 1).\n"},
    {"read", "read FEED", "print the record the module reads from the feed, as JSON",
     newsdesk::app::runRead,
     "FEED - reads the feed from standard input. Paths are printed as given.\n"
     "A feed read only after a repair (undeclared HTML entity names, UTF-8 under another\n"
     "encoding's declaration) lists it in \"repaired\" and gets one line on stderr per repair.\n"},
    {"dialog", "dialog ID [--controls] [--png FILE]",
     "print a dialog template's controls and show the dialog", newsdesk::app::runDialog,
     "ID is one of the module's dialog templates (11900 to 11910). The dialog then opens in\n"
     "a window on the display, or is played from --ui-script or pictured by --screenshots,\n"
     "as a modal dialog that OK and Cancel end (status 2 without a display and without\n"
     "either). --controls only prints the controls. --png FILE writes a picture of the\n"
     "dialog as it opens, which is then shown only to a --ui-script. Neither needs a display.\n"},
    {"strings", "strings", "print the module's string table", newsdesk::app::runStrings},
    {"write", "write [--allow-incomplete] RECORD.json FEED",
     "write a record in the JSON form read prints as a feed", newsdesk::app::runWrite,
     "Keys are those read prints; an unknown key or a value of the wrong type or range is\n"
     "refused. A record without a format, title, description or link is written only\n"
     "with --allow-incomplete. An existing FEED is replaced atomically.\n"},
    {"convert", "convert FEED --to rss1|rss2|podcast [-o OUT] [--strict]",
     "rewrite a feed in another format, in place unless -o OUT", newsdesk::app::runConvert,
     "An existing OUT is replaced atomically; FEED is then left as it is. What the feed\n"
     "carries beyond the record (guid, content:encoded, dc:*, media:*, further iTunes tags)\n"
     "is kept where the new format can carry it; what it cannot is listed on stderr, one\n"
     "line per kind (\"dropped: 12 guid\"), and so is what the new format requires and\n"
     "the feed lacks (\"missing: 3 item links\"). --strict refuses instead (status 1,\n"
     "nothing written) when anything would be dropped or is missing. Categories that name\n"
     "no iTunes category stay plain <category> elements of a podcast (\"plain: 2 category\").\n"},
    {"check", "check [--json] FEED", "say what makes a feed invalid RSS 1.0, RSS 2.0 or podcast",
     newsdesk::app::runCheck,
     "The feed is read as read reads it, then judged by the rules of its format: required\n"
     "elements and attributes; URL, e-mail, date, language, MIME type and number forms;\n"
     "enclosures; iTunes categories outside the table; elements given twice; elements a\n"
     "known namespace does not define. One line per problem, FEED:LINE:COLUMN: error: ...,\n"
     "then a summary. Status 0 when valid (warnings allowed), 1 with problems. --json\n"
     "prints {feed, format, valid, problems: [{line, column, severity, message}]}.\n"},
    {"rewrite", "rewrite [--quiet] FEED",
     "read a feed and write it back; prints unchanged or written", newsdesk::app::runRewrite,
     "A feed whose rewritten form equals the file is left as it is, bytes and time\n"
     "(\"unchanged\"); otherwise it is replaced (\"written\"). --quiet prints nothing.\n"},
    {"edit", "edit [FEED]",
     "edit a feed (a new one without FEED) in the settings dialog and save it",
     newsdesk::app::runEdit,
     "The dialogs open in windows on the display; --ui-script plays them instead and\n"
     "--screenshots pictures them (no display needed). Without either and without a display\n"
     "the command refuses (status 2). Status 0 when the dialog was shown (OK or Cancel);\n"
     "1 when FEED is not a feed, a new feed got no name or the save failed (the old file\n"
     "is left as it was).\n"},
    {"options", "options [NAME [on|off]]",
     "print the host's user options or one of them, or set one", newsdesk::app::runOptions,
     "NAME is podcast-conversion (offer to convert a chosen audio file to MP3, on by\n"
     "default) or autodiscovery-site-url (add a feed's site URL to a page's feed link,\n"
     "off by default). The options are kept in $XDG_CONFIG_HOME/newsdesk/options.json\n"
     "(~/.config/...); a damaged settings file is never overwritten.\n"},
    {"media", "media FILE [--to-mp3]",
     "print a media file's type and playing time, or convert it to MP3", newsdesk::app::runMedia,
     "The type comes from /etc/mime.types, the playing time in seconds from the file.\n"
     "--to-mp3 writes NAME.mp3 (or NAME~1.mp3 ...) beside FILE and prints its path and\n"
     "whole seconds; a file that cannot be decoded leaves nothing behind.\n"},
    {"files", "files",
     "with --site DIR: the site's feed files, to create, copy, edit, rename and delete",
     newsdesk::app::runFiles,
     "The dialogs open in windows on the display, or are played from --ui-script (status 2\n"
     "without a display and without a script). Pages linking to a renamed or deleted feed\n"
     "are revised. After a change the site database is rebuilt; prints changed or\n"
     "unchanged.\n"},
    {"insert-link", "insert-link PAGE --at LINE:COLUMN",
     "put an RSS link at the cursor of a page, or edit the one there, and save the page",
     newsdesk::app::runInsertLink,
     "LINE:COLUMN is the cursor as an editor shows it (from 1; columns count characters).\n"
     "The insert-link dialog, the site's file list and the choosers open in windows on the\n"
     "display, or are played from --ui-script (status 2 without a display and a script).\n"
     "The page is saved in its own encoding, every byte outside the changed elements as\n"
     "it was; prints saved or unchanged. Status 1,\n"
     "with the page untouched, when it is not an HTML page, is binary, is not in the\n"
     "encoding it declares (or declares none and is not UTF-8), is read-only, the cursor\n"
     "lies outside its text or body, or it changed on disk while the dialog was open.\n"},
    {"welcome", "welcome", "show the welcome navigator and run what its buttons start",
     newsdesk::app::runWelcome,
     "The navigator opens in a window on the display (also `newsdesk` without a command),\n"
     "or is played from --ui-script (status 2 without a display and a script): resting\n"
     "the mouse on a button shows its explanation; its buttons create a feed, open one\n"
     "for editing (each in the settings dialog) or show a help topic. Status 0 when it\n"
     "was closed; 1 when a feed edited from it could not be saved (the old file is left\n"
     "as it was).\n"},
    {"site",
     "site init --url URL [--name NAME] | rebuild [--force] | feeds | links PATH | "
     "move [--dry-run] [--yes] FROM TO | check",
     "with --site DIR: make a site, rebuild its database, list its feeds or a file's linking "
     "pages, rename a file with its links, find references to missing files",
     newsdesk::app::runSite,
     "init writes DIR/newsdesk-site.json (never over one) and an empty site database.\n"
     "rebuild brings the database in step with the folder (a progress bar on a terminal);\n"
     "--force reads every file again and replaces a database that cannot be used.\n"
     "feeds and links answer as JSON, after bringing the database in step. PATH, FROM\n"
     "and TO may be relative to the site, as feeds prints them, or to the current folder.\n"
     "move renames FROM to TO (never over a file) and revises every page linking to it;\n"
     "it prints the pages revised and any it could not revise (exit status 1 then);\n"
     "--dry-run prints what it would do and changes nothing, --yes lets the site's top\n"
     "page follow the move. check lists every reference to a file of the site that is\n"
     "not there, with page, line and column (exit status 1 when there is one).\n"},
};

const Command* findCommand(const std::string& name) {
    for (const auto& c : kCommands) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

void printUsage(std::ostream& out) {
    out << "usage: newsdesk [--module PATH] [--site DIR] [--ui-script FILE] [--gui]\n"
           "                [--screenshots DIR] COMMAND [ARGS]\n"
           "       newsdesk COMMAND --help\n       newsdesk --version\n\ncommands:\n";
    for (const auto& c : kCommands) {
        // A long usage puts its summary on the next line, in the same column.
        std::string head = c.usage;
        constexpr std::size_t kColumn = 26;
        out << "  " << head
            << (head.size() < kColumn ? std::string(kColumn - head.size(), ' ')
                                      : "\n  " + std::string(kColumn, ' '))
            << c.summary << "\n";
    }
    out << "\noptions:\n  --module PATH             load the module from PATH instead of "
           "../lib/libnewsdesk.so\n"
           "  --site DIR                open the site in DIR (its newsdesk-site.json) for the "
           "command\n"
           "  --ui-script FILE          play the dialogs of the command from a JSON script\n"
           "  --gui                     show the dialogs of the command in real windows (the "
           "default on a\n"
           "                            display: DISPLAY or WAYLAND_DISPLAY)\n"
           "  --screenshots DIR         write DIR/NNN-<template id>.png of each dialog as it "
           "opens and\n"
           "                            after each script step that changes it (no display "
           "needed)\n"
           "  --version                 print the program's version\n";
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << newsdesk::app::usageLine(command) << "\n\n" << command.summary << "\n";
    if (command.details[0] != '\0') {
        out << "\n" << command.details;
    }
}

// Commands a person answers in dialogs. Without a script or pictures they
// show real windows, so a display must be there.
bool showsDialogs(const std::string& command) {
    for (const char* name : {"edit", "files", "insert-link", "welcome", "dialog"}) {
        if (command == name) {
            return true;
        }
    }
    return false;
}

// Whether `dialog` was given that option, which draws or prints the
// template without showing it.
bool dialogOption(const newsdesk::app::CommandLine& line, const char* option) {
    return line.command == "dialog" &&
           std::find(line.args.begin(), line.args.end(), option) != line.args.end();
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Merged as they are freed, the small blocks of a large feed's tree and
    // texts make `newsdesk read` of a 100,000-item feed a fifth faster.
    nd::heap::mergeSmallBlocksOnFree();
    std::string error;
    auto line = newsdesk::app::parseCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << "newsdesk: " << error << "\n";
        return 2;
    }
    if (line->version) {
        std::cout << "newsdesk " << NEWSDESK_VERSION << "\n";
        return 0;
    }
    const Command* command = line->command.empty() ? nullptr : findCommand(line->command);
    if (line->help && command == nullptr) {
        printUsage(std::cout);
        return 0;
    }
    bool bare = line->uiScript.empty() && line->screenshots.empty();
    if (line->command.empty() && bare && !line->help &&
        (line->gui || newsdesk::app::FrontEnd::displayPresent())) {
        // Started from a desktop without a command: the RSS feature's start page.
        line->command = "welcome";
        line->gui = true;
        command = findCommand(line->command);
    }
    if (line->command.empty()) {
        printUsage(std::cerr);
        return 2;
    }
    if (command == nullptr) {
        std::vector<std::string> names;
        for (const auto& c : kCommands) {
            names.emplace_back(c.name);
        }
        std::string near = newsdesk::app::closestName(line->command, names);
        std::cerr << "newsdesk: unknown command '" << line->command << "'"
                  << (near.empty() ? "" : "; did you mean " + near + "?") << " (try --help)\n";
        return 2;
    }
    // Help needs no module, no site and no script.
    if (line->help || wantsHelp(line->args)) {
        printCommandHelp(*command, std::cout);
        return 0;
    }
    bool wantsPng = dialogOption(*line, "--png");
    // On a desktop the dialogs of a command open in real windows unless a
    // script plays them or pictures are asked for. Without a display --gui
    // is not tried: the command refuses where it would show a dialog, with
    // the same line as without --gui (see needsSomeoneToAnswer), after any
    // mistake in its arguments has been named.
    bool showsNothing = wantsPng || dialogOption(*line, "--controls");
    if (!showsDialogs(line->command) || showsNothing ||
        !newsdesk::app::FrontEnd::displayPresent()) {
        line->gui = false;
    } else if (bare) {
        line->gui = true;
    }
    if (!newsdesk::app::registerHostResources()) {
        std::cerr << "newsdesk: the program's own resources are damaged\n";
        return 1;
    }
    if (!line->sitePath.empty() && !newsdesk::app::opensItsOwnSite(line->command, line->args)) {
        auto folder = nd::win32::toWindowsPath(line->sitePath);
        std::string siteError = "no site folder " + line->sitePath;
        if (!folder || !LumSiteMgr::openSite(CString(*folder), siteError)) {
            std::cerr << "newsdesk: " << siteError << "\n";
            return 1;
        }
        // Before anything reads the site, so that no command sees the
        // broken links of an operation cut short.
        newsdesk::app::finishInterruptedOperation(std::cerr);
    }
    // The application's pictures: its icon and the navigator buttons' faces.
    (void)newsdesk::app::registerHostArt();
    // Dialogs of the command are played from the script; anything the script
    // did not foresee stops the run instead of waiting for a person.
    nd::win32::ScriptedDriver driver(nullptr);
    if (!line->uiScript.empty()) {
        if (!newsdesk::app::loadUiScript(line->uiScript, driver, error)) {
            std::cerr << "newsdesk: ui script " << error << "\n";
            return 2;
        }
        nd::win32::setUiDriver(&driver);
    }
    newsdesk::app::FrontEnd frontEnd;
    bool shown = false;
    if (line->gui) {
        shown = frontEnd.startDesktop(error);
    } else if (!line->screenshots.empty() || wantsPng) {
        shown = frontEnd.startPictures(line->screenshots,
                                       line->uiScript.empty() ? nullptr : &driver, error);
    }
    if ((line->gui || !line->screenshots.empty() || wantsPng) && !shown) {
        std::cerr << "newsdesk: " << error << "\n";
        return 1;
    }
    if (frontEnd.driver()) {
        nd::win32::setUiDriver(frontEnd.driver());
    }
    newsdesk::app::ModuleHost module;
    if (!module.load(line->modulePath.empty() ? newsdesk::app::defaultModulePath()
                                              : line->modulePath)) {
        std::cerr << "newsdesk: " << module.error() << "\n";
        return 1;
    }
    newsdesk::app::CommandContext context{module,        line->args, std::cout,
                                          std::cerr,     command,    shown ? &frontEnd : nullptr,
                                          line->sitePath};
    int status = command->run(context);
    nd::win32::setUiDriver(nullptr);
    if (std::string why = frontEnd.picturesError(); !why.empty()) {
        std::cerr << "newsdesk: screenshots: " << why << "\n";
        return 1;
    }
    // A usage error is the answer, and so is a refusal before any dialog
    // opened: the dialogs the script expected were never meant to open.
    if (!line->uiScript.empty() && status != 2) {
        if (driver.failed()) {
            std::cerr << "newsdesk: ui script: " << driver.firstFailure() << "\n";
            return 1;
        }
        auto unmet = driver.unmetExpectations();
        if (status == 0 && !unmet.empty()) {
            std::cerr << "newsdesk: ui script: " << unmet.front() << "\n";
            return 1;
        }
    }
    return status;
}
