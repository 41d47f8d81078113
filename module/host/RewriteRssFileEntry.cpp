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
    channel->m_useKeptTime = true;

    // A read-only feed is only compared: a trial copy in its place would
    // replace it, and moving it aside would let a user who may not write it
    // put a file of their own there.
    if (lum::isReadOnlyFile(file)) {
        auto document = buildRssDocument(path, channel);
        channel->m_useKeptTime = useKeptTime;
        if (!document) {
            SetLastError(failureOfWrite());
        } else {
            SetLastError(document->savesSameBytes(file) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        }
        return;
    }
    // The stored file keeps a second name while a trial copy, dated as the
    // stored one, is written in its place; equal bytes mean nothing would
    // change. With a link the feed is never missing from its path, not even
    // when the process dies meanwhile; where links cannot be made, the file
    // is moved aside instead, and the next save puts it back should the
    // process die. The writes go to the path, which places the feed in the
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
    // Puts the stored file back, its bytes and time stamps as they were.
    auto restore = [&] { MoveFileExW(aside, file, MOVEFILE_REPLACE_EXISTING); };
    if (!written) {
        // Nothing new was written (an unknown format, a failed save): the
        // stored file stays, never deleted.
        if (linked) {
            DeleteFileW(aside);
        } else {
            restore();
        }
        SetLastError(outcome);
        return;
    }
    if (cmp_file(file, aside)) {
        restore();
        SetLastError(ERROR_SUCCESS);
        return;
    }
    channel->m_useKeptTime = useKeptTime;
    if (writeRssFile(path, channel)) {
        DeleteFileW(aside);
        SetLastError(ERROR_SUCCESS);
    } else {
        outcome = failureOfWrite();
        restore();
        SetLastError(outcome);
    }
}

}  // namespace newsdesk
