#include "hostapp/pages/PageAddress.h"

#include "hostapp/urls/SiteLinkResolver.h"
#include "hostapp/urls/UrlUtil.h"

#include <libxml/uri.h>
#include <libxml/xmlmemory.h>

#include <cctype>

namespace lum::page {

namespace {

std::string takeXml(xmlChar* s) {
    std::string out = s ? reinterpret_cast<const char*>(s) : "";
    xmlFree(s);
    return out;
}

std::string built(const std::string& reference, const std::string& base) {
    return takeXml(xmlBuildURI(reinterpret_cast<const xmlChar*>(reference.c_str()),
                               reinterpret_cast<const xmlChar*>(base.c_str())));
}

// Scheme and authority compare without case.
std::string lowerOrigin(std::string url) {
    size_t scheme = url.find("://");
    if (scheme == std::string::npos) {
        return url;
    }
    size_t end = url.find_first_of("/?#", scheme + 3);
    for (size_t i = 0; i < (end == std::string::npos ? url.size() : end); ++i) {
        url[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(url[i])));
    }
    return url;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

std::string withSlash(std::string s) {
    if (!s.empty() && s.back() != '/') {
        s += '/';
    }
    return s;
}

}  // namespace

PageAddress::PageAddress(std::string location, std::string baseHref)
    : m_location(std::move(location)), m_baseHref(std::move(baseHref)) {}

void PageAddress::setSite(std::string rootUrl, std::string siteUrl) {
    rootUrl = withSlash(std::move(rootUrl));
    siteUrl = withSlash(lowerOrigin(std::move(siteUrl)));
    bool inside = !siteUrl.empty() && startsWith(m_location, rootUrl);
    m_root = inside ? rootUrl : std::string();
    m_siteUrl = inside ? siteUrl : std::string();
}

std::string PageAddress::publicBase() const {
    std::string page = m_location;
    if (inSite()) {
        page = m_siteUrl + m_location.substr(m_root.size());
    }
    if (m_baseHref.empty()) {
        return page;
    }
    std::string base = built(escaped(m_baseHref), page);
    return base.empty() ? page : base;
}

std::string PageAddress::asFile(const std::string& url) const {
    std::string lowered = lowerOrigin(url);
    if (inSite() && startsWith(lowered, m_siteUrl)) {
        return m_root + lowered.substr(m_siteUrl.size());
    }
    return url;
}

std::string PageAddress::resolve(std::string_view reference) const {
    size_t begin = reference.find_first_not_of(" \t\r\n\f");
    if (begin == std::string_view::npos) {
        return {};
    }
    size_t end = reference.find_last_not_of(" \t\r\n\f");
    std::string ref(reference.substr(begin, end - begin + 1));
    if (CString path = CString::fromUtf8(ref); isDrivePath(path)) {
        ref = cat_file_colon(path).toUtf8();
    }
    ref = escaped(ref);
    std::string absolute = built(ref, publicBase());
    return absolute.empty() ? absolute : asFile(absolute);
}

std::string PageAddress::base() const {
    return asFile(publicBase());
}

std::string PageAddress::escaped(std::string_view typed) {
    std::string s(typed);
    return takeXml(xmlURIEscapeStr(reinterpret_cast<const xmlChar*>(s.c_str()),
                                   reinterpret_cast<const xmlChar*>(":/?#[]@!$&'()*+,;=%~")));
}

std::string PageAddress::identity(const std::string& url) {
    std::string id = lowerOrigin(url.substr(0, url.find('#')));
    if (id.compare(0, 5, "file:") == 0) {
        id = id.substr(0, id.find('?'));
    }
    auto decoded = lum::site::percentDecode(id);
    return decoded ? *decoded : id;
}

}  // namespace lum::page
