// The list of podcast categories offered to the user, read from the
// application's "itunescategory.xml":
//
//   <itunescategories>
//     <category name="Arts" label="アート">
//       <category name="Books" label="本"/>
//     </category>
//   </itunescategories>
//
// The name is what feeds store; the label is what the user sees.
#pragma once

#include "hostapp/feedxml/DomDocument.h"
#include "hostapp/feedxml/DomNode.h"
#include "mfc/CString.h"

#include <memory>

class CLumItunesCategoryXmlData {
  public:
    explicit CLumItunesCategoryXmlData(const CString& path);
    virtual ~CLumItunesCategoryXmlData();
    CLumItunesCategoryXmlData(const CLumItunesCategoryXmlData&) = delete;
    CLumItunesCategoryXmlData& operator=(const CLumItunesCategoryXmlData&) = delete;

    // false when the file is missing, not well-formed or has another root.
    bool IsOK() const;
    // The root element, or a null handle.
    Node getTopNode() const;
    // The category elements directly under node, in document order.
    void getCategoryNodeArray(Node node, NodeArray& categories) const;
    bool getCategoryName(Node node, CString& out) const;
    bool getCategoryLabel(Node node, CString& out) const;

  private:
    std::unique_ptr<Document> m_document;
};
