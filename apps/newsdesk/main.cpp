// newsdesk: stands in for the authoring application. Loads the RSS module,
// hands it the function table and runs one command through the table.
#include "CommandLine.h"
#include "Commands.h"
#include "ModuleHost.h"
#include "UiScript.h"

#include "win32/ScriptedDriver.h"

#include <cstring>
#include <iostream>

namespace {

using newsdesk::app::Command;

const Command kCommands[] = {
    {"info", "info", "show the module's path, its answer and the seven entry points",
     newsdesk::app::runInfo},
};

void printUsage(std::ostream& out) {
    out << "usage: newsdesk [--module PATH] [--ui-script FILE] COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.usage << std::string(24 - std::strlen(c.usage), ' ') << c.summary << "\n";
    }
    out << "\noptions:\n  --module PATH           load the module from PATH instead of "
           "../lib/libnewsdesk.so\n"
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
    newsdesk::app::CommandContext context{module, line->args, std::cout, std::cerr};
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
