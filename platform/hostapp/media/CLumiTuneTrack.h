// What the podcast converter reports about a file it made. The layout is
// shared with modules built apart from the host: a virtual destructor, a wide
// string, an int.
#pragma once

#include "mfc/CString.h"

class CLumiTuneTrack {
  public:
    virtual ~CLumiTuneTrack();
    CString m_strName;    // the track's name; the editor does not read it
    int m_nDuration = 0;  // playing time in whole seconds, 0 when unknown
};
