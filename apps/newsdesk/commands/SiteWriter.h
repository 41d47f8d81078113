// The writer's lock of the --site folder for a command that changes the site.
#pragma once

#include "Commands.h"

#include "hostapp/site/SiteLock.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace newsdesk::app {

// Takes the lock of the site in folder for as long as the result lives,
// waiting a few seconds for another newsdesk to finish, then finishes or
// undoes an operation that one left half-done (said on one line). nullptr,
// the refusal said on one line, when it does not.
std::unique_ptr<lum::site::SiteLock> lockSite(CommandContext& context, const std::string& folder);
// The same for the open site (its root folder), or the --site folder as
// given when none is open.
std::unique_ptr<lum::site::SiteLock> lockOpenSite(CommandContext& context);

// Finishes or undoes an operation that a newsdesk stopped half-way through
// on the open site, saying which on err; nothing when another newsdesk
// holds the site.
void finishInterruptedOperation(std::ostream& err);

}  // namespace newsdesk::app
