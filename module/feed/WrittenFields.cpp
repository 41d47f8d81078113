#include "feed/WrittenFields.h"

#include "hostapp/media/CLumMimeUtility.h"

#include <regex>
#include <string>

namespace newsdesk {

bool isEmailAddress(const CString& text) {
    static const std::regex address(
        R"([^@\s()<>,;:"]+@[^@\s()<>,;:"]+\.[^@\s()<>,;:".]+( \([^()]*\))?)");
    return std::regex_match(text.toUtf8(), address);
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
