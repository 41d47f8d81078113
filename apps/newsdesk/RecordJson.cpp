#include "RecordJson.h"

namespace newsdesk::app {

using nlohmann::ordered_json;

namespace {

ordered_json categoriesJson(const std::vector<CRSSCategory>& categories) {
    ordered_json list = ordered_json::array();
    for (const auto& category : categories) {
        list.push_back(toJson(category));
    }
    return list;
}

}  // namespace

ordered_json toJson(const CRSSCategory& category) {
    ordered_json j;
    j["category"] = category.m_category.toUtf8();
    j["subCategory"] = category.m_subCategory.toUtf8();
    return j;
}

ordered_json toJson(const CRSSItem& item) {
    ordered_json j;
    j["categories"] = categoriesJson(item.m_categories);
    j["title"] = item.m_title.toUtf8();
    j["description"] = item.m_description.toUtf8();
    j["link"] = item.m_link.toUtf8();
    j["pubDate"] = item.m_pubDate;
    j["author"] = item.m_author.toUtf8();
    j["enclosureUrl"] = item.m_enclosureUrl.toUtf8();
    j["enclosureType"] = item.m_enclosureType.toUtf8();
    j["enclosureLength"] = item.m_enclosureLength;
    j["subTitle"] = item.m_subTitle.toUtf8();
    j["artist"] = item.m_artist.toUtf8();
    j["block"] = item.m_block;
    j["duration"] = item.m_duration;
    j["keywords"] = item.m_keywords.toUtf8();
    j["comments"] = item.m_comments.toUtf8();
    return j;
}

ordered_json toJson(const CRSSChannel& channel) {
    ordered_json j;
    ordered_json items = ordered_json::array();
    for (const auto& item : channel.m_items) {
        items.push_back(toJson(item));
    }
    j["items"] = std::move(items);
    j["title"] = channel.m_title.toUtf8();
    j["description"] = channel.m_description.toUtf8();
    j["link"] = channel.m_link.toUtf8();
    j["pubDate"] = channel.m_pubDate.GetTime();
    j["keptTime"] = channel.m_keptTime.GetTime();
    j["useKeptTime"] = channel.m_useKeptTime;
    j["copyright"] = channel.m_copyright.toUtf8();
    j["language"] = channel.m_language.toUtf8();
    j["subTitle"] = channel.m_subTitle.toUtf8();
    j["author"] = channel.m_author.toUtf8();
    j["image"] = channel.m_image.toUtf8();
    j["block"] = channel.m_block;
    j["ownerName"] = channel.m_ownerName.toUtf8();
    j["ownerEmail"] = channel.m_ownerEmail.toUtf8();
    j["format"] = channel.m_format;
    j["filePath"] = channel.m_filePath.toUtf8();
    j["ttl"] = channel.m_ttl;
    j["categories"] = categoriesJson(channel.m_categories);
    j["encoding"] = channel.m_encoding.toUtf8();
    return j;
}

}  // namespace newsdesk::app
