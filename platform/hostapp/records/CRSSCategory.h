// One category of a channel or an item.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "mfc/CString.h"

class CRSSCategory {
  public:
    CRSSCategory() = default;
    CRSSCategory(const CRSSCategory&) = default;
    CRSSCategory& operator=(const CRSSCategory&) = default;
    CRSSCategory(CRSSCategory&&) noexcept = default;
    CRSSCategory& operator=(CRSSCategory&&) noexcept = default;
    ~CRSSCategory() = default;

    CString m_category;     // category text, or the iTunes category name
    CString m_subCategory;  // iTunes subcategory under m_category; empty for RSS 2.0
    // The attributes of an RSS 2.0 category element ("domain"), put back by
    // the RSS 2.0 writer.
    lum::KeptMarkup m_kept;
};
