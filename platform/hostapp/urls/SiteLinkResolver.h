// Which file of a site a link in one of its pages reaches. Links are resolved
// as a browser would, against the page's public URL (or its <base href>);
// those that land under the site's public URL, or are file URLs inside the
// site's folder, name a file by its path relative to the site root.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lum::site {

class SiteLinkResolver {
  public:
    // siteUrl ends in "/"; rootFolder is the native root path; topPage the
    // page a folder URL stands for ("index.html").
    SiteLinkResolver(std::string siteUrl, std::string rootFolder, std::string topPage);

    // The public URL of a file of the site, by its relative path.
    std::string urlOf(std::string_view relativePath) const;
    // The relative path (UTF-8, '/'-separated) of the file a link of the page
    // at pagePath reaches; nullopt for links that leave the site or are not
    // links to files (mail, scripts, a fragment of the same page).
    std::optional<std::string> resolve(std::string_view pagePath, std::string_view base,
                                       std::string_view link) const;
    // The same in two steps, for the many links of one page: the URL its
    // links are resolved against, then each link.
    std::string baseUrl(std::string_view pagePath, std::string_view base) const;
    std::optional<std::string> resolveAgainst(const std::string& baseUrl,
                                              std::string_view link) const;

  private:
    std::optional<std::string> relativeTo(const std::string& absolute) const;
    std::optional<std::string> fromFileUrl(std::string_view url) const;

    std::string m_siteUrl;  // scheme and host in lower case
    std::string m_root;     // native, ending in '/'
    std::string m_topName;  // the top page's file name
};

// The value of a hexadecimal digit of a percent escape, -1 for any other character.
int hexDigitValue(char c);

// Percent-decodes a URL path as UTF-8; nullopt when it decodes to a NUL.
std::optional<std::string> percentDecode(std::string_view text);

}  // namespace lum::site
