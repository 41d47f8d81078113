// An RSS 1.0 document: <rdf:RDF> with the RSS 1.0 vocabulary as its default
// namespace and Dublin Core under "dc". The channel and the items stand side
// by side under the root; the channel lists the items in an rdf:Seq, and the
// image is both a reference in the channel and an element under the root.
//
// Escaped fields: title, creator (dc:creator) and copyright (dc:rights) of the
// channel and the items, and the title of the root's image.
#pragma once

#include "hostapp/feedxml/CLumRssAbstract.h"

#include <vector>

inline constexpr const char* kRdfNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
inline constexpr const char* kRss10Namespace = "http://purl.org/rss/1.0/";
inline constexpr const char* kDublinCoreNamespace = "http://purl.org/dc/elements/1.1/";

class CLumRdfXmlData : public CLumRssAbstract {
  public:
    CLumRdfXmlData(const CString& path, const char16_t* encoding)
        : CLumRssAbstract(path, encoding) {}

    // The root when it is rdf:RDF, else a null handle.
    Node getRdfNode() const;
    Node getChannelNode() const;
    // The item elements, in document order.
    void getItemNodeArray(NodeArray& items) const;

    // The root rdf:RDF with its namespaces (the existing one when there is).
    Node createRdfNode();
    // <channel rdf:about="about"> under the root; without the attribute
    // when about is empty (an empty URI would name the file itself).
    Node createChannelNode(const CString& about);
    // <item rdf:about="about"> under the root, after what is there; without
    // the attribute when about is empty.
    Node createItemNode(const CString& about);
    // The channel's <items><rdf:Seq> with one rdf:li per link, in order,
    // replacing an earlier sequence.
    bool setItemSeq(Node channel, const std::vector<CString>& links);
    // Every rdf:about and rdf:resource made a URI: what one cannot hold
    // (spaces, letters outside ASCII, quotes...) is percent-encoded as
    // UTF-8. The last step of a write, after links are rewritten.
    void encodeResources();

    // The node's rdf:about, the URI it describes; empty when it has none.
    bool getAbout(Node node, CString& out) const;
    bool getTitle(Node node, CString& out) const;
    bool getLink(Node node, CString& out) const;
    bool getDescription(Node node, CString& out) const;
    bool getCreator(Node node, CString& out) const;
    bool getCopyright(Node node, CString& out) const;
    // The dc:date text as the file has it.
    bool getPubDate(Node node, CString& out) const;
    // Of the root: the url of the image element; of the channel: the image
    // reference.
    bool getImage(Node node, CString& out) const;

    bool setTitle(Node node, const CString& text);
    bool setLink(Node node, const CString& text);
    bool setDescription(Node node, const CString& text);
    bool setCreator(Node node, const CString& text);
    bool setCopyright(Node node, const CString& text);
    // dc:date must be W3C-DTF: an RFC 822 text is converted, keeping its zone;
    // a text that is neither is stored as given.
    bool setPubDate(Node node, const CString& text);
    // The channel's <image rdf:resource="url"/>.
    bool setImage(Node channel, const CString& url);
    // The root's <image rdf:about="url"> with title, link and url.
    bool setImage(Node root, const CString& title, const CString& link, const CString& url);

    // What the RSS 1.0 reader does not take from the channel (with what
    // stands beside it under the root and the root image's own parts) and
    // from an item, in document order; rdf:about is not kept.
    void getChannelKept(Node channel, lum::KeptMarkup& out) const;
    void getItemKept(Node item, lum::KeptMarkup& out) const;

  protected:
    // The getters an item's record answers, by field number.
    enum ItemField : std::uint8_t {
        kTitleField,
        kLinkField,
        kDescriptionField,
        kCreatorField,
        kCopyrightField,
        kPubDateField
    };
    std::vector<FieldGetter> itemFieldGetters() const;
    bool streamFile(const CString& path) const override;
};
