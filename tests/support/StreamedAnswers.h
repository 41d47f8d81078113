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

// The getters of a document by name, each asked on items unless said.
template <typename Doc>
struct Getter {
    const char* name;
    bool (Doc::*get)(Node, CString&) const;
    bool onItems = true;
};

template <typename Doc>
void addQuestions(const Doc& doc, std::initializer_list<Getter<Doc>> getters,
                  std::vector<Question>& out) {
    for (const Getter<Doc>& getter : getters) {
        out.push_back({getter.name,
                       [&doc, get = getter.get](Node n, CString& t) { return (doc.*get)(n, t); },
                       getter.onItems});
    }
}

inline std::vector<Question> questionsOf(const CLumRssXmlData& doc) {
    using D = CLumRssXmlData;
    std::vector<Question> out;
    addQuestions<D>(doc,
                    {{"title", &D::getTitle},
                     {"link", &D::getLink},
                     {"description", &D::getDescription},
                     {"language", &D::getLanguage},
                     {"copyright", &D::getCopyright},
                     {"pubDate", &D::getPubDate},
                     {"ttl", &D::getTtl},
                     {"author", &D::getAuthor},
                     {"comments", &D::getComments},
                     {"url", &D::getEnclosureUrl},
                     {"length", &D::getEnclosureLength},
                     {"type", &D::getEnclosureType},
                     {"image", &D::getImage, false}},
                    out);
    return out;
}

inline std::vector<Question> questionsOf(const CLumiTuneXmlData& doc) {
    using D = CLumiTuneXmlData;
    std::vector<Question> out = questionsOf(static_cast<const CLumRssXmlData&>(doc));
    addQuestions<D>(doc,
                    {{"summary", &D::getSummary},
                     {"artist", &D::getArtist},
                     {"subtitle", &D::getSubTitle},
                     {"keywords", &D::getKeywords},
                     {"duration", &D::getDuration},
                     {"block", &D::getBlock},
                     {"owner's name", &D::getName, false},
                     {"owner's e-mail", &D::getEMail, false}},
                    out);
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
    using D = CLumRdfXmlData;
    std::vector<Question> out;
    addQuestions<D>(doc,
                    {{"title", &D::getTitle},
                     {"link", &D::getLink},
                     {"description", &D::getDescription},
                     {"creator", &D::getCreator},
                     {"rights", &D::getCopyright},
                     {"date", &D::getPubDate},
                     {"about", &D::getAbout},
                     {"image", &D::getImage, false}},
                    out);
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
