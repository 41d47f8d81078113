#include "json/RecordJson.h"

#include "win32/PathMapping.h"

#include <libxml/encoding.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <set>

namespace newsdesk::app {

using nlohmann::ordered_json;

namespace {

const char* placeName(lum::KeptPlace place) {
    switch (place) {
        case lum::KeptPlace::Image:
            return "image";
        case lum::KeptPlace::Root:
            return "root";
        case lum::KeptPlace::Host:
            break;
    }
    return nullptr;
}

ordered_json categoriesJson(const std::vector<CRSSCategory>& categories) {
    ordered_json list = ordered_json::array();
    for (const auto& category : categories) {
        list.push_back(toJson(category));
    }
    return list;
}

}  // namespace

ordered_json keptJson(const lum::KeptMarkup& kept) {
    ordered_json list = ordered_json::array();
    for (const auto& element : kept.elements()) {
        ordered_json j;
        j["element"] = lum::KeptMarkup::toXml(element.node);
        if (const char* place = placeName(element.place)) {
            j["place"] = place;
        }
        list.push_back(std::move(j));
    }
    for (const auto& attribute : kept.attributes()) {
        ordered_json j;
        j["attribute"] = attribute.name();
        j["namespace"] = attribute.nsUri;
        j["value"] = attribute.value;
        if (const char* place = placeName(attribute.place)) {
            j["place"] = place;
        }
        list.push_back(std::move(j));
    }
    return list;
}

ordered_json toJson(const CRSSCategory& category) {
    ordered_json j;
    j["category"] = category.m_category.toUtf8();
    j["subCategory"] = category.m_subCategory.toUtf8();
    if (category.m_kept.holdsMarkup()) {
        j["kept"] = keptJson(category.m_kept);
    }
    return j;
}

ordered_json toJson(const CRSSItem& item) {
    ordered_json j;
    j["categories"] = categoriesJson(item.m_categories);
    j["title"] = item.m_title.toUtf8();
    j["description"] = item.m_description.toUtf8();
    j["link"] = item.m_link.toUtf8();
    j["pubDate"] = item.m_pubDate;
    j["pubDateText"] = item.m_pubDateText.toUtf8();
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
    if (item.m_kept.holdsMarkup()) {
        j["kept"] = keptJson(item.m_kept);
    }
    return j;
}

ordered_json toJson(const CRSSChannel& channel) {
    ordered_json j;
    ordered_json items = ordered_json::array();
    for (const auto& item : channel.m_items) {
        items.push_back(toJson(item));
    }
    j["items"] = std::move(items);
    ordered_json fields = toJsonWithoutItems(channel);
    for (auto& member : fields.items()) {
        j[member.key()] = std::move(member.value());
    }
    return j;
}

ordered_json toJsonWithoutItems(const CRSSChannel& channel) {
    ordered_json j;
    j["title"] = channel.m_title.toUtf8();
    j["description"] = channel.m_description.toUtf8();
    j["link"] = channel.m_link.toUtf8();
    j["pubDate"] = channel.m_pubDate.GetTime();
    j["pubDateText"] = channel.m_pubDateText.toUtf8();
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
    j["about"] = channel.m_about.toUtf8();
    ordered_json repaired = ordered_json::array();
    for (const auto& repair : channel.m_repaired) {
        repaired.push_back(repair.toUtf8());
    }
    j["repaired"] = std::move(repaired);
    if (channel.m_kept.holdsMarkup()) {
        j["kept"] = keptJson(channel.m_kept);
    }
    return j;
}

namespace {

// Reads the members of one JSON object into record fields; the first
// problem is kept, with the path of the key ("items[2].title").
class Reader {
  public:
    Reader(const nlohmann::json& object, std::string where, std::string& error)
        : m_object(object), m_where(std::move(where)), m_error(error) {}

