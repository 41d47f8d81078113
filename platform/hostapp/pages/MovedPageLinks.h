// A page moved to another folder keeps reaching what its relative links
// named: each such link is rewritten from the page's new place, and a link
// to a file that moved with it follows that file.
#pragma once

#include "hostapp/pages/PageRevision.h"
#include "hostapp/urls/SiteLinkResolver.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum::site {

// true when url begins with a scheme ("https:", "mailto:").
bool hasUrlScheme(std::string_view url);
// What follows the path of a link: its query and fragment.
std::string_view urlSuffix(std::string_view url);
// The path of an absolute URL, from the first slash after its authority.
std::string_view urlPath(std::string_view url);
// target as a link relative to baseUrl's folder; both under the same origin.
std::string relativeUrl(std::string_view baseUrl, std::string_view target);
// The link that reaches newUrl in the form url was written in, resolved
// against baseUrl: absolute stays absolute (scheme-relative too), root-relative
// stays root-relative, relative stays relative; url's query and fragment kept.
std::string linkInSameForm(std::string_view url, const std::string& baseUrl,
                           const std::string& newUrl);

struct FileMove {
    std::string source;       // relative to the site root
    std::string destination;  // empty: the file is gone
};

class MovedPageLinks {
  public:
    // oldPath and newPath are the page's paths relative to the site root;
    // moves are all the files of the operation, the page's own among them.
    MovedPageLinks(const SiteLinkResolver& resolver, std::string oldPath, std::string newPath,
                   std::vector<FileMove> moves);

    // The decider for revisePageLinks on the moved page.
    page::LinkDecision decide(std::string_view base, std::string_view url) const;

  private:
    // The decision for a link to a file of the operation; nullopt for others.
    std::optional<page::LinkDecision> followMovedFile(const std::string& oldBase,
                                                      const std::string& newBase,
                                                      std::string_view url) const;

    const SiteLinkResolver& m_resolver;
    std::string m_oldPath;
    std::string m_newPath;
    std::vector<FileMove> m_moves;
};

}  // namespace lum::site
