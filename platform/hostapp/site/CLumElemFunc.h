// The application's element functions used around pictures.
#pragma once

#include "hostapp/site/BasePropertyIF.h"
#include "hostapp/site/SiteIF.h"
#include "mfc/CString.h"

class CLumElemFunc {
  public:
    // Converts a picture that web pages cannot show (BMP) into a PNG beside
    // the original ("logo.bmp" -> "logo.png", or "logo~1.png" when that name
    // is taken) and returns the new resource (the caller releases it).
    // nullptr when the picture needs no conversion, is not a picture, or the
    // PNG cannot be written; no file is left behind then.
    static BasePropertyIF* convertImageFormat(SiteIF* site, BasePropertyIF* property, bool keep,
                                              const CString& reserved);
};
