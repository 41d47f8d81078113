// The podcast converter other modules get through host function 40220: it
// turns an audio file into one a podcast can carry. Modules call it through
// its virtual slots, so their order is fixed: destructor, convert,
// isAvailable.
#pragma once

#include "hostapp/media/CLumiTuneTrack.h"
#include "mfc/CString.h"

class CLumPodcastConverter {
  public:
    virtual ~CLumPodcastConverter();
    // The path of the converted file, written beside the source under a name
    // not in use; the track gets its playing time. Empty on failure, and then
    // nothing is left behind.
    virtual CString convert(const CString& sourcePath, CLumiTuneTrack* track) = 0;
    // true when this converter can write its output format on this system.
    virtual bool isAvailable() = 0;
};

// What GetFunctionAddr(40220) returns: makes a converter the caller deletes.
using CreatePodcastConverterFn = CLumPodcastConverter* (*)();
