// A podcast: an RSS 2.0 document with the iTunes tags, in the namespace
// kItunesNamespace under the prefix "itunes", declared on the root element
// (format detection looks for that declaration).
//
// Escaped fields, besides those of RSS 2.0: subtitle, artist (itunes:author),
// owner name and e-mail, category names and keywords.
#pragma once

#include "hostapp/feedxml/CLumRssXmlData.h"

inline constexpr const char* kItunesNamespace = "http://www.itunes.com/dtds/podcast-1.0.dtd";

class CLumiTuneXmlData : public CLumRssXmlData {
  public:
    CLumiTuneXmlData(const CString& path, const char16_t* encoding)
        : CLumRssXmlData(path, encoding) {}

    // As for RSS 2.0, with "xmlns:itunes" declared on the root element.
    Node createChannelNode() override;
    // A new itunes:owner under the channel.
    Node createOwnerNode(Node channel);

    // The itunes:category elements directly under node.
    void getCategoryNodeArray(Node node, NodeArray& categories) const override;
    // The name (its "text" attribute) of an itunes:category element.
    bool getCategory(Node category, CString& out) const override;
    // The itunes:image reference; the RSS 2.0 image URL when there is none.
    bool getImage(Node node, CString& out) const override;

    // false when there is no summary or it is empty: then the description
    // stands in for it.
    bool getSummary(Node node, CString& out) const;
    bool getArtist(Node node, CString& out) const;
    bool getSubTitle(Node node, CString& out) const;
    // The owner's name and e-mail address, asked of the channel (or of the
    // owner element itself).
    bool getName(Node node, CString& out) const;
    bool getEMail(Node node, CString& out) const;
    bool getKeywords(Node node, CString& out) const;
    bool getDuration(Node node, CString& out) const;
    bool getBlock(Node node, CString& out) const;

    bool setSummary(Node node, const CString& text);
    bool setArtist(Node node, const CString& text);
    bool setSubTitle(Node node, const CString& text);
    // On the owner element.
    bool setName(Node owner, const CString& text);
    bool setEMail(Node owner, const CString& text);
    bool setKeywords(Node node, const CString& text);
    bool setDuration(Node node, const CString& text);
    bool setBlock(Node node, const CString& text);
    using CLumRssXmlData::setImage;
    // <itunes:image href="url"/>.
    bool setImage(Node node, const CString& url);
    using CLumRssXmlData::setCategory;
    // Appends <itunes:category text="name">, with one nested category for
    // subCategory unless it is empty.
    bool setCategory(Node node, const CString& name, const CString& subCategory);

    // What the podcast reader does not take, and what it takes that the
    // podcast writer never writes again: the channel's date and an RSS 2.0
    // image (the writer writes only the iTunes one).
    void getChannelKept(Node channel, lum::KeptMarkup& out) const override;
    void getItemKept(Node item, lum::KeptMarkup& out) const override;

  protected:
    enum PodcastField : std::uint8_t {
        kSummaryField = kRss2Fields,
        kArtistField,
        kSubTitleField,
        kKeywordsField,
        kDurationField,
        kBlockField
    };
    std::vector<FieldGetter> itemFieldGetters() const override;

  private:
    static Node ownerOf(Node node);
    // The summary when it has a text, else the description: what the
    // reader takes as the description.
    static Node descriptionOf(Node node);
};
