// The host's podcast converter: decodes what libsndfile reads (WAV, AIFF,
// FLAC, Ogg Vorbis, Opus, MP3 ...) and writes an MP3 through libsndfile's
// MPEG Layer III encoder beside the source.
#pragma once

#include "hostapp/media/CLumPodcastConverter.h"

#include <string>

class Mp3PodcastConverter : public CLumPodcastConverter {
  public:
    // sourcePath: a drive path or file URL. The MP3 gets the source's name
    // with the extension mp3, or "name~1.mp3" ... when that is in use; it
    // only ever appears complete.
    CString convert(const CString& sourcePath, CLumiTuneTrack* track) override;
    // true when this libsndfile can encode MP3.
    bool isAvailable() override;

    // Why the last convert failed, for the host's own messages; empty after
    // a success.
    const std::string& lastError() const { return m_error; }

  private:
    std::string m_error;
};

namespace lum {
// Host function 40220.
CLumPodcastConverter* createPodcastConverter();
}  // namespace lum
