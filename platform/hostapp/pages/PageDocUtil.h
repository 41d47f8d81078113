// The document utility of a page read from a file: the cursor the editor
// was given, the references the page makes and the sample materials.
#pragma once

#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/PageAddress.h"
#include "hostapp/pages/PageDocument.h"

#include <optional>

namespace lum::page {

// The host's file-type number of its sample materials chooser.
constexpr int kSampleMaterialFileKind = 90;
// The product folder kind that holds the RSS icons, and the folder of
// sample icons inside it.
constexpr int kRssIconProductFolder = 54;
inline constexpr char16_t kSampleIconFolder[] = u"rss_icons\\";

class PageDocUtil : public COrvHTMLDocUtil {
  public:
    PageDocUtil(PageDocument& page, const CString& location);
    ~PageDocUtil() override = default;

    // The cursor as a text offset of the page (PageDocument::offsetOfLineColumn).
    void setCursor(size_t textOffset) { m_cursor = textOffset; }
    // The site the page lies in (PageAddress::setSite): its references are
    // then read as the published site reads them.
    void setSite(const std::string& rootUrl, const std::string& siteUrl) {
        m_address.setSite(rootUrl, siteUrl);
    }
    const PageAddress& address() const { return m_address; }

    Element isTagExist(int typeId, Node start) override;
    bool getCursorPos(Node& node, long& offset) override;
    CString getFullPath(const CString& reference) override;
    // Pages read from files have no free-layout container: content goes in
    // at the cursor.
    bool isFreeLayoutMode() override { return false; }
    void setFreeLayoutInsert(bool on) override { m_freeLayoutInsert = on; }
    bool freeLayoutInsert() const { return m_freeLayoutInsert; }
    // The chooser opens on the product folder's sample icons (file type 0);
    // other types have no samples.
    CString GetSampleFile(int fileType, CWnd* parent) override;

  private:
    PageDocument& m_page;
    PageAddress m_address;
    std::optional<size_t> m_cursor;
    bool m_freeLayoutInsert = false;
};

// The folder of the sample RSS icons ("...\rss_icons\"); empty when the
// product folder is unknown.
CString sampleIconFolder();

}  // namespace lum::page
