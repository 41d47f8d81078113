// The host's record of files set aside when they were deleted, with the
// attributes they had, kept in the user's configuration folder.
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

#include <string>

class CLumRecycledDB {
  public:
    // settingsPath empty: the user's settings file (UserSettings.h).
    explicit CLumRecycledDB(std::string settingsPath = {});

    // Keeps the attributes of a file being set aside.
    BOOL Remember(const CString& path, DWORD attributes, DWORD reserved);
    // from: paths each ended by a NUL. TRUE when a record of the first path
    // is held.
    BOOL HasRecycleData(const CString& from);
    BOOL GetFileAttr(const CString& from, DWORD& attributes, DWORD& reserved);
    // Drops the record of the first path when its attributes are as given.
    BOOL DeleteSrc(const CString& from, DWORD attributes, DWORD reserved);

  private:
    std::string m_settingsPath;
};
