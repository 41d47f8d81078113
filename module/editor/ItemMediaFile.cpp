// The item dialog's media file: choosing it, the podcast checks, the
// conversion offer, and the type, length and duration taken from the file.
#include "editor/CLumRssItemConfigDlg.h"

#include "feed/FeedReaders.h"
#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/app/CLumFileService.h"
#include "hostapp/app/COptionEngineer.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/media/CLumCopyPaste.h"
#include "hostapp/media/CLumMimeUtility.h"
#include "hostapp/media/CLumPodcastConverter.h"
#include "hostapp/media/CLumiTuneTrack.h"
#include "hostapp/urls/UrlUtil.h"
#include "mfc/AfxMessageBox.h"
#include "mfc/CFile.h"
#include "res/ResourceIds.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

// The host's file kind for media files.
constexpr int kMediaFiles = 24;
// The host function that makes a podcast converter.
constexpr int kPodcastConverterFunction = 40220;
// The option flag that lets the user have files converted.
constexpr DWORD kOfferPodcastConversion = 0x4;

}  // namespace

bool CLumRssItemConfigDlg::isPodcastExtension(const CString& path) {
    CString ext = getBaseExt(path);
    for (const char16_t* podcast : {u"mp3", u"m4a", u"mp4", u"m4v", u"mov", u"pdf"}) {
        if (ext.CompareNoCase(podcast) == 0) {
            return true;
        }
    }
    return false;
}

CLumPodcastConverter* CLumRssItemConfigDlg::createPodcastConverter() {
    CLumDllFunctionEngineer* functions = CLumDllFunctionEngineer::getInstance();
    if (functions == nullptr) {
        return nullptr;
    }
    auto create = reinterpret_cast<CreatePodcastConverterFn>(
        functions->GetFunctionAddr(kPodcastConverterFunction));
    return create != nullptr ? create() : nullptr;
}

void CLumRssItemConfigDlg::readMediaDuration(const CString& mediaRef) {
    CLumCopyPaste copyPaste(false);
    double seconds = 0;
    if (!copyPaste.getMediaDuration(seconds, mediaRef, false)) {
        return;
    }
    if (seconds == 0) {
        setDuration(0);
        return;
    }
    // Negative, not a number, or longer than any playing time the record can
    // hold: the duration stays as it was.
    if (!(seconds > 0) || !(seconds <= std::numeric_limits<int>::max())) {
        return;
    }
    // Up to the whole second: a file of exactly one minute plays 00:01:00.
    setDuration(static_cast<int>(std::ceil(seconds)));
}

CString CLumRssItemConfigDlg::offerConversion(const CString& path, int& seconds) {
    COptionEngineer* options = COptionEngineer::getInstance();
    if (options == nullptr || (options->getFlags() & kOfferPodcastConversion) == 0) {
        return path;
    }
    std::unique_ptr<CLumPodcastConverter> converter(createPodcastConverter());
    if (!converter || !converter->isAvailable()) {
        return path;
    }
    if (AfxMessageBox(IDS_RSS_CONFIRM_CONVERT, MB_YESNO | MB_ICONINFORMATION) == IDNO) {
        return CString();
    }
    CLumiTuneTrack track;
    CString converted = converter->convert(path, &track);
    if (converted.IsEmpty() || !is_file(converted)) {
        AfxMessageBox(IDS_RSS_CONVERT_FAILED, MB_OK | MB_ICONSTOP);
        return CString();
    }
    if (track.m_nDuration > 0) {
        seconds = track.m_nDuration;
    }
    return converted;
}

CString CLumRssItemConfigDlg::chooseMediaFile(int& seconds) {
    for (;;) {
        seconds = 0;
        CString path = m_pFileService->GetOpenFile(kMediaFiles, nullptr, CString(), this);
        if (m_nFormat != newsdesk::kFormatPodcast || path.IsEmpty() || isPodcastExtension(path)) {
            return path;
        }
        if (AfxMessageBox(IDS_RSS_NOT_PODCAST_FILE, MB_YESNO | MB_ICONINFORMATION) == IDNO) {
            continue;  // the file selection opens again
        }
        return offerConversion(path, seconds);
    }
}

void CLumRssItemConfigDlg::onBrowseMedia() {
    UpdateData(TRUE);
    if (m_pFileService == nullptr) {
        UpdateData(FALSE);
        return;
    }
    int seconds = 0;
    CString path = chooseMediaFile(seconds);
    if (!path.IsEmpty()) {
        conv_std_path(path);
        m_strMediaFile = cat_file_colon(path);
        m_strMimeType = CLumMimeUtility::getMimeTypeOfExtension(getBaseExt(path));
        CFileStatus status;
        m_nLength = CFile::GetStatus(path.GetString(), status)
                        ? static_cast<std::int64_t>(status.m_size)
                        : 0;
        if (seconds > 0) {
            setDuration(seconds);
        } else {
            readMediaDuration(m_strMediaFile);
        }
    }
    UpdateData(FALSE);
}
