#include "hostapp/CLumiTuneTrack.h"

#include "hostapp/CLumPodcastConverter.h"

CLumiTuneTrack::~CLumiTuneTrack() = default;

CLumPodcastConverter::~CLumPodcastConverter() = default;
