#include "feed/WrittenFields.h"

#include "hostapp/media/CLumMimeUtility.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace newsdesk {

namespace {

// What neither side of an address may hold.
bool isAddressChar(char c) {
    return std::string_view("@ \t\n\v\f\r()<>,;:\"").find(c) == std::string_view::npos;
}

}  // namespace

// local@host.tld, then optionally " (any name without parentheses)". Read
// for every author of every feed: a scan, not a regular expression.
bool isEmailAddress(const CString& text) {
    const std::string utf8 = text.toUtf8();
    const std::string_view s(utf8);
    std::size_t at = s.find('@');
    if (at == 0 || at == std::string_view::npos ||
        !std::all_of(s.begin(), s.begin() + at, isAddressChar)) {
        return false;
    }
    std::size_t hostEnd = at + 1;
    while (hostEnd < s.size() && isAddressChar(s[hostEnd])) {
        ++hostEnd;
    }
    std::string_view host = s.substr(at + 1, hostEnd - at - 1);
    std::size_t dot = host.rfind('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == host.size()) {
        return false;
    }
    std::string_view rest = s.substr(hostEnd);
    if (rest.empty()) {
        return true;
    }
    return rest.size() >= 3 && rest.substr(0, 2) == " (" && rest.back() == ')' &&
           rest.substr(2, rest.size() - 3).find_first_of("()") == std::string_view::npos;
}

CString enclosureTypeOf(const CRSSItem& item) {
    if (!item.m_enclosureType.IsEmpty()) {
        return item.m_enclosureType;
    }
    std::u16string url(item.m_enclosureUrl.view());
    url = url.substr(0, url.find_first_of(u"?#"));
    // The host's name is no file name: "http://example.com" has no extension.
    std::size_t scheme = url.find(u"://");
    std::size_t path = scheme == std::u16string::npos ? 0 : url.find(u'/', scheme + 3);
    if (path == std::u16string::npos) {
        return CString();
    }
    std::size_t name = url.find_last_of(u'/');
    name = name == std::u16string::npos || name < path ? path : name + 1;
    std::size_t dot = url.find_last_of(u'.');
    if (dot == std::u16string::npos || dot < name || dot + 1 == url.size()) {
        return CString();
    }
    return CLumMimeUtility::getMimeTypeOfExtension(CString(url.substr(dot + 1)));
}

}  // namespace newsdesk
