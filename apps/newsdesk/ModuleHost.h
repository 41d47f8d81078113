// Loads the RSS module the way the application does: dlopen, find the one
// export, hand it the function table. Commands are then called only through
// the table.
#pragma once

#include "hostapp/records/FunctionTable.h"
#include "win32/windows.h"

#include <array>
#include <string>

namespace newsdesk::app {

class ModuleHost {
  public:
    ModuleHost() = default;
    ~ModuleHost();
    ModuleHost(const ModuleHost&) = delete;
    ModuleHost& operator=(const ModuleHost&) = delete;

    // Loads the module and calls its export with kind 1 and this
    // application's revision. false with a one-line reason in error() when
    // the file cannot be loaded, has no export or refuses the table. Once
    // loaded, the module's EditRssFileEntry is offered as the application's
    // function 40153 (CLumDllFunctionEngineer) until the host goes.
    bool load(const std::string& modulePath);

    const std::string& error() const { return m_error; }
    const std::string& modulePath() const { return m_path; }
    int resultCode() const { return m_result; }
    const void* table() const { return m_table.data(); }
    // The loaded module's handle (its base address); null before a load.
    HMODULE moduleHandle() const { return m_module; }

    template <typename Fn>
    Fn entry(std::size_t offset) const {
        return lum::readSlot<Fn>(m_table.data(), offset);
    }

  private:
    void* m_handle = nullptr;
    HMODULE m_module = nullptr;
    std::string m_path;
    std::string m_error;
    int m_result = -1;
    void* m_offeredEdit = nullptr;
    alignas(void*) std::array<unsigned char, lum::kFunctionTableSize> m_table{};
};

// build/lib/libnewsdesk.so beside build/bin/newsdesk.
std::string defaultModulePath();

}  // namespace newsdesk::app
