// A URL taken apart into its elements, and the path helpers around URLs.
#pragma once

#include "mfc/CString.h"

class Url {
  public:
    // Elements by number, as get_element takes them.
    static constexpr int kScheme = 1;    // "http" (without ':')
    static constexpr int kHost = 2;      // "ann.example" (with ":port" if any)
    static constexpr int kUser = 3;      // user info, without '@'
    static constexpr int kPath = 4;      // "/news/a%20b.rss" (as written)
    static constexpr int kQuery = 5;     // without '?'
    static constexpr int kFragment = 6;  // without '#'

    explicit Url(const CString& text);
    // The element, empty when the URL has none.
    CString get_element(int element) const;
    // The URL without its query and fragment.
    CString get_url_woparams() const;

  private:
    CString m_text;
};

// true for a path from the document root of a web server ("/news/a.rss"):
// it begins with one slash and has no scheme.
bool is_docroot_path(const CString& text);
// Turns a URL path ("/Z:/a%20b/c.rss", "/home/a.rss") into the Windows path
// of this machine in place ("Z:\a b\c.rss"); left as it was when it names none.
void conv_pc_path(CString& path);
// base followed by path with exactly one slash between them.
CString concat_path(const CString& base, const CString& path);
