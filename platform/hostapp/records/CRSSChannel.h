// One feed file: everything any of RSS 1.0, RSS 2.0 and podcast feeds carry.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/records/CRSSCategory.h"
#include "hostapp/records/CRSSItem.h"
#include "mfc/CString.h"
#include "mfc/CTime.h"

#include <cstdint>
#include <utility>
#include <vector>

class CRSSChannel {
  public:
    CRSSChannel() = default;
    ~CRSSChannel() = default;
    // A channel is owned by whoever created it and is never copied.
    CRSSChannel(const CRSSChannel&) = delete;
    CRSSChannel& operator=(const CRSSChannel&) = delete;

    void addItem(const CRSSItem& item) { m_items.push_back(item); }
    void addItem(CRSSItem&& item) { m_items.push_back(std::move(item)); }
    std::vector<CRSSCategory> getCategory() const { return m_categories; }
    void setCategory(std::vector<CRSSCategory> categories) { m_categories = std::move(categories); }

    // Back to the empty record, as before a file is read into it.
    void resetData();

    // The channel's date as an RFC 822 text in local time, formed from
    // m_keptTime while m_useKeptTime is set and from m_pubDate otherwise;
    // m_pubDateText when that time is 0 or cannot be written.
    CString getModifiedTimeStr() const;

    std::vector<CRSSItem> m_items;
    CString m_title;
    CString m_description;  // in podcasts the iTunes summary
    CString m_link;
    CTime m_pubDate;
    // As CRSSItem::m_pubDateText: the file's date text that did not parse.
    CString m_pubDateText;
    CTime m_keptTime;  // date of the stored file during a rewrite
    bool m_useKeptTime = false;
    CString m_copyright;
    CString m_language;
    CString m_subTitle;  // iTunes
    CString m_author;    // RSS 1.0 creator or iTunes author
    CString m_image;     // URL of the channel image
    bool m_block = false;
    CString m_ownerName;
    CString m_ownerEmail;
    std::int32_t m_format = 0;  // 0 RSS 1.0, 1 RSS 2.0, 2 podcast
    CString m_filePath;
    std::int32_t m_ttl = 0;  // minutes; 0 or less = none
    std::vector<CRSSCategory> m_categories;
    CString m_encoding;  // encoding of the document read, used again when writing
    // The URI an RSS 1.0 file gave its channel (rdf:about); written again
    // when the feed is saved outside a site.
    CString m_about;
    // What the file read needed to be read ("entities", "encoding",
    // "dropped entities"); empty
    // for a well-formed file. Writing always gives a well-formed one.
    std::vector<CString> m_repaired;
    // What the reader did not take from the channel element (and, in RSS
    // 1.0, from beside it), put back by the writers.
    lum::KeptMarkup m_kept;
};
