#include "res/CompiledResources.h"

// Defined by CompiledResources.S around the included .res file.
extern "C" const std::byte nd_compiled_res_begin[];
extern "C" const std::byte nd_compiled_res_end[];

namespace newsdesk::res {

std::span<const std::byte> compiledResources() {
    return {nd_compiled_res_begin, nd_compiled_res_end};
}

}  // namespace newsdesk::res
