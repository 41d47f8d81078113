// The names our saves give the files they keep beside a feed for a moment,
// and the clearing up after a save that was killed half-way. Only files
// named this way are ever touched: a person's own "news~1.rss" or
// ".news.rss.bak" is never taken for ours.
#pragma once

#include "mfc/CString.h"

#include <string>

namespace lum {

// The mkostemps() template of a temporary file for the file at nativePath,
// in the same folder: ".news.rss.XXXXXX.ndsave". Long names are shortened
// and marked with a hash of the whole name, so two feeds never share names.
std::string temporaryTemplate(const std::string& nativePath);
// How many characters of the template follow the XXXXXX.
int temporaryTemplateSuffixLength();

// Where a rewrite keeps the stored file while it tries a new copy in its
// place: ".news.rss.ndkept" beside it (a Windows path, as the path given).
// Empty when the path maps to nothing.
CString keptCopyPath(const CString& windowsPath);

// Whether the file at nativePath bears the name of one of our temporary files.
bool isTemporaryName(const std::string& nativePath);

// Removes the temporary files that earlier saves of the file at nativePath
// left when they were killed. A temporary file that a running save holds
// (it keeps it locked) is left alone.
void removeAbandonedTemporaries(const std::string& nativePath);

// Settles a kept copy that a killed rewrite of the file left behind: it goes
// back in place when the file is missing or holds the same bytes (so the
// file keeps its old identity and times); it is removed when it is a second
// name of the file or the file holds a complete newer feed (saves replace
// files whole, so whatever stands at the path is complete).
void recoverKeptCopy(const CString& windowsPath);

}  // namespace lum
