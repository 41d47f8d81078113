// A web site on this machine: a folder holding the site's files, with the
// definition file kSiteDefinitionFile at its top. The definition is a JSON
// object; later site data (the site database) lives beside it:
//   {"name": "Ann's news", "url": "https://ann.example/", "topPage": "index.html"}
#pragma once

#include "mfc/CString.h"

#include <optional>
#include <string>

inline constexpr char16_t kSiteDefinitionFile[] = u"newsdesk-site.json";

struct SiteDefinition {
    CString folder;   // root folder, Windows path with a trailing backslash
    CString name;     // shown to the user; the folder's name when not given
    CString url;      // public URL of the root folder, ending in "/"
    CString topPage;  // the root folder's top page, relative to it; "index.html" by default
};

// Reads the definition of the site whose root is folder (a Windows path).
// nullopt, with a one-line reason naming the native path in error, when the folder or the file is
// missing, the file is not JSON (said with its line and column) or not an object, or "url" is
// missing or not an http or https URL.
std::optional<SiteDefinition> readSiteDefinition(const CString& folder, std::string& error);

// Makes topPage (relative to the root, '/'-separated) the top page in the
// definition of the site whose root is folder; every other member stays as
// written, in its order. false with a one-line reason when it cannot be
// read or written (the file is then as it was).
bool writeSiteTopPage(const CString& folder, const std::string& topPage, std::string& error);
