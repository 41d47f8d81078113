#include "sitefiles/ChannelCopy.h"

namespace newsdesk::sitefiles {

void copyChannel(const CRSSChannel& source, CRSSChannel& target) {
    target.m_items = source.m_items;
    target.m_title = source.m_title;
    target.m_description = source.m_description;
    target.m_link = source.m_link;
    target.m_pubDate = source.m_pubDate;
    target.m_pubDateText = source.m_pubDateText;
    target.m_keptTime = source.m_keptTime;
    target.m_useKeptTime = source.m_useKeptTime;
    target.m_copyright = source.m_copyright;
    target.m_language = source.m_language;
    target.m_subTitle = source.m_subTitle;
    target.m_author = source.m_author;
    target.m_image = source.m_image;
    target.m_block = source.m_block;
    target.m_ownerName = source.m_ownerName;
    target.m_ownerEmail = source.m_ownerEmail;
    target.m_format = source.m_format;
    target.m_filePath = source.m_filePath;
    target.m_ttl = source.m_ttl;
    target.m_categories = source.m_categories;
    target.m_encoding = source.m_encoding;
    target.m_about = source.m_about;
    target.m_repaired = source.m_repaired;
    target.m_kept = source.m_kept;
}

}  // namespace newsdesk::sitefiles
