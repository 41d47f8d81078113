#include "commands/RequiredFields.h"

#include <array>

namespace newsdesk::app {

namespace {

// Which formats a rule binds, as bits of the format codes.
constexpr unsigned kRss1 = 1u << 0;
constexpr unsigned kRss2 = 1u << 1;
constexpr unsigned kPodcast = 1u << 2;

struct ChannelRule {
    unsigned formats;
    const char* name;
    CString CRSSChannel::*field;
};

// An item rule is met when any of its fields is filled (RSS 2.0 takes an
// item with a title or a description).
struct ItemRule {
    unsigned formats;
    const char* name;
    std::array<CString CRSSItem::*, 2> anyOf;
};

constexpr std::array kChannelRules{
    ChannelRule{kRss1 | kRss2 | kPodcast, "channel title", &CRSSChannel::m_title},
    ChannelRule{kRss1 | kRss2 | kPodcast, "channel link", &CRSSChannel::m_link},
};

constexpr std::array kItemRules{
    ItemRule{kRss1, "item titles", {&CRSSItem::m_title, nullptr}},
    ItemRule{kRss1, "item links", {&CRSSItem::m_link, nullptr}},
    ItemRule{kRss2 | kPodcast,
             "items without title or description",
             {&CRSSItem::m_title, &CRSSItem::m_description}},
};

bool met(const CRSSItem& item, const ItemRule& rule) {
    for (auto field : rule.anyOf) {
        if (field != nullptr && !(item.*field).IsEmpty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::map<std::string, int> missingFields(const CRSSChannel& channel, int format) {
    std::map<std::string, int> missing;
    unsigned bit = format >= 0 && format <= 2 ? 1u << format : 0;
    for (const ChannelRule& rule : kChannelRules) {
        if ((rule.formats & bit) != 0 && (channel.*rule.field).IsEmpty()) {
            ++missing[rule.name];
        }
    }
    for (const CRSSItem& item : channel.m_items) {
        for (const ItemRule& rule : kItemRules) {
            if ((rule.formats & bit) != 0 && !met(item, rule)) {
                ++missing[rule.name];
            }
        }
    }
    return missing;
}

}  // namespace newsdesk::app
