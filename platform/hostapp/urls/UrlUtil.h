// The application's URL helpers: file URLs for Windows paths and back, and
// the scheme of a URL. File URLs have the form "file:///Z:/dir/a%20b.mp3".
#pragma once

#include "mfc/CString.h"

// The standard path form: backslashes throughout, "." and ".." resolved in a
// drive path; a file URL becomes its path.
CString conv_std_path(const CString& path);
// The same, also turning the caller's own string into that form: dialogs
// call it for the change and drop the returned copy.
CString conv_std_path(CString& path);

// The file URL of a Windows path ("Z:\a b\c.rss" -> "file:///Z:/a%20b/c.rss").
// Characters outside ASCII are written as percent-encoded UTF-8.
CString cat_file_colon(const CString& path);

// The scheme of a URL in lower case ("http"); empty when the text has none.
// A drive letter ("Z:\a") is not a scheme.
CString urlScheme(const CString& url);

// An address a web site can have: http or https with a host
// ("https://ann.example/"). "https:ann.example/" has the scheme but no host,
// and every link resolved against it would name nothing.
bool isWebSiteUrl(const CString& url);

// true when the URL's scheme is "file".
bool isfilescheme(const CString& url);

// The Windows path a file URL names ("file:///Z:/a%20b" -> "Z:\a b"; a URL
// without a drive names a path on drive Z:, "file:///home/a" -> "Z:\home\a");
// empty when the text is not a file URL or names another host.
CString fileUrlToPath(const CString& url);

// true for an absolute Windows path with a drive letter ("Z:\a", "Z:/a").
bool isDrivePath(const CString& text);

// Percent-encodes a relative path for use after a site URL: backslashes
// become slashes; letters, digits and "-._~!$&'()*+,;=:@/" stay as they are.
CString encodeUrlPath(const CString& path);
