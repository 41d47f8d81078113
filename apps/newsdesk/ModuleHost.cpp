#include "ModuleHost.h"

#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "win32/Loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

namespace newsdesk::app {

namespace {

// The application's number for "open or create an RSS file for editing",
// which other modules (the welcome navigator among them) ask for.
constexpr int kOpenRssFileFunction = 40153;

}  // namespace

ModuleHost::~ModuleHost() {
    // The function lives in the module: it must not be offered once the
    // module is gone.
    auto* functions = CLumDllFunctionEngineer::getInstance();
    if (m_offeredEdit != nullptr &&
        functions->GetFunctionAddr(kOpenRssFileFunction) == m_offeredEdit) {
        functions->SetFunctionAddr(kOpenRssFileFunction, nullptr);
    }
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
    // As the application does: the module's open-and-edit entry answers to
    // its function number.
    if (auto edit = entry<lum::EditRssFileEntryFn>(lum::slot::EditRssFile)) {
        m_offeredEdit = reinterpret_cast<void*>(edit);
        CLumDllFunctionEngineer::getInstance()->SetFunctionAddr(kOpenRssFileFunction,
                                                                m_offeredEdit);
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
