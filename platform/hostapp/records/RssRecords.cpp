#include "hostapp/records/CRSSChannel.h"
#include "hostapp/records/CRSSItem.h"
#include "hostapp/text/DateText.h"

namespace {

CString dateText(CTime time, const CString& keptText) {
    CString text = time.GetTime() != 0 ? lum::formatRfc822(time) : CString();
    return text.IsEmpty() ? keptText : text;
}

}  // namespace

CString CRSSItem::getModifiedTimeStr() const {
    return dateText(CTime(m_pubDate), m_pubDateText);
}

void CRSSChannel::resetData() {
    m_items.clear();
    m_title.Empty();
    m_description.Empty();
    m_link.Empty();
    m_pubDate = CTime();
    m_pubDateText.Empty();
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
    m_about.Empty();
    m_repaired.clear();
    m_kept = lum::KeptMarkup();
}

CString CRSSChannel::getModifiedTimeStr() const {
    return dateText(m_useKeptTime ? m_keptTime : m_pubDate, m_pubDateText);
}
