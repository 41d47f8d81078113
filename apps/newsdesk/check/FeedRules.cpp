#include "check/FeedRules.h"

#include "hostapp/text/FeedDate.h"

#include <array>
#include <map>
#include <regex>
#include <string>

namespace newsdesk::check {

namespace {

using enum Count;
using enum Form;

constexpr std::array kElements{
    // RSS 2.0: the root and the channel.
    ElementRule{kRss2Family, "rss", "", "channel", Required, Text},
    ElementRule{kRss2Family, "channel", "", "title", Required, NotBlank},
    ElementRule{kRss2Family, "channel", "", "link", Required, Url},
    ElementRule{kRss2Family, "channel", "", "description", Required, Text},
    ElementRule{kRss2Family, "channel", "", "language", Once, Language},
    ElementRule{kRss2Family, "channel", "", "copyright", Once, Text},
    ElementRule{kRss2Family, "channel", "", "managingEditor", Once, Email},
    ElementRule{kRss2Family, "channel", "", "webMaster", Once, Email},
    ElementRule{kRss2Family, "channel", "", "pubDate", Once, Rfc822},
    ElementRule{kRss2Family, "channel", "", "lastBuildDate", Once, Rfc822},
    ElementRule{kRss2Family, "channel", "", "category", Many, NotBlank},
    ElementRule{kRss2Family, "channel", "", "generator", Once, Text},
    ElementRule{kRss2Family, "channel", "", "docs", Once, Url},
    ElementRule{kRss2Family, "channel", "", "cloud", Once, Text},
    ElementRule{kRss2Family, "channel", "", "ttl", Once, Integer},
    ElementRule{kRss2Family, "channel", "", "image", Once, Text},
    ElementRule{kRss2Family, "channel", "", "rating", Once, Text},
    ElementRule{kRss2Family, "channel", "", "textInput", Once, Text},
    ElementRule{kRss2Family, "channel", "", "skipHours", Once, Text},
    ElementRule{kRss2Family, "channel", "", "skipDays", Once, Text},
    ElementRule{kRss2Family, "channel", "", "item", Many, Text},
    ElementRule{kRss2Family, "image", "", "url", Required, Url},
    ElementRule{kRss2Family, "image", "", "title", Required, NotBlank},
    ElementRule{kRss2Family, "image", "", "link", Required, Url},
    ElementRule{kRss2Family, "image", "", "width", Once, Integer},
    ElementRule{kRss2Family, "image", "", "height", Once, Integer},
    ElementRule{kRss2Family, "image", "", "description", Once, Text},
    // RSS 2.0 items.
    ElementRule{kRss2Family, "item", "", "title", Once, Text},
    ElementRule{kRss2Family, "item", "", "link", Once, Url},
    ElementRule{kRss2Family, "item", "", "description", Once, Text},
    ElementRule{kRss2Family, "item", "", "author", Once, Email},
    ElementRule{kRss2Family, "item", "", "category", Many, NotBlank},
    ElementRule{kRss2Family, "item", "", "comments", Once, Url},
    ElementRule{kRss2Family, "item", "", "enclosure", OneAdvised, Text},
    ElementRule{kRss2Family, "item", "", "guid", Once, NotBlank},
    ElementRule{kRss2Family, "item", "", "pubDate", Once, Rfc822},
    ElementRule{kRss2Family, "item", "", "source", Once, Text},
    // RSS 1.0.
    ElementRule{kRss1, "RDF", kRss1Ns, "channel", Required, Text},
    ElementRule{kRss1, "RDF", kRss1Ns, "image", Once, Text},
    ElementRule{kRss1, "RDF", kRss1Ns, "item", Many, Text},
    ElementRule{kRss1, "RDF", kRss1Ns, "textinput", Once, Text},
    ElementRule{kRss1, "channel", kRss1Ns, "title", Required, NotBlank},
    ElementRule{kRss1, "channel", kRss1Ns, "link", Required, Url},
    ElementRule{kRss1, "channel", kRss1Ns, "description", Required, Text},
    ElementRule{kRss1, "channel", kRss1Ns, "image", Once, Text},
    ElementRule{kRss1, "channel", kRss1Ns, "items", Required, Text},
    ElementRule{kRss1, "channel", kRss1Ns, "textinput", Once, Text},
    ElementRule{kRss1, "channel", kRss1Ns, "item", Many, Text},
    ElementRule{kRss1, "image", kRss1Ns, "title", Required, NotBlank},
    ElementRule{kRss1, "image", kRss1Ns, "link", Required, Url},
    ElementRule{kRss1, "image", kRss1Ns, "url", Required, Url},
    ElementRule{kRss1, "item", kRss1Ns, "title", Required, NotBlank},
    ElementRule{kRss1, "item", kRss1Ns, "link", Required, Url},
    ElementRule{kRss1, "item", kRss1Ns, "description", Once, Text},
    ElementRule{kRss1, "textinput", kRss1Ns, "title", Required, Text},
    ElementRule{kRss1, "textinput", kRss1Ns, "description", Required, Text},
    ElementRule{kRss1, "textinput", kRss1Ns, "name", Required, Text},
    ElementRule{kRss1, "textinput", kRss1Ns, "link", Required, Url},
    // Dublin Core, in every format.
    ElementRule{kEvery, "*", kDcNs, "title", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "creator", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "subject", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "description", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "publisher", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "contributor", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "date", Once, W3cDtf},
    ElementRule{kEvery, "*", kDcNs, "type", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "format", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "identifier", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "source", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "language", Once, Language},
    ElementRule{kEvery, "*", kDcNs, "relation", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "coverage", Many, Text},
    ElementRule{kEvery, "*", kDcNs, "rights", Many, Text},
    // The content module: its item list is RDF, defined in RSS 1.0 only.
    ElementRule{kEvery, "item", kContentNs, "encoded", Once, Text},
    ElementRule{kRss1, "*", kContentNs, "items", Once, Text},
    ElementRule{kRss1, "*", kContentNs, "item", Many, Text},
    ElementRule{kRss1, "*", kContentNs, "format", Many, Text},
    ElementRule{kRss1, "*", kContentNs, "encoding", Many, Text},
    // The iTunes tags.
    ElementRule{kRss2Family, "channel", kItunesNs, "author", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "block", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "category", Many, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "image", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "explicit", Once, YesNo},
    ElementRule{kRss2Family, "channel", kItunesNs, "complete", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "new-feed-url", Once, Url},
    ElementRule{kRss2Family, "channel", kItunesNs, "owner", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "subtitle", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "summary", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "keywords", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "type", Once, Text},
    ElementRule{kRss2Family, "channel", kItunesNs, "title", Once, Text},
    ElementRule{kRss2Family, "owner", kItunesNs, "name", Once, Text},
    ElementRule{kRss2Family, "owner", kItunesNs, "email", Once, Email},
    ElementRule{kRss2Family, "category", kItunesNs, "category", Many, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "author", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "block", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "image", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "duration", Once, Duration},
    ElementRule{kRss2Family, "item", kItunesNs, "explicit", Once, YesNo},
    ElementRule{kRss2Family, "item", kItunesNs, "isClosedCaptioned", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "order", Once, Integer},
    ElementRule{kRss2Family, "item", kItunesNs, "subtitle", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "summary", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "keywords", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "title", Once, Text},
    ElementRule{kRss2Family, "item", kItunesNs, "episode", Once, Integer},
    ElementRule{kRss2Family, "item", kItunesNs, "season", Once, Integer},
    ElementRule{kRss2Family, "item", kItunesNs, "episodeType", Once, Text},
};

constexpr std::array kAttributes{
    AttributeRule{kRss2Family, "", "enclosure", "", "url", true, Url},
    AttributeRule{kRss2Family, "", "enclosure", "", "length", true, Integer},
    AttributeRule{kRss2Family, "", "enclosure", "", "type", true, Mime},
    AttributeRule{kRss2Family, "", "source", "", "url", true, Url},
    AttributeRule{kRss2Family, "", "rss", "", "version", true, NotBlank},
    AttributeRule{kRss1, kRss1Ns, "channel", kRdfNs, "about", true, Url},
    AttributeRule{kRss1, kRss1Ns, "item", kRdfNs, "about", true, Url},
    AttributeRule{kRss1, kRss1Ns, "image", kRdfNs, "about", false, Url},
    AttributeRule{kRss1, kRss1Ns, "textinput", kRdfNs, "about", false, Url},
    AttributeRule{kRss1, kRdfNs, "li", kRdfNs, "resource", true, Url},
    AttributeRule{kRss2Family, kItunesNs, "image", "", "href", true, Url},
    AttributeRule{kRss2Family, kItunesNs, "category", "", "text", true, NotBlank},
};

// What the podcast directories ask of every show besides the RSS 2.0 it is.
constexpr std::array kWanted{
    WantedRule{kPodcast, "channel", kItunesNs, "image"},
    WantedRule{kPodcast, "channel", kItunesNs, "category"},
    WantedRule{kPodcast, "channel", kItunesNs, "explicit"},
};

constexpr std::array kAnyOf{
    AnyOfRule{kRss2Family, "item", "title", "description"},
};

constexpr std::array kKnown{
    KnownNamespace{kRss1, kRss1Ns},
    KnownNamespace{kEvery, kDcNs},
    KnownNamespace{kEvery, kContentNs},
    KnownNamespace{kRss2Family, kItunesNs},
};

bool matches(const char* pattern, std::string_view value) {
    // Compiled once per pattern: a feed has thousands of values.
    thread_local std::map<const char*, std::regex> compiled;
    auto it = compiled.find(pattern);
    if (it == compiled.end()) {
        it = compiled.emplace(pattern, std::regex(pattern)).first;
    }
    return std::regex_match(value.begin(), value.end(), it->second);
}

}  // namespace

std::span<const ElementRule> elementRules() {
    return kElements;
}
std::span<const AttributeRule> attributeRules() {
    return kAttributes;
}
std::span<const WantedRule> wantedRules() {
    return kWanted;
}
std::span<const AnyOfRule> anyOfRules() {
    return kAnyOf;
}
std::span<const KnownNamespace> knownNamespaces() {
    return kKnown;
}

bool hasForm(Form form, std::string_view value) {
    std::u16string wide(value.begin(), value.end());
    switch (form) {
        case Text:
            return true;
        case NotBlank:
            return !value.empty();
        case Url:
            return matches(R"(([hH][tT][tT][pP][sS]?://[^\s/?#]+[^\s]*)|)"
                           R"(((?![hH][tT][tT][pP][sS]?:)[A-Za-z][A-Za-z0-9+.\-]*:[^\s]+))",
                           value);
        case Email:
            return matches(R"([^@\s()<>,;:"]+@[^@\s()<>,;:"]+\.[^@\s()<>,;:".]+( \([^()]*\))?)",
                           value);
        case Rfc822:
            return matches(R"(((Mon|Tue|Wed|Thu|Fri|Sat|Sun), )?\d{1,2} )"
                           R"((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{2,4} )"
                           R"(\d{2}:\d{2}(:\d{2})? ([+-]\d{4}|[A-Z]{1,3}))",
                           value) &&
                   lum::parseRfc822Date(wide).has_value();
        case W3cDtf:
            return matches(
                R"(\d{4}(-\d{2}(-\d{2}(T\d{2}:\d{2}(:\d{2}(\.\d+)?)?(Z|[+-]\d{2}:\d{2}))?)?)?)",
                value);
        case Language:
            return matches(R"([A-Za-z]{1,8}(-[A-Za-z0-9]{1,8})*)", value);
        case Integer:
            return matches(R"(\d+)", value);
        case Mime:
            return matches(R"([A-Za-z0-9!#$&^_.+\-]+/[A-Za-z0-9!#$&^_.+\-]+(\s*;.*)?)", value);
        case Duration:
            return matches(R"(\d+(:[0-5]?\d){0,2}(\.\d+)?)", value);
        case YesNo:
            return matches(R"(yes|no|clean|true|false)", value);
    }
    return true;
}

const char* formName(Form form) {
    switch (form) {
        case Text:
        case NotBlank:
            return "some text";
        case Url:
            return "a full URL";
        case Email:
            return "an e-mail address";
        case Rfc822:
            return "an RFC 822 date";
        case W3cDtf:
            return "a W3C-DTF date";
        case Language:
            return "a language code";
        case Integer:
            return "a whole number";
        case Mime:
            return "a MIME type";
        case Duration:
            return "a duration (seconds, MM:SS or HH:MM:SS)";
        case YesNo:
            return "yes, no, clean, true or false";
    }
    return "";
}

}  // namespace newsdesk::check
