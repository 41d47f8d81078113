// A location held both as a Windows path and as a URL.
#pragma once

#include "mfc/CString.h"

class CLumUrlString {
  public:
    // location: a Windows path, a file URL or any other URL. isPath true
    // says a drive path is meant as a file of this machine.
    CLumUrlString(const CString& location, bool isPath);
    // The URL form: "Z:\a b\c.rss" -> "file:///Z:/a%20b/c.rss"; a URL as it is.
    CString getURL() const;
    // The Windows path form; empty when the location is not a file.
    CString getPath() const;

  private:
    CString m_url;
    CString m_path;
};