    const nlohmann::json* find(const char* key) {
        m_known.insert(key);
        auto it = m_object.find(key);
        return it == m_object.end() || it->is_null() ? nullptr : &*it;
    }
    void text(const char* key, CString& field) {
        if (const auto* value = find(key)) {
            if (!value->is_string()) {
                return fail(key, "is not a text");
            }
            field = CString::fromUtf8(value->get<std::string>());
        }
    }
    void texts(const char* key, std::vector<CString>& field) {
        if (const auto* value = find(key)) {
            if (!value->is_array()) {
                return fail(key, "is not a list");
            }
            std::vector<CString> list;
            for (const auto& entry : *value) {
                if (!entry.is_string()) {
                    return fail(key, "is not a list of texts");
                }
                list.push_back(CString::fromUtf8(entry.get<std::string>()));
            }
            field = std::move(list);
        }
    }
    void flag(const char* key, bool& field) {
        if (const auto* value = find(key)) {
            if (!value->is_boolean()) {
                return fail(key, "is not true or false");
            }
            field = value->get<bool>();
        }
    }
    // A key the record does not have is a misspelling, not something to pass over.
    void refuseUnknownKeys() {
        for (auto it = m_object.begin(); it != m_object.end() && m_error.empty(); ++it) {
            if (m_known.count(it.key()) == 0) {
                m_error = "unknown key \"" + path(it.key().c_str()) + "\"";
            }
        }
    }
    // A number that must be at least lowest.
    template <typename Int>
    void atLeast(const char* key, Int& field, Int lowest) {
        Int value = field;
        number(key, value);
        if (m_error.empty() && find(key) != nullptr && value < lowest) {
            return fail(key, ("must not be below " + std::to_string(lowest)).c_str());
        }
        field = value;
    }
    void format(const char* key, int& field) {
        int value = field;
        number(key, value);
        if (m_error.empty() && (value < 0 || value > 2)) {
            m_error = "\"" + path(key) + "\" is " + std::to_string(value) +
                      ", an unknown format (0 RSS 1.0, 1 RSS 2.0, 2 podcast)";
            return;
        }
        field = value;
    }
    void encoding(const char* key, CString& field) {
        CString value = field;
        text(key, value);
        if (m_error.empty() && !value.IsEmpty()) {
            xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(value.toUtf8().c_str());
            if (handler == nullptr) {
                return fail(key, "is not an encoding this system can write");
            }
            xmlCharEncCloseFunc(handler);
        }
        field = value;
    }
    // The file a record is about, as a native path ("/home/ann/news.rss",
    // relative ones against the current folder) or as the module's own
    // Windows path.
    void filePath(const char* key, CString& field) {
        CString value = field;
        text(key, value);
        if (!m_error.empty() || value.IsEmpty()) {
            return;
        }
        std::u16string given(value.view());
        bool windows =
            given.size() >= 3 && given[1] == u':' && (given[2] == u'\\' || given[2] == u'/');
        if (!windows) {
            auto converted = nd::win32::toWindowsPath(value.toUtf8());
            if (!converted) {
                return fail(key, "cannot be given to the module");
            }
            value = CString(*converted);
        }
        field = value;
    }
    template <typename Int>
    void number(const char* key, Int& field) {
        if (const auto* value = find(key)) {
            if (!value->is_number_integer() ||
                (value->is_number_unsigned()
                     ? value->get<std::uint64_t>() >
                           static_cast<std::uint64_t>(std::numeric_limits<Int>::max())
                     : value->get<std::int64_t>() < std::numeric_limits<Int>::min() ||
                           value->get<std::int64_t>() > std::numeric_limits<Int>::max())) {
                return fail(key, "is not a whole number in range");
            }
            field = static_cast<Int>(value->get<std::int64_t>());
        }
    }
    void time(const char* key, CTime& field) {
        std::int64_t seconds = field.GetTime();
        number(key, seconds);
        field = CTime(seconds);
    }
    // Calls read(reader) for each object of the list under key.
    template <typename Read>
    void eachObject(const char* key, Read read) {
        const auto* list = find(key);
        if (list == nullptr) {
            return;
        }
        if (!list->is_array()) {
            return fail(key, "is not a list");
        }
        for (size_t i = 0; i < list->size() && m_error.empty(); ++i) {
            const auto& entry = (*list)[i];
            std::string where = path(key) + "[" + std::to_string(i) + "]";
            if (!entry.is_object()) {
                m_error = where + " is not an object";
                return;
            }
            Reader reader(entry, where, m_error);
            read(reader);
            reader.refuseUnknownKeys();
        }
    }
    // Kept markup in the form keptJson gives, read for a record of family.
    void kept(const char* key, lum::KeptMarkup& field, int family) {
        eachObject(key, [&](Reader& reader) {
            std::string element;
            std::string place;
            std::string attribute;
            std::string ns;
            std::string value;
            reader.utf8("element", element);
            reader.utf8("place", place);
            reader.utf8("attribute", attribute);
            reader.utf8("namespace", ns);
            reader.utf8("value", value);
            if (!reader.ok()) {
                return;
            }
            auto where = place.empty()      ? std::optional(lum::KeptPlace::Host)
                         : place == "image" ? std::optional(lum::KeptPlace::Image)
                         : place == "root"  ? std::optional(lum::KeptPlace::Root)
                                            : std::nullopt;
            if (!where) {
                return reader.fail("place", "is not image or root");
            }
            if (!element.empty() && attribute.empty()) {
                if (!field.addElementXml(element, *where, family)) {
                    return reader.fail("element", "is not one well-formed XML element");
                }
                return;
            }
            if (attribute.empty() || !element.empty()) {
                return reader.fail("element", "or \"attribute\" must be given, not both");
            }
            lum::KeptMarkup::Attribute kept;
            size_t colon = attribute.find(':');
            kept.prefix = colon == std::string::npos ? "" : attribute.substr(0, colon);
            kept.local = colon == std::string::npos ? attribute : attribute.substr(colon + 1);
            kept.nsUri = ns;
            kept.value = value;
            kept.family = family;
            kept.place = *where == lum::KeptPlace::Root ? *where : lum::KeptPlace::Host;
            if (kept.local.empty() || (!kept.prefix.empty() && ns.empty())) {
                return reader.fail("attribute", "needs a name and, with a prefix, a namespace");
            }
            field.addAttribute(std::move(kept));
        });
    }
    void utf8(const char* key, std::string& field) {
        if (const auto* value = find(key)) {
            if (!value->is_string()) {
                return fail(key, "is not a text");
            }
            field = value->get<std::string>();
        }
    }
    bool ok() const { return m_error.empty(); }
    void categories(const char* key, std::vector<CRSSCategory>& field) {
        eachObject(key, [&](Reader& reader) {
            CRSSCategory category;
            reader.text("category", category.m_category);
            reader.text("subCategory", category.m_subCategory);
            // Only RSS 2.0 writes a category's own attributes.
            reader.kept("kept", category.m_kept, 1);
            field.push_back(category);
        });
    }
    void items(const char* key, CRSSChannel& channel) {
        eachObject(key, [&](Reader& reader) {
            CRSSItem item;
            reader.categories("categories", item.m_categories);
            reader.text("title", item.m_title);
            reader.text("description", item.m_description);
            reader.text("link", item.m_link);
            reader.number("pubDate", item.m_pubDate);
            reader.text("pubDateText", item.m_pubDateText);
            reader.text("author", item.m_author);
            reader.text("enclosureUrl", item.m_enclosureUrl);
            reader.text("enclosureType", item.m_enclosureType);
            reader.atLeast("enclosureLength", item.m_enclosureLength,
                           decltype(item.m_enclosureLength){0});
            reader.text("subTitle", item.m_subTitle);
            reader.text("artist", item.m_artist);
            reader.flag("block", item.m_block);
            reader.atLeast("duration", item.m_duration, decltype(item.m_duration){0});
            reader.text("keywords", item.m_keywords);
            reader.text("comments", item.m_comments);
            reader.kept("kept", item.m_kept, familyOf(channel));
            channel.addItem(std::move(item));
        });
    }

