// The application object: the services that belong to the running
// application rather than to one site or page.
#pragma once

#include "hostapp/site/SiteIF.h"
#include "mfc/CString.h"
#include "win32/windows.h"

#include <set>

class CWnd;
class CLumFileService;
class CLumFileOperation;

class CLumAppEngineer {
  public:
    // The application object; never freed.
    static CLumAppEngineer* getInstance();

    // The site that holds the file a URL or path names (the caller releases
    // it), or nullptr when it lies in no open site.
    SiteIF* getMySiteIF(const CString& url, CWnd* parent);
    // The open site's object (the caller releases it), or nullptr.
    SiteIF* getOutStandingSiteIF(CWnd* parent);
    // A new file-selection object; the caller owns and deletes it.
    CLumFileService* createFileService();

    // The file operations on site files that pages link to; owned by the
    // application.
    CLumFileOperation* getFileOperation();

    // true when no open page has unsaved changes. ask is kept for callers
    // that would let the user save first; nothing is asked here.
    bool isAllDocumentSaved(bool ask);
    // Pages tell the application whether they hold unsaved changes.
    void setDocumentModified(const void* document, bool modified);
    // The application's icon from the program's own resources (loaded once,
    // never freed), or null when the program carries none.
    HICON getAppIcon();

  private:
    std::set<const void*> m_modifiedDocuments;
    HICON m_appIcon = nullptr;
};
