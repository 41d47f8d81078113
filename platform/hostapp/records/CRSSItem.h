// One entry of a feed.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/records/CRSSCategory.h"
#include "mfc/CString.h"

#include <cstdint>
#include <vector>

class CRSSItem {
  public:
    CRSSItem() = default;
    CRSSItem(const CRSSItem&) = default;
    CRSSItem& operator=(const CRSSItem&) = default;
    // Items move rather than copy when a channel's list grows: feeds hold
    // many thousands of them.
    CRSSItem(CRSSItem&&) noexcept = default;
    CRSSItem& operator=(CRSSItem&&) noexcept = default;
    ~CRSSItem() = default;

    void addCategory(const CRSSCategory& category) { m_categories.push_back(category); }
    std::vector<CRSSCategory>& getCategory() { return m_categories; }
    void setCategory(const std::vector<CRSSCategory>& categories) { m_categories = categories; }

    // The item's date as an RFC 822 text in local time; when the date is 0
    // or cannot be written, m_pubDateText (so empty when that is empty too).
    CString getModifiedTimeStr() const;

    std::vector<CRSSCategory> m_categories;  // RSS 2.0 only, in document order
    CString m_title;
    CString m_description;  // in podcasts the iTunes summary
    CString m_link;
    std::int64_t m_pubDate = 0;  // seconds since 1970; 0 = none
    // The date text of the file when m_pubDate cannot stand for it (it did not
    // parse), written back as it was so that a save never drops or changes a
    // date; whoever changes m_pubDate empties it.
    CString m_pubDateText;
    CString m_author;  // RSS 2.0 author or RSS 1.0 creator
    CString m_enclosureUrl;
    CString m_enclosureType;
    std::int64_t m_enclosureLength = 0;  // bytes; media files pass 2 GiB
    CString m_subTitle;                  // iTunes
    CString m_artist;                    // iTunes author of the item
    bool m_block = false;
    std::int32_t m_duration = 0;  // seconds
    CString m_keywords;
    CString m_comments;  // URL of the comments page
    // What the reader did not take from the item element (its guid, full
    // content, further enclosures...), put back by the writers.
    lum::KeptMarkup m_kept;
};
