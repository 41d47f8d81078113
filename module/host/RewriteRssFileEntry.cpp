// RewriteRssFileEntry: writes a channel back to its file for the
// application, leaving a file whose content would not change untouched.
//
// The outcome is left in the thread's last error, which the application
// reads after the call: ERROR_SUCCESS when the file now holds the channel
// (written or left as it was), else why the save failed.
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/files/ReplacedFile.h"
#include "hostapp/files/SaveLeftovers.h"
#include "hostapp/records/CRSSChannel.h"
#include "win32/FileApi.h"

namespace newsdesk {

namespace {

// A write that failed without saying why (an unknown format, a document
// that could not be built) still counts as a failure.
DWORD failureOfWrite() {
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_INVALID_DATA;
}

}  // namespace

void RewriteRssFileEntry(CString& path, CRSSChannel* channel) {
    if (channel == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    const CString file = LumGetFinalPathName(path);
    // A save of this feed that was killed half-way may have left its kept
    // copy; settle it first, so that the stored file is the one compared.
    lum::recoverKeptCopy(file);
    if (!is_file(path)) {
        SetLastError(writeRssFile(path, channel) ? ERROR_SUCCESS : failureOfWrite());
        return;
    }
    // Only the stored file's date is needed: its items are not read.
    channel->m_keptTime = readChannelDate(path);
    bool useKeptTime = channel->m_useKeptTime;

    // Written dated as the stored file, equal bytes mean nothing would
    // change. They are compared as the document is built, the first
    // difference ends it, and an unchanged feed is never opened for writing.
    channel->m_useKeptTime = true;
    std::optional<bool> compared = writesSameFile(path, file, channel);
    DWORD buildFailure = compared ? ERROR_SUCCESS : failureOfWrite();
    bool same = compared.value_or(false);

    // A read-only feed is only compared: a copy in its place would replace
    // it, and moving it aside would let a user who may not write it put a
    // file of their own there.
    if (lum::isReadOnlyFile(file)) {
        channel->m_useKeptTime = useKeptTime;
        SetLastError(buildFailure != ERROR_SUCCESS ? buildFailure
                     : same                        ? ERROR_SUCCESS
                                                   : ERROR_ACCESS_DENIED);
        return;
    }
    if (same) {
        // The record keeps the stored date, which the file still holds.
        SetLastError(ERROR_SUCCESS);
        return;
    }
    channel->m_useKeptTime = useKeptTime;
    // The stored file keeps a second name while the feed is written in its
    // place. With a link the feed is never missing from its path, not even
    // when the process dies meanwhile; where links cannot be made, the file
    // is moved aside instead, and the next save puts it back should the
    // process die. The write goes to the path, which places the feed in the
    // site; a feed reached through a symbolic link is kept aside and put
    // back where it lies, so that the symbolic link stays one.
    CString aside = lum::keptCopyPath(file);
    bool linked = !aside.IsEmpty() && CreateHardLinkW(aside, file, nullptr);
    bool movedAside = !linked && !aside.IsEmpty() && MoveFileW(file, aside);
    int written = writeRssFile(path, channel);
    DWORD outcome = written ? ERROR_SUCCESS : failureOfWrite();
    if (!linked && !movedAside) {
        SetLastError(outcome);
        return;
    }
    if (written) {
        DeleteFileW(aside);
    } else if (linked) {
        // Nothing new was written (an unknown format, a failed save): the
        // stored file stays, never deleted.
        DeleteFileW(aside);
    } else {
        // Puts the stored file back, its bytes and time stamps as they were.
        MoveFileExW(aside, file, MOVEFILE_REPLACE_EXISTING);
    }
    SetLastError(outcome);
}

}  // namespace newsdesk
