// The host's clipboard-and-media helper; the module uses it to read how long
// a media file plays.
#pragma once

#include "mfc/CString.h"

class CLumCopyPaste {
  public:
    explicit CLumCopyPaste(bool);
    // The playing time in seconds of the media file a file URL or a drive
    // path names (MP3, M4A/MP4, Ogg, FLAC, WAV, AIFF ...). false when the file
    // is missing or its audio cannot be read.
    bool getMediaDuration(double& seconds, const CString& mediaRef, bool);
};
