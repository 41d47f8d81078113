// Saving many files at once so that each one is, at every moment, its old or
// its new content, with one sync of the file system for all of them instead
// of two syncs per file: revising the pages of a large site after a rename
// would otherwise wait on thousands of syncs.
#pragma once

#include "mfc/CString.h"

#include <string>
#include <string_view>
#include <vector>

namespace lum {

class AtomicFileBatch {
  public:
    AtomicFileBatch() = default;
    // What was added and not committed is discarded; the files stay as they were.
    ~AtomicFileBatch();
    AtomicFileBatch(const AtomicFileBatch&) = delete;
    AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;

    // Writes the new content of the existing regular file at path (a Windows
    // path) beside it under a temporary name. false, with the thread's last
    // error set and nothing left behind, when the file is missing, read-only
    // or the content cannot be written.
    bool add(const CString& path, std::string_view bytes);
    // Brings every added file's content to disk, then gives each file its new
    // content by a rename and syncs the folders. Returns the paths whose file
    // could not be replaced; each of them keeps its old content.
    std::vector<CString> commit();

  private:
    struct Pending {
        CString path;
        std::string native;
        std::string temp;
    };
    std::vector<Pending> m_pending;
};

}  // namespace lum
