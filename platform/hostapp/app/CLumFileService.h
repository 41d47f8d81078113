// The host's file-selection object, handed to dialogs that let the user pick
// a file of a given kind. It asks the window system's chooser, so a test or a
// UI script answers it and sees which kind was asked for.
#pragma once

#include "mfc/CString.h"

class CWnd;
class SiteIF;

class CLumFileService {
  public:
    virtual ~CLumFileService();
    // kind: the host's file-type number (2 pictures, 23 feeds, 24 media
    // files). The chosen full path, or empty when the user cancels.
    virtual CString GetOpenFile(int kind, SiteIF* site, const CString& initialName, CWnd* parent);
};
