// What a feed document answers, as text: every question the readers ask, in
// their order, and the ones no reader asks. A document read in one streaming
// pass must give the same text as the same document loaded into a tree; the
// tests and fuzz_feed_stream hold it to that.
#pragma once

#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumiTuneXmlData.h"
#include "hostapp/feedxml/KeptMarkup.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace newsdesk::testing {

template <typename Feed>
class Probe : public Feed {
  public:
    using Feed::Feed;
    // Whether the answers come from the streaming pass.
    bool answersFromStream() const { return this->isStreamedChannel(this->getChannelNode()); }
};

// A getter by name; onItems when the readers ask it of items.
struct Question {
    const char* name;
    std::function<bool(Node, CString&)> ask;
    bool onItems = true;
};

inline std::vector<Question> questionsOf(const CLumRssXmlData& doc) {
    using Getter = bool (CLumRssXmlData::*)(Node, CString&) const;
    std::vector<Question> out;
    for (auto [name, getter] : std::initializer_list<std::pair<const char*, Getter>>{
             {"title", &CLumRssXmlData::getTitle},
             {"link", &CLumRssXmlData::getLink},
             {"description", &CLumRssXmlData::getDescription},
             {"language", &CLumRssXmlData::getLanguage},
             {"copyright", &CLumRssXmlData::getCopyright},
             {"pubDate", &CLumRssXmlData::getPubDate},
             {"ttl", &CLumRssXmlData::getTtl},
             {"author", &CLumRssXmlData::getAuthor},
             {"comments", &CLumRssXmlData::getComments},
             {"url", &CLumRssXmlData::getEnclosureUrl},
             {"length", &CLumRssXmlData::getEnclosureLength},
             {"type", &CLumRssXmlData::getEnclosureType},
         }) {
        out.push_back(
            {name, [&doc, ask = getter](Node n, CString& t) { return (doc.*ask)(n, t); }});
    }
    out.push_back({"image", [&doc](Node n, CString& t) { return doc.getImage(n, t); }, false});
    return out;
}

inline std::vector<Question> questionsOf(const CLumiTuneXmlData& doc) {
    using Getter = bool (CLumiTuneXmlData::*)(Node, CString&) const;
    std::vector<Question> out = questionsOf(static_cast<const CLumRssXmlData&>(doc));
    for (auto [name, getter, onItems] :
         std::initializer_list<std::tuple<const char*, Getter, bool>>{
             {"summary", &CLumiTuneXmlData::getSummary, true},
             {"artist", &CLumiTuneXmlData::getArtist, true},
             {"subtitle", &CLumiTuneXmlData::getSubTitle, true},
             {"keywords", &CLumiTuneXmlData::getKeywords, true},
             {"duration", &CLumiTuneXmlData::getDuration, true},
             {"block", &CLumiTuneXmlData::getBlock, true},
             {"owner's name", &CLumiTuneXmlData::getName, false},
             {"owner's e-mail", &CLumiTuneXmlData::getEMail, false},
         }) {
        out.push_back(
            {name, [&doc, ask = getter](Node n, CString& t) { return (doc.*ask)(n, t); }, onItems});
    }
    return out;
}

inline void describeKept(const lum::KeptMarkup& kept, std::vector<std::string>& out) {
    for (const auto& e : kept.elements()) {
        out.push_back("  kept " + lum::KeptMarkup::toXml(e.node) + " at " +
                      std::to_string(static_cast<int>(e.place)) + "/" + std::to_string(e.family));
    }
    for (const auto& a : kept.attributes()) {
        out.push_back("  kept " + a.name() + "=" + a.value + " {" + a.nsUri + "} at " +
                      std::to_string(static_cast<int>(a.place)) + "/" + std::to_string(a.family));
    }
}

inline void describeFields(const std::vector<Question>& questions, Node node,
                           const std::string& what, std::vector<std::string>& out, bool onItem) {
    for (const Question& question : questions) {
        if (onItem && !question.onItems) {
            continue;
        }
        CString text = u"stale";
        bool found = question.ask(node, text);
        out.push_back(what + " " + question.name + (found ? " = " : " missing: ") + text.toUtf8());
    }
}

