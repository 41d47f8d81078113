#include "hostapp/urls/UrlUtil.h"

#include "win32/TextConv.h"

#include <libxml/uri.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace {

bool isAsciiAlpha(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Encodes every byte of the UTF-8 form except those in keep and the
// unreserved characters.
CString percentEncode(const CString& text, std::string_view keep) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text.toUtf8()) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' ||
            keep.find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return CString::fromUtf8(out);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string percentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        int hi = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        int lo = hi >= 0 ? hexValue(text[i + 2]) : -1;
        if (lo >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

bool isDrivePath(const CString& text) {
    return text.GetLength() >= 3 && isAsciiAlpha(text.GetAt(0)) && text.GetAt(1) == u':' &&
           (text.GetAt(2) == u'\\' || text.GetAt(2) == u'/');
}

bool isWebSiteUrl(const CString& url) {
    CString scheme = urlScheme(url);
    if (scheme != u"http" && scheme != u"https") {
        return false;
    }
    std::string text = url.toUtf8();
    xmlURIPtr uri = xmlParseURI(text.c_str());
    bool hasHost = uri != nullptr && uri->server != nullptr && uri->server[0] != '\0';
    xmlFreeURI(uri);
    return hasHost;
}

CString urlScheme(const CString& url) {
    if (isDrivePath(url)) {
        return CString();
    }
    int colon = url.Find(u':');
    if (colon < 1) {
        return CString();
    }
    for (int i = 0; i < colon; ++i) {
        char16_t c = url.GetAt(i);
        bool ok = isAsciiAlpha(c) ||
                  (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
        if (!ok) {
            return CString();
        }
    }
    CString scheme = url.Left(colon);
    scheme.MakeLower();
    return scheme;
}

bool isfilescheme(const CString& url) {
    return urlScheme(url) == u"file";
}

CString fileUrlToPath(const CString& url) {
    if (!isfilescheme(url)) {
        return CString();
    }
    CString rest = url.Mid(5);
    // Query and fragment are not part of the path.
    int end = rest.FindOneOf(u"?#");
    if (end >= 0) {
        rest = rest.Left(end);
    }
    // "file:///Z:/a", "file://localhost/Z:/a" and "file:/Z:/a" all name Z:\a.
    if (rest.Left(2) == u"//") {
        rest = rest.Mid(2);
        int slash = rest.Find(u'/');
        CString host = slash < 0 ? rest : rest.Left(slash);
        if (!host.IsEmpty() && host.CompareNoCase(u"localhost") != 0) {
            return CString();
        }
        rest = slash < 0 ? CString() : rest.Mid(slash);
    }
    while (rest.Left(1) == u"/") {
        rest = rest.Mid(1);
    }
    CString path = CString::fromUtf8(percentDecode(rest.toUtf8()));
    path.Replace(u'/', u'\\');
    if (path.IsEmpty() || isDrivePath(path)) {
        return path;
    }
    // A URL of this machine's own file system ("file:///home/ann/a.mp3")
    // names the file on drive Z:, the file-system root.
    return u"Z:\\" + path;
}

CString conv_std_path(const CString& path) {
    CString norm = isfilescheme(path) ? fileUrlToPath(path) : path;
    norm.Replace(u'/', u'\\');
    if (!isDrivePath(norm)) {
        return norm;
    }
    // "." and ".." segments go, so that a path can be compared with a folder.
    std::vector<CString> parts;
    int start = 3;
    for (int i = 3; i <= norm.GetLength(); ++i) {
        if (i < norm.GetLength() && norm.GetAt(i) != u'\\') {
            continue;
        }
        CString part = norm.Mid(start, i - start);
        start = i + 1;
        if (part == u"..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.IsEmpty() && part != u".") {
            parts.push_back(part);
        }
    }
    CString out = norm.Left(3);
    for (size_t i = 0; i < parts.size(); ++i) {
        out += (i ? CString(u"\\") : CString()) + parts[i];
    }
    if (!parts.empty() && norm.Right(1) == u"\\") {
        out += u'\\';
    }
    return out;
}

CString conv_std_path(CString& path) {
    path = conv_std_path(std::as_const(path));
    return path;
}

CString cat_file_colon(const CString& path) {
    CString slashed = conv_std_path(path);
    slashed.Replace(u'\\', u'/');
    return u"file:///" + percentEncode(slashed, "!$&'()*+,;=:@/");
}

CString encodeUrlPath(const CString& path) {
    CString slashed = path;
    slashed.Replace(u'\\', u'/');
    return percentEncode(slashed, "!$&'()*+,;=:@/");
}
