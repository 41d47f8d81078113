// EditRssFileEntry: opens one feed file, or a new feed, in the settings
// dialog and saves it after OK.
#include "editor/CLumRssFileConfigDlg.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/files/FailedSaves.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/records/CRSSChannel.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/FileDialogs.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/AfxMessageBox.h"
#include "res/ResourceIds.h"
#include "sitefiles/SiteRebuild.h"
#include "sitefiles/SiteRssInfo.h"
#include "win32/FileApi.h"

#include <memory>
#include <new>

namespace newsdesk {

namespace {

// The host's file kinds of the save chooser.
constexpr int kFeedFiles = 23;
constexpr int kPodcastFeedFiles = 24;
// The save chooser's flags: ask before overwriting, no read-only box.
constexpr DWORD kSaveChooserFlags = 0x2 | 0x4;
constexpr DWORD kLongPathBuffer = 1024;

const char16_t kNotAFeed[] =
    u"RSS ファイルではないようです。\r\nルミネアでは編集することはできません。";
const char16_t kNameTheFile[] = u"保存先ファイル名を指定してください。";
const char16_t kSaveCancelled[] = u"保存がキャンセルされました。";

// Where the user wants a feed without a file name saved; empty on cancel.
CString askForSavePath(int format) {
    AfxMessageBox(kNameTheFile, MB_OK | MB_ICONINFORMATION, 0);
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    CLumFileDialog chooser(0, format == kFormatPodcast ? kPodcastFeedFiles : kFeedFiles, nullptr,
                           kSaveChooserFlags, nullptr, nullptr);
    chooser.setmysif(site);
    CString path;
    if (chooser.DoModal(0, u"", u"") == IDOK) {
        char16_t buffer[kLongPathBuffer] = {};
        DWORD length =
            LumGetLongPathName(chooser.GetPathName().GetString(), buffer, kLongPathBuffer);
        if (length > 0 && length < kLongPathBuffer) {
            path = CString(buffer, static_cast<int>(length));
        }
    }
    if (site != nullptr) {
        site->release();
    }
    return path;
}

}  // namespace

bool EditRssFileEntry(CWnd* parent, CString& path, bool report, CLumRssFileConfigDlg** dialog) {
    std::unique_ptr<CRSSChannel> channel(new (std::nothrow) CRSSChannel);
    if (!channel) {
        return false;
    }
    bool editable = path.IsEmpty() || !is_file(path) || readRssFile(path, channel.get()) == 1;
    if (!editable) {
        if (report) {
            AfxMessageBox(kNotAFeed, MB_OK | MB_ICONERROR, 0);
        }
        return false;
    }
    bool result = true;
    auto settings = std::make_unique<CLumRssFileConfigDlg>(channel.get(), parent);
    if (dialog != nullptr) {
        *dialog = settings.get();
    }
    if (settings->DoModal() == IDOK) {
        settings->applyToChannel(channel.get());
        // The saved feed carries the time it was edited.
        channel->m_pubDate = CTime::GetCurrentTime();
        channel->m_pubDateText.Empty();
        updateSiteRssInfo(channel.get());
        CString savePath = channel->m_filePath;
        if (savePath.IsEmpty() && !path.IsEmpty()) {
            savePath = path;
        }
        if (savePath.IsEmpty()) {
            savePath = askForSavePath(channel->m_format);
            if (savePath.IsEmpty()) {
                AfxMessageBox(kSaveCancelled, MB_OK | MB_ICONINFORMATION, 0);
                result = false;
            }
        }
        if (result) {
            SetLastError(ERROR_SUCCESS);
            if (writeRssFile(savePath, channel.get()) != 1) {
                // The old file, if any, is as it was; the user hears so
                // instead of taking the edit for saved.
                DWORD error = GetLastError();
                lum::afxMessageBox(IDS_RSS_WRITE_FAILED, MB_OK | MB_ICONERROR);
                lum::reportFailedSave(savePath, error);
                result = false;
            } else {
                sitefiles::rebuildOpenSite();
            }
        }
    }
    if (dialog != nullptr) {
        *dialog = nullptr;
    }
    return result;
}

}  // namespace newsdesk
