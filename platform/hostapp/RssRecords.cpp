#include "hostapp/CRSSChannel.h"
#include "hostapp/CRSSItem.h"
#include "hostapp/DateText.h"

CString CRSSItem::getModifiedTimeStr() const {
    return lum::formatRfc822(CTime(m_pubDate));
}

void CRSSChannel::resetData() {
    m_items.clear();
    m_title.Empty();
    m_description.Empty();
    m_link.Empty();
    m_pubDate = CTime();
    m_keptTime = CTime();
    m_useKeptTime = false;
    m_copyright.Empty();
    m_language.Empty();
    m_subTitle.Empty();
    m_author.Empty();
    m_image.Empty();
    m_block = false;
    m_ownerName.Empty();
    m_ownerEmail.Empty();
    m_format = 0;
    m_filePath.Empty();
    m_ttl = 0;
    m_categories.clear();
    m_encoding.Empty();
}

CString CRSSChannel::getModifiedTimeStr() const {
    return lum::formatRfc822(m_useKeptTime ? m_keptTime : m_pubDate);
}
