#include "mfc/CFile.h"

#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <sys/stat.h>

BOOL CFile::GetStatus(const char16_t* path, CFileStatus& status) {
    auto native = path ? nd::win32::toNativePath(path) : std::nullopt;
    struct stat st {};
    if (!native || ::stat(native->c_str(), &st) != 0) {
        return FALSE;
    }
    status.m_ctime = CTime(st.st_ctime);
    status.m_mtime = CTime(st.st_mtime);
    status.m_atime = CTime(st.st_atime);
    status.m_size = static_cast<std::uint64_t>(st.st_size);
    DWORD attributes = GetFileAttributesW(path);
    status.m_attribute =
        attributes == INVALID_FILE_ATTRIBUTES ? 0 : static_cast<BYTE>(attributes & 0xFF);
    status.m_szFullName = path;
    return TRUE;
}
