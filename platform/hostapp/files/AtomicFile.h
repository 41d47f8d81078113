// Writing a whole file so that readers only ever see the old or the new
// content: a temporary file in the same folder is written, flushed to disk,
// then renamed over the target.
#pragma once

#include "mfc/CString.h"

#include <functional>
#include <string_view>

namespace lum {

// Writes bytes to the file at path (a Windows path). With replace false an
// existing file is never overwritten; a read-only file is never replaced. A
// replaced file keeps its owner, group and permissions (ReplacedFile.h); a new
// one gets the usual ones for new files. false on any failure, with the thread's
// last error set, no temporary file left and any old file exactly as it was.
bool writeFileAtomically(const CString& path, std::string_view bytes, bool replace);

// The same with the content produced by writeContent, which writes it to the
// open temporary file fd and returns 0, or an errno value when it failed.
// Large documents are written as they are serialised, never held in memory
// whole.
bool writeFileAtomically(const CString& path, const std::function<int(int fd)>& writeContent,
                         bool replace);

// Writes all of bytes to fd: 0, or the errno value of the write that failed.
int writeAll(int fd, std::string_view bytes);

// For writeContent as it goes: the bytes of fd up to end are to be written to
// the disk now, without waiting for it, so that the flush before the rename
// finds little left to write. Nothing is asked when less than a few megabytes
// came since written, which is the end it was last asked for; written then
// becomes end.
void startWritingBack(int fd, long long& written, long long end);

}  // namespace lum
