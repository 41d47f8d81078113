// The module's compiled resource script (newsdesk.rc), linked in as the bytes
// the resource compiler wrote: the standard 32-bit .res format.
#pragma once

#include <cstddef>
#include <span>

namespace newsdesk::res {

std::span<const std::byte> compiledResources();

}  // namespace newsdesk::res
