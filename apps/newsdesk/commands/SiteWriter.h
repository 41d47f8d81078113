// The writer's lock of the --site folder for a command that changes the site.
#pragma once

#include "Commands.h"

#include "hostapp/site/SiteLock.h"

#include <memory>
#include <string>

namespace newsdesk::app {

// Takes the lock of the site in folder for as long as the result lives,
// waiting a few seconds for another newsdesk to finish. nullptr, the refusal
// said on one line, when it does not.
std::unique_ptr<lum::site::SiteLock> lockSite(CommandContext& context, const std::string& folder);
// The same for the open site (its root folder), or the --site folder as
// given when none is open.
std::unique_ptr<lum::site::SiteLock> lockOpenSite(CommandContext& context);

}  // namespace newsdesk::app
