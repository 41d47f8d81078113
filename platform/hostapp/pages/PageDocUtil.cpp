#include "hostapp/pages/PageDocUtil.h"

#include "hostapp/files/CKmxCommon.h"
#include "hostapp/pages/PageDomUtil.h"
#include "hostapp/urls/UrlUtil.h"
#include "mfc/CWnd.h"
#include "win32/UiDriver.h"

#include <libxml/uri.h>

namespace lum::page {

PageDocUtil::PageDocUtil(PageDocument& page, const CString& location)
    : m_page(page), m_location(location) {}

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
    std::string r = ref.toUtf8();
    // Against the page's <base> when it has one, as a browser would.
    std::string base = m_location.toUtf8();
    std::string written = m_page.baseHref();
    if (!written.empty()) {
        xmlChar* resolved = xmlBuildURI(reinterpret_cast<const xmlChar*>(written.c_str()),
                                        reinterpret_cast<const xmlChar*>(base.c_str()));
        if (resolved != nullptr) {
            base = reinterpret_cast<const char*>(resolved);
        }
        xmlFree(resolved);
    }
    xmlChar* built = xmlBuildURI(reinterpret_cast<const xmlChar*>(r.c_str()),
                                 reinterpret_cast<const xmlChar*>(base.c_str()));
    CString url = built ? CString::fromUtf8(reinterpret_cast<const char*>(built)) : ref;
    xmlFree(built);
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
