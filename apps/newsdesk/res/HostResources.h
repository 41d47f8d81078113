// The host program's compiled resource script (host.rc), linked in as the
// bytes the resource compiler wrote.
#pragma once

namespace newsdesk::app {

// Hands the host's resources to the window system as the program's own, so
// that the application's dialogs find their templates. false when the bytes
// are not a resource file.
bool registerHostResources();

}  // namespace newsdesk::app
