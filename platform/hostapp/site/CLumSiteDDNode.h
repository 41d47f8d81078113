// The files of one rename or delete, each with the pages that link to it.
// A node owns its link list: copies carry their own, and a node whose list
// was destroyed is passed over by everyone who walks the links.
#pragma once

#include "mfc/CList.h"
#include "mfc/CString.h"

struct CLumSiteDDLinkNode {
    int m_bRevise = 0;  // 1: the page is to be revised
    CString m_strPath;  // the linking page
};

using CLumSiteDDLinkList = CList<CLumSiteDDLinkNode>;

class CLumSiteDDNode {
  public:
    CLumSiteDDNode();
    CLumSiteDDNode(const CString& source, const CString& destination);
    CLumSiteDDNode(const CLumSiteDDNode& other);
    CLumSiteDDNode& operator=(const CLumSiteDDNode& other);
    ~CLumSiteDDNode();

    // Frees the link list; the node then has none.
    void destroyLinkList();

    CString m_strDst;  // empty for a deletion
    CString m_strSrc;
    CLumSiteDDLinkList* m_pLinkList = nullptr;
};

using CLumSiteDDList = CList<CLumSiteDDNode>;
