#include "res/HostResources.h"

#include "win32/Loader.h"
#include "win32/Resources.h"

#include <cstddef>

// Defined by HostResources.S around the included .res file.
extern "C" const std::byte nd_host_res_begin[];
extern "C" const std::byte nd_host_res_end[];

namespace newsdesk::app {

bool registerHostResources() {
    return nd::win32::registerModuleResources(
        GetModuleHandleW(nullptr), nd_host_res_begin,
        static_cast<size_t>(nd_host_res_end - nd_host_res_begin));
}

}  // namespace newsdesk::app
