// The framework's file status query.
#pragma once

#include "mfc/CString.h"
#include "mfc/CTime.h"

#include <cstdint>

struct CFileStatus {
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    std::uint64_t m_size = 0;
    BYTE m_attribute = 0;
    CString m_szFullName;
};

class CFile {
  public:
    // TRUE when something exists at the path and its status was read.
    static BOOL GetStatus(const char16_t* path, CFileStatus& status);
};