inline std::vector<Question> questionsOf(const CLumRdfXmlData& doc) {
    using Getter = bool (CLumRdfXmlData::*)(Node, CString&) const;
    std::vector<Question> out;
    for (auto [name, getter, onItems] :
         std::initializer_list<std::tuple<const char*, Getter, bool>>{
             {"title", &CLumRdfXmlData::getTitle, true},
             {"link", &CLumRdfXmlData::getLink, true},
             {"description", &CLumRdfXmlData::getDescription, true},
             {"creator", &CLumRdfXmlData::getCreator, true},
             {"rights", &CLumRdfXmlData::getCopyright, true},
             {"date", &CLumRdfXmlData::getPubDate, true},
             {"about", &CLumRdfXmlData::getAbout, true},
             {"image", &CLumRdfXmlData::getImage, false},
         }) {
        out.push_back(
            {name, [&doc, ask = getter](Node n, CString& t) { return (doc.*ask)(n, t); }, onItems});
    }
    return out;
}

template <typename Feed>
void describeCategories(const Feed& doc, Node host, std::vector<std::string>& out) {
    NodeArray categories;
    doc.getCategoryNodeArray(host, categories);
    for (const Node& category : categories) {
        CString text = u"stale";
        bool named = doc.getCategory(category, text);
        out.push_back(std::string(" category ") + (named ? "" : "(not one) ") + text.toUtf8());
        NodeArray below;
        doc.getCategoryNodeArray(category, below);
        out.push_back("  below it " + std::to_string(below.size()));
        lum::KeptMarkup kept;
        doc.getCategoryKept(category, kept);
        describeKept(kept, out);
    }
}

// What is asked of an enclosure: its attributes.
inline std::vector<Question> enclosureQuestions(const std::vector<Question>& questions) {
    std::vector<Question> out;
    for (const Question& question : questions) {
        std::string name = question.name;
        if (name == "url" || name == "length" || name == "type") {
            out.push_back(question);
        }
    }
    return out;
}

// Everything the readers ask, in their order, and then what else is asked
// of the items' parts.
template <typename Feed>
std::vector<std::string> readAll(const Feed& doc) {
    const std::vector<Question> questions = questionsOf(doc);
    std::vector<std::string> out;
    out.push_back(doc.IsOK() ? "loads" : "does not load");
    out.push_back("encoding " + doc.getEncoding().toUtf8());
    for (const CString& repair : doc.getRepairs()) {
        out.push_back("repaired " + repair.toUtf8());
    }
    Node channel = doc.getChannelNode();
    out.push_back(channel ? "channel" : "no channel");
    describeFields(questions, channel, "channel", out, false);
    constexpr bool kRss2 = std::is_base_of_v<CLumRssXmlData, Feed>;
    if constexpr (kRss2) {
        describeCategories(doc, channel, out);
    } else {
        // RSS 1.0 keeps its image beside the channel.
        describeFields(questions, doc.getRdfNode(), "root", out, false);
    }
    lum::KeptMarkup channelKept;
    doc.getChannelKept(channel, channelKept);
    describeKept(channelKept, out);
    NodeArray items;
    doc.getItemNodeArray(items);
    for (const Node& item : items) {
        describeFields(questions, item, "item", out, true);
        if constexpr (kRss2) {
            NodeArray enclosures;
            doc.getEnclosureNodeArray(item, enclosures);
            for (const Node& enclosure : enclosures) {
                describeFields(enclosureQuestions(questions), enclosure, " enclosure", out, true);
            }
            describeCategories(doc, item, out);
        }
        lum::KeptMarkup kept;
        doc.getItemKept(item, kept);
        describeKept(kept, out);
    }
    return out;
}

// The questions no reader asks, which a streamed document answers from the
// tree: the text of a whole item, what an item or the root would keep as a
// channel, an item's kept markup added to markup already there, an item's fields
// asked of its categories and enclosures.
template <typename Feed>
std::vector<std::string> askOddly(const Feed& doc) {
    std::vector<std::string> out;
    NodeArray items;
    doc.getItemNodeArray(items);
    for (const Node& item : items) {
        CString text;
        for (const Question& question : questionsOf(doc)) {
            if (!question.onItems) {
                bool found = question.ask(item, text);
                out.push_back(question.name + std::string(found ? " " : " missing ") +
                              text.toUtf8());
            }
        }
        if constexpr (std::is_base_of_v<CLumRssXmlData, Feed>) {
            doc.getCategory(item, text);
            out.push_back("item text " + text.toUtf8());
            // An item's fields asked of its parts.
            NodeArray parts;
            doc.getEnclosureNodeArray(item, parts);
            NodeArray categories;
            doc.getCategoryNodeArray(item, categories);
            parts.insert(parts.end(), categories.begin(), categories.end());
            for (const Node& part : parts) {
                describeFields(questionsOf(doc), part, " part", out, true);
            }
        }
        lum::KeptMarkup kept;
        doc.getItemKept(item, kept);
        doc.getItemKept(item, kept);
        doc.getChannelKept(item, kept);
        describeKept(kept, out);
    }
    return out;
}

}  // namespace newsdesk::testing
