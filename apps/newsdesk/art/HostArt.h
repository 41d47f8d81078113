// The host program's pictures (host_art.rc), linked in as the bytes the
// resource compiler wrote.
#pragma once

namespace newsdesk::app {

// Adds the pictures to the program's own resources (beside any resource
// file the program registers). false when the bytes are not a resource file.
bool registerHostArt();

}  // namespace newsdesk::app
