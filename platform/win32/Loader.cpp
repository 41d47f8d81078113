#include "win32/Loader.h"

#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace nd::win32 {

HMODULE moduleHandleFor(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0) {
        return nullptr;
    }
    return static_cast<HMODULE>(info.dli_fbase);
}

}  // namespace nd::win32

namespace {

struct Search {
    const void* base;
    std::string path;
};

int findModule(struct dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<Search*>(data);
    // The base address of the first loaded segment is what dladdr reports as dli_fbase.
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            auto start =
                reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            if (start == search->base ||
                reinterpret_cast<const void*>(info->dlpi_addr) == search->base) {
                search->path = info->dlpi_name;
                return 1;
            }
            break;
        }
    }
    return 0;
}

}  // namespace

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Search search{module, {}};
    if (module != nullptr) {
        dl_iterate_phdr(findModule, &search);
    }
    if (search.path.empty()) {
        // The program itself has no name in the loader's list.
        char self[4096];
        ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
        search.path.assign(self, static_cast<size_t>(n));
    }
    auto windows = nd::win32::toWindowsPath(search.path);
    if (!windows) {
        SetLastError(ERROR_BAD_PATHNAME);
        return 0;
    }
    DWORD n = static_cast<DWORD>(std::min<size_t>(windows->size(), size - 1));
    std::copy_n(windows->data(), n, buffer);
    buffer[n] = u'\0';
    return n;
}

namespace {

int firstObject(struct dl_phdr_info* info, size_t, void* data) {
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            *static_cast<const void**>(data) =
                reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    }
    return 1;
}

}  // namespace

HMODULE GetModuleHandleW(LPCWSTR name) {
    if (name != nullptr) {
        return nullptr;
    }
    // The first object the dynamic linker reports is the program itself.
    const void* base = nullptr;
    dl_iterate_phdr(firstObject, &base);
    return static_cast<HMODULE>(const_cast<void*>(base));
}
