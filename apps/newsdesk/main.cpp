// newsdesk: stands in for the authoring application. Loads the RSS module,
// hands it the function table and runs one command through the table.
#include "CommandLine.h"
#include "Commands.h"
#include "ModuleHost.h"
#include "UiScript.h"
#include "hostapp/LumSiteMgr.h"
#include "res/HostResources.h"
#include "win32/PathMapping.h"

#include "win32/ScriptedDriver.h"

#include <cstring>
#include <iostream>

namespace {

using newsdesk::app::Command;

const Command kCommands[] = {
    {"info", "info", "show the module's path, its answer and the seven entry points",
     newsdesk::app::runInfo},
    {"format", "format FEED",
     "print the feed's format: -1 not XML, 0 RSS 1.0, 1 RSS 2.0, 2 podcast",
     newsdesk::app::runFormat},
    {"read", "read FEED", "print the record the module reads from the feed, as JSON",
     newsdesk::app::runRead},
    {"dialog", "dialog ID", "create a dialog template headlessly and print its controls",
     newsdesk::app::runDialog},
    {"strings", "strings", "print the module's string table", newsdesk::app::runStrings},
    {"write", "write RECORD.json FEED",
     "write a record in the JSON form read prints as a feed (missing keys take defaults)",
     newsdesk::app::runWrite},
    {"convert", "convert FEED --to F",
     "rewrite a feed in format F (rss1, rss2 or podcast), in place unless -o OUT",
     newsdesk::app::runConvert},
    {"rewrite", "rewrite FEED",
     "read a feed and write it back; an unchanged feed keeps its bytes and time",
     newsdesk::app::runRewrite},
    {"site", "site SUBCOMMAND",
     "with --site DIR: init --url URL [--name N], rebuild [--force], feeds, links PATH",
     newsdesk::app::runSite},
};

void printUsage(std::ostream& out) {
    out << "usage: newsdesk [--module PATH] [--site DIR] [--ui-script FILE] COMMAND "
           "[ARGS]\n\ncommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.usage << std::string(24 - std::strlen(c.usage), ' ') << c.summary << "\n";
    }
    out << "\noptions:\n  --module PATH           load the module from PATH instead of "
           "../lib/libnewsdesk.so\n"
           "  --site DIR              open the site in DIR (its newsdesk-site.json) for the "
           "command\n"
           "  --ui-script FILE        play the dialogs of the command from a JSON script\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto line = newsdesk::app::parseCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << "newsdesk: " << error << "\n";
        return 2;
    }
    if (line->help) {
        printUsage(std::cout);
        return 0;
    }
    if (line->command.empty()) {
        printUsage(std::cerr);
        return 2;
    }
    const Command* command = nullptr;
    for (const auto& c : kCommands) {
        if (line->command == c.name) {
            command = &c;
        }
    }
    if (command == nullptr) {
        std::cerr << "newsdesk: unknown command '" << line->command << "' (try --help)\n";
        return 2;
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
    }
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
    newsdesk::app::ModuleHost module;
    if (!module.load(line->modulePath.empty() ? newsdesk::app::defaultModulePath()
                                              : line->modulePath)) {
        std::cerr << "newsdesk: " << module.error() << "\n";
        return 1;
    }
    newsdesk::app::CommandContext context{module, line->args, std::cout, std::cerr, line->sitePath};
    int status = command->run(context);
    if (!line->uiScript.empty()) {
        nd::win32::setUiDriver(nullptr);
        if (driver.failed()) {
            std::cerr << "newsdesk: ui script: " << driver.firstFailure() << "\n";
            return 1;
        }
        auto unmet = driver.unmetExpectations();
        if (!unmet.empty()) {
            std::cerr << "newsdesk: ui script: " << unmet.front() << "\n";
            return 1;
        }
    }
    return status;
}
