// newsdesk: stands in for the authoring application. Loads the RSS module,
// hands it the function table and runs one command through the table.
#include "CommandLine.h"
#include "Commands.h"
#include "FrontEnd.h"
#include "ModuleHost.h"
#include "UiScript.h"
#include "hostapp/LumSiteMgr.h"
#include "win32/PathMapping.h"

#include "win32/ScriptedDriver.h"

#include <algorithm>
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
    {"dialog", "dialog ID [--png F]",
     "print a dialog template's controls; show it when dialogs are shown; --png F: a picture",
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
};

void printUsage(std::ostream& out) {
    out << "usage: newsdesk [--module PATH] [--site DIR] [--ui-script FILE] [--gui]\n"
           "                [--screenshots DIR] COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.usage << std::string(24 - std::strlen(c.usage), ' ') << c.summary << "\n";
    }
    out << "\noptions:\n  --module PATH           load the module from PATH instead of "
           "../lib/libnewsdesk.so\n"
           "  --site DIR              open the site in DIR (its newsdesk-site.json) for the "
           "command\n"
           "  --ui-script FILE        play the dialogs of the command from a JSON script\n"
           "  --gui                   show the dialogs of the command in real windows (needs a "
           "display)\n"
           "  --screenshots DIR       write DIR/NNN-<template id>.png of each dialog as it opens "
           "and\n"
           "                          after each script step that changes it (no display "
           "needed)\n";
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
    if (!line->sitePath.empty()) {
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
    newsdesk::app::FrontEnd frontEnd;
    bool wantsPng = line->command == "dialog" &&
                    std::find(line->args.begin(), line->args.end(), "--png") != line->args.end();
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
    newsdesk::app::CommandContext context{module, line->args, std::cout, std::cerr,
                                          shown ? &frontEnd : nullptr};
    int status = command->run(context);
    nd::win32::setUiDriver(nullptr);
    if (std::string why = frontEnd.picturesError(); !why.empty()) {
        std::cerr << "newsdesk: screenshots: " << why << "\n";
        return 1;
    }
    if (!line->uiScript.empty()) {
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
