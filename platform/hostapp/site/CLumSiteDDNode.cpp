#include "hostapp/site/CLumSiteDDNode.h"

namespace {

CLumSiteDDLinkList* copyOf(const CLumSiteDDLinkList* links) {
    if (!links) {
        return nullptr;
    }
    auto* copy = new CLumSiteDDLinkList(links->blockSize());
    for (POSITION pos = links->GetHeadPosition(); pos;) {
        copy->AddTail(links->GetNext(pos));
    }
    return copy;
}

}  // namespace

CLumSiteDDNode::CLumSiteDDNode() : m_pLinkList(new CLumSiteDDLinkList(10)) {}

CLumSiteDDNode::CLumSiteDDNode(const CString& source, const CString& destination)
    : m_strDst(destination), m_strSrc(source), m_pLinkList(new CLumSiteDDLinkList(10)) {}

CLumSiteDDNode::CLumSiteDDNode(const CLumSiteDDNode& other)
    : m_strDst(other.m_strDst), m_strSrc(other.m_strSrc), m_pLinkList(copyOf(other.m_pLinkList)) {}

CLumSiteDDNode& CLumSiteDDNode::operator=(const CLumSiteDDNode& other) {
    if (this != &other) {
        CLumSiteDDLinkList* links = copyOf(other.m_pLinkList);
        delete m_pLinkList;
        m_pLinkList = links;
        m_strDst = other.m_strDst;
        m_strSrc = other.m_strSrc;
    }
    return *this;
}

CLumSiteDDNode::~CLumSiteDDNode() {
    delete m_pLinkList;
}

void CLumSiteDDNode::destroyLinkList() {
    delete m_pLinkList;
    m_pLinkList = nullptr;
}
