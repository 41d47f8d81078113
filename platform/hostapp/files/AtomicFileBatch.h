// Saving many files at once so that each one is, at every moment, its old or
// its new content, with one sync of the file system for all of them instead
// of two syncs per file: revising the pages of a large site after a rename
// would otherwise wait on thousands of syncs.
#pragma once

#include "mfc/CString.h"

#include <functional>
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
    // With target (a Windows path), the content is written beside path, as
    // its new version, but takes target's name at commit: a file that moves
    // meanwhile from path to target.
    bool add(const CString& path, std::string_view bytes, const CString& target = CString());
    // Whether the existing regular file at path could be given new content
    // (it is not read-only, its folder takes new names); false with the
    // thread's last error set when not. Nothing is written.
    static bool canReplace(const CString& path);

    struct Pending {
        CString path;        // what takes the new content (the target when given)
        std::string native;  // the same, native
        std::string temp;    // where the new content waits, native
    };
    // What was added and not committed, in the order added.
    const std::vector<Pending>& pending() const { return m_pending; }
    // Brings every added file's content to disk. false when the file system
    // could not promise it; commit would then replace nothing.
    bool sync();
    // Brings every added file's content to disk (unless sync did), then gives
    // each file its new content by a rename, calling afterEach after each
    // one, and syncs the folders. Returns the paths whose file could not be
    // replaced; each of them keeps its old content.
    std::vector<CString> commit(const std::function<void()>& afterEach = {});

  private:
    std::vector<Pending> m_pending;
    bool m_synced = false;
};

}  // namespace lum
