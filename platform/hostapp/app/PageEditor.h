// A page file opened for a module command: the application's PageEditIF
// over a PageDocument, with the page's site, and saving that refuses to
// overwrite a file that changed on disk meanwhile.
#pragma once

#include "hostapp/pages/PageDocUtil.h"
#include "hostapp/pages/PageDocument.h"
#include "hostapp/pages/PageDomUtil.h"
#include "hostapp/pages/PageEditIF.h"

#include <memory>
#include <string>

namespace lum::page {

class PageEditor : public PageEditIF {
  public:
    // path: the page's Windows path; bytes: what was read from it. nullptr,
    // with a one-line reason in error, when the page cannot be edited
    // (PageDocument::read).
    static std::unique_ptr<PageEditor> open(const CString& path, std::string bytes,
                                            std::string& error);
    ~PageEditor() override;
    PageEditor(const PageEditor&) = delete;
    PageEditor& operator=(const PageEditor&) = delete;

    PageDocument& document() { return *m_page; }
    PageDocUtil& docUtil() { return m_docUtil; }

    COrvHTMLDocUtil* getDocUtil() override { return &m_docUtil; }
    DomUtil* getDomUtil() override { return &m_domUtil; }
    // The open site when the page lies in it, else the outside stand-in.
    SiteIF* getSiteIF() override { return m_site; }
    SiteIF* getConvSiteIF() override { return m_site; }
    // Where the page's relative references lead from: its <base href> when
    // it has one (a place in the site as its file URL), else the page file.
    CString getPageLocation() override;
    CString getPageAddress() override;
    // Pages read from files have no free-layout container.
    Element getFreeLayoutContainer(int) override { return Element(); }
    void notifyChange(int, unsigned code, int) override;
    CString queryOpenFile(int kind, int reserved, const CString& initialName,
                          CWnd* parent) override;

    // Whether a command reported a change of the DOM.
    bool changed() const { return m_changed; }
    // The page's bytes with the changes made (PageDocument::save).
    std::string savedBytes() { return m_page->save(m_bytes); }
    // Writes the changed page over the file, atomically. false, with a
    // one-line reason, when the file is no longer what was read (it changed
    // on disk while the page was being edited) or cannot be written; the file
    // is then left as it is. *written tells whether the bytes differed and
    // were written.
    bool save(std::string& error, bool* written = nullptr);

  private:
    PageEditor(const CString& path, std::string bytes, std::unique_ptr<PageDocument> page);

    CString m_path;
    std::string m_bytes;
    std::unique_ptr<PageDocument> m_page;
    CString m_location;
    PageDocUtil m_docUtil;
    PageDomUtil m_domUtil;
    SiteIF* m_site = nullptr;
    bool m_changed = false;
};

}  // namespace lum::page
