#include "hostapp/media/CLumCopyPaste.h"

#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>

#include <sys/stat.h>

CLumCopyPaste::CLumCopyPaste(bool) {}

bool CLumCopyPaste::getMediaDuration(double& seconds, const CString& mediaRef, bool) {
    CString path = conv_std_path(mediaRef);
    auto native = isDrivePath(path) ? nd::win32::toNativePath(path.view()) : std::nullopt;
    struct stat st {};
    // TagLib would open a folder or a device as well; only a file has a length.
    if (!native || ::stat(native->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    TagLib::FileRef file(native->c_str(), true, TagLib::AudioProperties::Accurate);
    // TagLib accepts some files by their name alone (a text file called
    // .mp3); without a sample rate no audio stream was found in them.
    if (file.isNull() || file.audioProperties() == nullptr ||
        file.audioProperties()->sampleRate() <= 0) {
        return false;
    }
    seconds = file.audioProperties()->lengthInMilliseconds() / 1000.0;
    return true;
}
