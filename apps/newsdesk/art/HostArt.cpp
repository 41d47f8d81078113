#include "art/HostArt.h"

#include "win32/Loader.h"
#include "win32/Resources.h"

#include <cstddef>

// Defined by HostArt.S around the included .res file.
extern "C" const std::byte nd_host_art_begin[];
extern "C" const std::byte nd_host_art_end[];

namespace newsdesk::app {

bool registerHostArt() {
    return nd::win32::addModuleResources(GetModuleHandleW(nullptr), nd_host_art_begin,
                                         static_cast<size_t>(nd_host_art_end - nd_host_art_begin));
}

}  // namespace newsdesk::app
