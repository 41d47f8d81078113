#include "hostapp/app/PageEditor.h"

#include "hostapp/files/AtomicFile.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/FileDialogs.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <fstream>
#include <iterator>

namespace lum::page {

namespace {

// The open site when path lies under its root, else the outside stand-in.
SiteIF* siteOf(const CString& path) {
    if (SiteIF* site = LumSiteMgr::getOutStandingSiteIF()) {
        const SITE_INFO& info = site->getSiteInfo();
        if (!info.rootFolder.IsEmpty() && under_root_p(path, info.rootFolder)) {
            return site;
        }
        site->release();
    }
    return OutSMgr::findOutSite();
}

bool readWhole(const CString& path, std::string& bytes) {
    auto native = nd::win32::toNativePath(path.str());
    if (!native) {
        return false;
    }
    std::ifstream in(*native, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::unique_ptr<PageEditor> PageEditor::open(const CString& path, std::string bytes,
                                             std::string& error) {
    std::unique_ptr<PageDocument> page = PageDocument::read(bytes, error);
    if (!page) {
        return nullptr;
    }
    return std::unique_ptr<PageEditor>(new PageEditor(path, std::move(bytes), std::move(page)));
}

PageEditor::PageEditor(const CString& path, std::string bytes, std::unique_ptr<PageDocument> page)
    : m_path(conv_std_path(path)),
      m_bytes(std::move(bytes)),
      m_page(std::move(page)),
      m_location(cat_file_colon(m_path)),
      m_docUtil(*m_page, m_location),
      m_domUtil(*m_page, m_location),
      m_site(siteOf(m_path)) {
    if (m_site != nullptr && !m_site->isOutSite()) {
        const SITE_INFO& info = m_site->getSiteInfo();
        std::string root =
            info.rootFolder.IsEmpty() ? std::string() : cat_file_colon(info.rootFolder).toUtf8();
        m_docUtil.setSite(root, info.siteUrl.toUtf8());
        m_domUtil.setSite(root, info.siteUrl.toUtf8());
    }
}

CString PageEditor::getPageLocation() {
    return CString::fromUtf8(m_docUtil.address().base());
}

PageEditor::~PageEditor() {
    if (m_site != nullptr) {
        m_site->release();
    }
}

CString PageEditor::getPageAddress() {
    return LumSiteMgr::getMySiteUrl(m_site, m_path);
}

void PageEditor::notifyChange(int, unsigned code, int) {
    if (code == kPageDomChanged) {
        m_changed = true;
    }
}

CString PageEditor::queryOpenFile(int kind, int, const CString& initialName, CWnd* parent) {
    return CLumOpenFileDialog::GetOpenFile(kind, m_site, initialName, parent);
}

bool PageEditor::save(std::string& error, bool* written) {
    if (written != nullptr) {
        *written = false;
    }
    std::string now;
    if (!readWhole(m_path, now)) {
        error = "the page can no longer be read; not saved";
        return false;
    }
    if (now != m_bytes) {
        error = "the page changed on disk while it was being edited; not saved";
        return false;
    }
    std::string bytes = savedBytes();
    if (bytes == m_bytes) {
        return true;
    }
    if (!writeFileAtomically(m_path, bytes, true)) {
        error = "the page cannot be written (read-only, or the folder refuses a new file)";
        return false;
    }
    m_bytes = std::move(bytes);
    if (written != nullptr) {
        *written = true;
    }
    return true;
}

}  // namespace lum::page
