// The application's path functions, on Windows paths ("Z:\dir\name.rss").
// Files are reached through the window system's drive mapping.
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

// Non-zero when a regular file exists at the path.
int is_file(const CString& path);

// true when both paths name readable files with equal bytes; false otherwise
// (also when either cannot be read).
bool cmp_file(const CString& path1, const CString& path2);

// The folder part of a path, with its trailing backslash ("Z:\a\b.rss" ->
// "Z:\a\"); empty when the path holds no separator.
CString getBasePath(const CString& path);

// The name part of a path ("Z:\a\b.rss" -> "b.rss"); the whole text when it
// holds no separator.
CString getBaseName(const CString& path);

// The extension of the name part without its dot ("Z:\a\b.MP3" -> "MP3");
// empty when the name has none ("Z:\a.d\b", "b.").
CString getBaseExt(const CString& path);

// true when the text ends with a backslash.
bool hasEndYenMark(const CString& path);

// Appends a backslash unless the text already ends with one. An empty text
// stays empty: there is no folder to mark.
void addLastYenMark(CString& path);

// Non-zero when path lies inside the folder root (or is root itself), by
// whole path components; names compare exactly, only the drive letter
// without regard to case.
int under_root_p(const CString& path, const CString& root);

// Copies the long-name form of the path into buffer (on this system every
// name is long; the path is normalised to backslashes). Returns the length,
// or the size needed (terminator included) when the buffer is too small, or 0
// when the path is empty or maps to nothing.
DWORD LumGetLongPathName(const char16_t* shortPath, char16_t* buffer, DWORD size);

// The path of the file itself when path names it through symbolic links;
// path unchanged when it names no link or the link leads nowhere.
CString LumGetFinalPathName(const CString& path);

class LumTempFile {
  public:
    // A path in folder that is not in use, formed from baseName
    // ("news.rss" -> "news~1.rss", "news~2.rss", ...; the extension ext
    // replaces the name's own when given). flags is reserved.
    static CString makeUniquePath(const CString& baseName, const CString& folder, int flags,
                                  const CString& ext);
};
