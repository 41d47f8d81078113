// Where the references of a page lead. In a site they resolve as a browser
// resolves them once the site is published: against the page's public
// address and its <base href>, so that "/a.rss" starts at the site's root
// and an address under the site's URL is the site's file. Outside a site
// they resolve against the page file's own URL.
#pragma once

#include <string>
#include <string_view>

namespace lum::page {

class PageAddress {
  public:
    // location: the page file's URL ("file:///Z:/site/blog/post.html");
    // baseHref: its <base href> as written, or empty.
    PageAddress(std::string location, std::string baseHref);

    // rootUrl: the file URL of the site's root folder; siteUrl: the site's
    // public URL. Either empty, or a page outside that folder: no site.
    void setSite(std::string rootUrl, std::string siteUrl);

    // The absolute URL a reference of the page names, query and fragment
    // kept: a file of the site (also when named by its public address) as
    // its file URL. Empty for an empty reference or one that cannot be
    // parsed.
    std::string resolve(std::string_view reference) const;
    // The URL the page's relative references resolve against: a place in
    // the site as its file URL, any other base as it is.
    std::string base() const;
    // What identifies the target of a resolved URL: scheme and host in
    // lower case, the path percent-decoded, no fragment, and for a file no
    // query either (a file is the same file whatever is asked of it).
    static std::string identity(const std::string& url);
    // A reference as typed, made a URL as a browser makes it: spaces and
    // characters outside ASCII percent-encoded, what is already encoded and
    // the URL's delimiters kept.
    static std::string escaped(std::string_view typed);

  private:
    bool inSite() const { return !m_root.empty(); }
    std::string publicBase() const;
    std::string asFile(const std::string& url) const;

    std::string m_location;
    std::string m_baseHref;
    std::string m_root;     // ends in '/'; empty: no site
    std::string m_siteUrl;  // origin in lower case, ends in '/'
};

}  // namespace lum::page
