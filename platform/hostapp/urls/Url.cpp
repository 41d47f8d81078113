#include "hostapp/urls/Url.h"

#include "hostapp/urls/UrlUtil.h"

#include <libxml/uri.h>

#include <memory>
#include <string>

namespace {

struct UriFree {
    void operator()(xmlURI* uri) const { xmlFreeURI(uri); }
};
using UriPtr = std::unique_ptr<xmlURI, UriFree>;

CString text(const char* s) {
    return s ? CString::fromUtf8(s) : CString();
}

}  // namespace

Url::Url(const CString& text) : m_text(text) {}

// libxml2's parser takes the URL apart; text it cannot parse has no elements.
CString Url::get_element(int element) const {
    std::string utf8 = m_text.toUtf8();
    UriPtr uri(xmlParseURIRaw(utf8.c_str(), 1));
    if (!uri) {
        return CString();
    }
    switch (element) {
        case kScheme:
            return text(uri->scheme);
        case kHost: {
            CString host = text(uri->server);
            if (uri->port > 0) {
                host += CString::fromUtf8(":" + std::to_string(uri->port));
            }
            return host;
        }
        case kUser:
            return text(uri->user);
        case kPath:
            return text(uri->path);
        case kQuery:
            return text(uri->query_raw);
        case kFragment:
            return text(uri->fragment);
        default:
            return CString();
    }
}

CString Url::get_url_woparams() const {
    int cut = m_text.FindOneOf(u"?#");
    return cut < 0 ? m_text : m_text.Left(cut);
}

bool is_docroot_path(const CString& text) {
    return text.GetLength() >= 1 && text.GetAt(0) == u'/' &&
           (text.GetLength() == 1 || text.GetAt(1) != u'/');
}

void conv_pc_path(CString& path) {
    CString local = fileUrlToPath(u"file://" + path);
    if (!local.IsEmpty()) {
        path = local;
    }
}

CString concat_path(const CString& base, const CString& path) {
    CString head = base;
    while (!head.IsEmpty() && head.GetAt(head.GetLength() - 1) == u'/') {
        head = head.Left(head.GetLength() - 1);
    }
    CString tail = path;
    while (!tail.IsEmpty() && tail.GetAt(0) == u'/') {
        tail = tail.Mid(1);
    }
    return head + u"/" + tail;
}
