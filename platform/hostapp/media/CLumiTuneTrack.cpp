#include "hostapp/media/CLumiTuneTrack.h"

#include "hostapp/media/CLumPodcastConverter.h"

CLumiTuneTrack::~CLumiTuneTrack() = default;

CLumPodcastConverter::~CLumPodcastConverter() = default;