    void fail(const char* key, const char* what) {
        if (m_error.empty()) {
            m_error = "\"" + path(key) + "\" " + what;
        }
    }

  private:
    // The format family the record's kept markup belongs to; the format is
    // read before the items for that.
    static int familyOf(const CRSSChannel& channel) { return channel.m_format == 0 ? 0 : 1; }
    std::set<std::string> m_known;
    std::string path(const char* key) const {
        return m_where.empty() ? std::string(key) : m_where + "." + key;
    }

    const nlohmann::json& m_object;
    std::string m_where;
    std::string& m_error;
};

}  // namespace

bool fromJson(const nlohmann::json& json, CRSSChannel& channel, std::string& error) {
    error.clear();
    if (!json.is_object()) {
        error = "the record is not a JSON object";
        return false;
    }
    Reader reader(json, "", error);
    // Kept markup means what it says in its format's family.
    reader.format("format", channel.m_format);
    reader.items("items", channel);
    reader.text("title", channel.m_title);
    reader.text("description", channel.m_description);
    reader.text("link", channel.m_link);
    reader.time("pubDate", channel.m_pubDate);
    reader.text("pubDateText", channel.m_pubDateText);
    reader.time("keptTime", channel.m_keptTime);
    reader.flag("useKeptTime", channel.m_useKeptTime);
    reader.text("copyright", channel.m_copyright);
    reader.text("language", channel.m_language);
    reader.text("subTitle", channel.m_subTitle);
    reader.text("author", channel.m_author);
    reader.text("image", channel.m_image);
    reader.flag("block", channel.m_block);
    reader.text("ownerName", channel.m_ownerName);
    reader.text("ownerEmail", channel.m_ownerEmail);
    reader.filePath("filePath", channel.m_filePath);
    reader.atLeast("ttl", channel.m_ttl, decltype(channel.m_ttl){0});
    reader.categories("categories", channel.m_categories);
    reader.encoding("encoding", channel.m_encoding);
    reader.text("about", channel.m_about);
    reader.texts("repaired", channel.m_repaired);
    reader.kept("kept", channel.m_kept, channel.m_format == 0 ? 0 : 1);
    reader.refuseUnknownKeys();
    return error.empty();
}

std::string missingRequiredFields(const nlohmann::json& json) {
    std::vector<std::string> missing;
    if (!json.contains("format") || json["format"].is_null()) {
        missing.emplace_back("format");
    }
    for (const char* key : {"title", "description", "link"}) {
        if (!json.contains(key) || !json[key].is_string() || json[key].get<std::string>().empty()) {
            missing.emplace_back(key);
        }
    }
    std::string list;
    for (std::size_t i = 0; i < missing.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == missing.size() ? " or " : ", ") + missing[i];
    }
    return list;
}

}  // namespace newsdesk::app
