#include "hostapp/files/CKmxCommon.h"

#include "hostapp/files/PathUtil.h"
#include "win32/PathMapping.h"

#include <cstdlib>
#include <filesystem>

CString CKmxCommon::getProductFolder(int, int) {
    std::error_code ec;
    std::filesystem::path folder;
    if (const char* chosen = std::getenv("NEWSDESK_PRODUCT_FOLDER"); chosen && *chosen) {
        folder = chosen;
    } else {
        folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
        if (ec) {
            return CString();
        }
        // Installed, the program is PREFIX/bin/newsdesk and its data
        // PREFIX/share/newsdesk; in the build tree the data lies beside it.
        std::filesystem::path installed = folder.parent_path() / "share" / "newsdesk";
        if (std::filesystem::is_directory(installed, ec)) {
            folder = installed;
        }
    }
    auto windows = nd::win32::toWindowsPath(folder.string());
    if (!windows) {
        return CString();
    }
    CString path(*windows);
    addLastYenMark(path);
    return path;
}

CString CKmxCommon::getHelpFileNameLumpage() {
    return CString(u"newsdesk.chm");
}

CString CKmxCommon::getHKCULumpageBase() {
    return CString(u"Software\\newsdesk\\host");
}
