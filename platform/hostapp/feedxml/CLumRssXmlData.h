// An RSS 2.0 document: <rss version="2.0"><channel> with its fields and
// <item> elements.
//
// Every getX (node, out) fills out with the field of that element (empty when
// the element is missing) and returns whether it was there; every setX
// (node, ...) sets the field, creating the element when needed, and returns
// false only for a null node. Title, copyright and author are escaped fields
// (see CLumRssAbstract).
#pragma once

#include "hostapp/feedxml/CLumRssAbstract.h"

class CLumRssXmlData : public CLumRssAbstract {
  public:
    CLumRssXmlData(const CString& path, const char16_t* encoding)
        : CLumRssAbstract(path, encoding) {}

    // The channel under the root element, or a null handle.
    Node getChannelNode() const;
    // What getPubDate of getChannelNode gives for the file at path, from one
    // streaming pass instead of a tree: false when the file would not load
    // or has no channel (out is then empty).
    static bool readChannelPubDate(const CString& path, CString& out);
    // Every item of the channel (and any stray one under the root), in
    // document order.
    void getItemNodeArray(NodeArray& items) const;
    // The category elements directly under node.
    virtual void getCategoryNodeArray(Node node, NodeArray& categories) const;
    // The enclosure elements directly under an item.
    void getEnclosureNodeArray(Node item, NodeArray& enclosures) const;

    // The root <rss version="2.0"> when missing, then its channel (the
    // existing one when there is one).
    virtual Node createChannelNode();
    // A new item appended under the channel.
    Node createItemNode(Node channel);

    bool getTitle(Node node, CString& out) const;
    bool getLink(Node node, CString& out) const;
    bool getDescription(Node node, CString& out) const;
    bool getLanguage(Node node, CString& out) const;
    bool getCopyright(Node node, CString& out) const;
    bool getPubDate(Node node, CString& out) const;
    bool getTtl(Node node, CString& out) const;
    bool getAuthor(Node node, CString& out) const;
    bool getComments(Node node, CString& out) const;
    // The text of a category element.
    virtual bool getCategory(Node category, CString& out) const;
    // The URL of the channel's image.
    virtual bool getImage(Node node, CString& out) const;
    // The attributes of an enclosure element (or of an item's first one).
    bool getEnclosureUrl(Node node, CString& out) const;
    bool getEnclosureLength(Node node, CString& out) const;
    bool getEnclosureType(Node node, CString& out) const;

    bool setTitle(Node node, const CString& text);
    bool setLink(Node node, const CString& text);
    bool setDescription(Node node, const CString& text);
    bool setLanguage(Node node, const CString& text);
    bool setCopyright(Node node, const CString& text);
    bool setPubDate(Node node, const CString& text);
    bool setTtl(Node node, const CString& text);
    bool setAuthor(Node node, const CString& text);
    // dc:creator: an author named without an e-mail address, which RSS 2.0's
    // author element requires.
    bool setCreator(Node node, const CString& text);
    bool setComments(Node node, const CString& text);
    // Appends one more category element.
    bool setCategory(Node node, const CString& text);
    // <image> with url, title and link (title as plain text).
    bool setImage(Node node, const CString& url, const CString& title, const CString& link);
    // <enclosure url length type/>, replacing an earlier one.
    bool setEnclosure(Node node, const CString& url, const CString& length, const CString& type);

    // What the RSS 2.0 reader does not take from the channel (with what
    // stands beside it under the root, and the image's own parts) and from
    // an item, in document order.
    virtual void getChannelKept(Node channel, lum::KeptMarkup& out) const;
    virtual void getItemKept(Node item, lum::KeptMarkup& out) const;
    // The attributes of a category element ("domain").
    void getCategoryKept(Node category, lum::KeptMarkup& out) const;

  protected:
    // The getters an item's record answers, by field number.
    enum ItemField : std::uint8_t {
        kTitleField,
        kLinkField,
        kDescriptionField,
        kLanguageField,
        kCopyrightField,
        kPubDateField,
        kTtlField,
        kAuthorField,
        kCommentsField,
        kRss2Fields
    };
    virtual std::vector<FieldGetter> itemFieldGetters() const;
    // The getters a part's record answers, by field number.
    enum PartField : std::uint8_t {
        kCategoryPart = kFirstPartField,
        kEnclosureUrlPart,
        kEnclosureLengthPart,
        kEnclosureTypePart
    };
    bool streamFile(const CString& path) const override;
    // Keeps the channel's date of the file just streamed in for
    // readChannelPubDate, which answers with it while the file is unchanged.
    void rememberChannelDate(const CString& path) const;

    // An attribute of an enclosure element (or of an item's first one).
    bool getEnclosureAttribute(Node node, PartField field, const char16_t* name,
                               CString& out) const;
    // The root's children other than the channel and items, kept beside it.
    void keepBesideChannel(Node channel, lum::KeptMarkup& out) const;
};
