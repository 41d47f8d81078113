#include "hostapp/site/CLumElemFunc.h"

#include "hostapp/files/AtomicFile.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/media/pixImage.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/FileApi.h"

#include <memory>

BasePropertyIF* CLumElemFunc::convertImageFormat(SiteIF*, BasePropertyIF* property, bool,
                                                 const CString&) {
    if (property == nullptr) {
        return nullptr;
    }
    int size = 0;
    std::unique_ptr<unsigned char[], decltype(&BasePropertyIF::freeContent)> bytes(
        property->getContent(size), BasePropertyIF::freeContent);
    if (!bytes ||
        pixImage::kindOf(bytes.get(), static_cast<std::size_t>(size)) != pixImage::Kind::Bmp) {
        return nullptr;
    }
    pixImage picture;
    if (!picture.read(bytes.get(), size)) {
        return nullptr;
    }
    std::string png = picture.toPng();
    CString original = property->getLocalPath().IsEmpty() ? fileUrlToPath(property->getLocation())
                                                          : property->getLocalPath();
    if (png.empty() || original.IsEmpty()) {
        return nullptr;
    }
    CString folder = getBasePath(original);
    CString name = getBaseName(original);
    int dot = name.ReverseFind(u'.');
    CString target = folder + (dot > 0 ? name.Left(dot) : name) + u".png";
    if (GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES) {
        target = LumTempFile::makeUniquePath(name, folder, 0, u"png");
    }
    if (target.IsEmpty() || !lum::writeFileAtomically(target, png, false)) {
        return nullptr;
    }
    return BasePropertyIF::create(cat_file_colon(target), target);
}
