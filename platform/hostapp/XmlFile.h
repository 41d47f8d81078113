// Reading and writing XML files on Windows paths, safely.
#pragma once

#include "mfc/CString.h"

#include <libxml/tree.h>

namespace lum::xml {

// Parses the file; null when it is missing, unreadable, not well-formed or
// the path maps to nothing. Never touches the network, never loads external
// entities or DTDs, and keeps libxml2's limits on entity expansion, so an
// entity bomb fails in bounded memory. The caller frees the result.
xmlDoc* loadFile(const CString& windowsPath);

// Writes the document to the path in the given encoding (empty: UTF-8),
// declaring it. Characters the encoding cannot hold become numeric character
// references; characters XML cannot carry are dropped. The file is replaced
// atomically: written to a temporary file in the same folder, flushed to
// disk, then renamed over the old one. false when anything fails, and then
// the old file is left exactly as it was.
bool saveFile(xmlDoc* doc, const CString& windowsPath, const CString& encoding);

}  // namespace lum::xml
