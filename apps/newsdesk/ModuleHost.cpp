#include "ModuleHost.h"

#include "win32/Loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

namespace newsdesk::app {

ModuleHost::~ModuleHost() {
    if (m_handle != nullptr) {
        dlclose(m_handle);
    }
}

bool ModuleHost::load(const std::string& modulePath) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(modulePath, ec);
    m_path = ec ? modulePath : absolute.lexically_normal().string();
    if (!std::filesystem::is_regular_file(m_path, ec)) {
        m_error = "module not found: " + m_path;
        return false;
    }
    m_handle = dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* why = dlerror();
        m_error = "cannot load module " + m_path + ": " + (why ? why : "unknown error");
        return false;
    }
    auto set = reinterpret_cast<FSetFunctionAddressFn>(dlsym(m_handle, "FSetFunctionAddress"));
    if (set == nullptr) {
        m_error = "module " + m_path + " has no export FSetFunctionAddress";
        return false;
    }
    m_module = nd::win32::moduleHandleFor(reinterpret_cast<const void*>(set));
    m_result = set(m_table.data(), nullptr, 1, lum::kFunctionTableRevision);
    if (m_result != 0) {
        m_error = "module " + m_path + " refused the function table (result " +
                  std::to_string(m_result) + ")";
        return false;
    }
    return true;
}

std::string defaultModulePath() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "libnewsdesk.so";
    }
    return (self.parent_path().parent_path() / "lib" / "libnewsdesk.so").string();
}

}  // namespace newsdesk::app
