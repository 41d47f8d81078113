#include "hostapp/pages/PageDocUtil.h"

#include "hostapp/files/CKmxCommon.h"
#include "hostapp/pages/PageDomUtil.h"
#include "hostapp/urls/UrlUtil.h"
#include "mfc/CWnd.h"
#include "win32/UiDriver.h"

namespace lum::page {

PageDocUtil::PageDocUtil(PageDocument& page, const CString& location)
    : m_page(page), m_address(location.toUtf8(), page.baseHref()) {}

Element PageDocUtil::isTagExist(int typeId, Node start) {
    CString name = elementNameOfType(typeId);
    if (name.IsEmpty()) {
        return Element();
    }
    Node at = start;
    if (at.isNull()) {
        long offset = 0;
        if (!getCursorPos(at, offset)) {
            return Element();
        }
    }
    for (Node n = at; n; n = n.getParentNode()) {
        if (n.isElement() && n.getNodeName().CompareNoCase(name) == 0) {
            return Element(n);
        }
    }
    return Element();
}

bool PageDocUtil::getCursorPos(Node& node, long& offset) {
    return m_cursor && m_page.cursorAt(*m_cursor, node, offset);
}

CString PageDocUtil::getFullPath(const CString& reference) {
    CString ref = reference;
    ref.Trim();
    if (ref.IsEmpty()) {
        return CString();
    }
    if (isDrivePath(ref)) {
        return conv_std_path(ref);
    }
    std::string resolved = m_address.resolve(ref.toUtf8());
    if (resolved.empty()) {
        return ref;
    }
    CString url = CString::fromUtf8(resolved);
    // A file asked with a query or fragment keeps them: only its URL can.
    if (url.FindOneOf(u"?#") >= 0) {
        return url;
    }
    CString path = fileUrlToPath(url);
    return path.IsEmpty() ? url : path;
}

CString PageDocUtil::GetSampleFile(int fileType, CWnd* parent) {
    CString folder = sampleIconFolder();
    if (fileType != 0 || folder.IsEmpty()) {
        return CString();
    }
    nd::win32::ChooserRequest request;
    request.kind = nd::win32::ChooserKind::OpenFile;
    request.owner = parent ? parent->m_hWnd : nullptr;
    request.fileKind = kSampleMaterialFileKind;
    request.initialPath = folder.str();
    request.title = u"素材集";
    auto path = nd::win32::choosePath(request);
    return path ? CString(*path) : CString();
}

CString sampleIconFolder() {
    CString folder = CKmxCommon::getProductFolder(kRssIconProductFolder, 0);
    return folder.IsEmpty() ? folder : folder + kSampleIconFolder;
}

}  // namespace lum::page
