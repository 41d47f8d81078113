// What makes a feed valid RSS 1.0, RSS 2.0 or a podcast, as data: one row
// per element or attribute a format defines, with how often it may appear
// and the form its value takes. The rules follow RSS 2.0 as published, with
// the RSS Advisory Board's profile, RSS 1.0 with its
// Dublin Core and content modules, and the iTunes podcast tags.
#pragma once

#include <span>
#include <string_view>

namespace newsdesk::check {

// Which formats a row binds, as bits of the format codes (0 RSS 1.0,
// 1 RSS 2.0, 2 podcast).
inline constexpr unsigned kRss1 = 1u << 0;
inline constexpr unsigned kRss2 = 1u << 1;
inline constexpr unsigned kPodcast = 1u << 2;
inline constexpr unsigned kRss2Family = kRss2 | kPodcast;
inline constexpr unsigned kEvery = kRss1 | kRss2 | kPodcast;

inline constexpr const char* kRss1Ns = "http://purl.org/rss/1.0/";
inline constexpr const char* kRdfNs = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
inline constexpr const char* kDcNs = "http://purl.org/dc/elements/1.1/";
inline constexpr const char* kContentNs = "http://purl.org/rss/1.0/modules/content/";
inline constexpr const char* kItunesNs = "http://www.itunes.com/dtds/podcast-1.0.dtd";

// The form of a value.
enum class Form {
    Text,      // anything
    NotBlank,  // some text
    Url,       // an absolute URI: a scheme, and a host after "//" for http(s)
    Email,     // "jane@example.com", optionally "(Jane)" after it
    Rfc822,    // "Tue, 04 May 2010 10:00:00 GMT"
    W3cDtf,    // "2010-05-04T10:00:00Z"
    Language,  // "en-us"
    Integer,   // "0", "1200"
    Mime,      // "audio/mpeg"
    Duration,  // "3600", "59:59", "1:00:00"
    YesNo,     // iTunes explicit: yes, no, clean, true, false
};

// OneAdvised: more than one is allowed but warned about (most readers take
// the first).
enum class Count { Optional, Once, Required, Many, OneAdvised };

// A child element of a context ("channel", "item", "image", "owner") in a
// namespace (empty for none).
struct ElementRule {
    unsigned formats;
    const char* context;
    const char* ns;
    const char* name;
    Count count;
    Form form;
};

// An attribute of an element, in a namespace (empty for none).
struct AttributeRule {
    unsigned formats;
    const char* elementNs;
    const char* element;
    const char* ns;
    const char* name;
    bool required;
    Form form;
};

// A context needs one of these children (RSS 2.0's item: a title or a
// description).
struct AnyOfRule {
    unsigned formats;
    const char* context;
    const char* first;
    const char* second;
};

// The namespaces whose every element we know: an element of one of them
// that no row names is undefined.
struct KnownNamespace {
    unsigned formats;
    const char* ns;
};

// A child a format does not require but whose absence makes podcast
// directories refuse the feed: reported as a warning.
struct WantedRule {
    unsigned formats;
    const char* context;
    const char* ns;
    const char* name;
};

std::span<const ElementRule> elementRules();
std::span<const WantedRule> wantedRules();
std::span<const AttributeRule> attributeRules();
std::span<const AnyOfRule> anyOfRules();
std::span<const KnownNamespace> knownNamespaces();

// Whether value has the form; the text as the file holds it, trimmed.
bool hasForm(Form form, std::string_view value);
// "a URL", "an e-mail address"...: what a value of the form must be.
const char* formName(Form form);

}  // namespace newsdesk::check
