#include "hostapp/files/CLumTktUtil.h"

#include "hostapp/files/PathUtil.h"

#include <algorithm>
#include <cctype>
#include <string>

int CLumTktUtil::whatKindOfFile(const CString& path, bool) {
    std::string ext = getBaseExt(path).toUtf8();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "rss" || ext == "rdf" || ext == "xml") {
        return kRssFile;
    }
    if (ext == "html" || ext == "htm") {
        return kPageFile;
    }
    if (ext == "png" || ext == "gif" || ext == "jpg" || ext == "jpeg" || ext == "bmp") {
        return kPictureFile;
    }
    if (ext == "mp3" || ext == "m4a" || ext == "aac" || ext == "wav" || ext == "mp4" ||
        ext == "m4v" || ext == "mov") {
        return kMediaFile;
    }
    return kUnknownFile;
}

bool CLumTktUtil::isRSSFile(const CString& reference) {
    int cut = reference.FindOneOf(u"?#");
    CString name = cut < 0 ? reference : reference.Left(cut);
    // A URL's path separators are slashes; the extension is what follows
    // the last dot of the last segment either way.
    int slash = name.ReverseFind(u'/');
    if (slash >= 0) {
        name = name.Mid(slash + 1);
    }
    return !name.IsEmpty() && whatKindOfFile(name, false) == kRssFile;
}
