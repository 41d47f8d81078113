// Base of the feed documents: one XML tree, loaded from a file or built from
// nothing, and the element work that RSS 1.0, RSS 2.0 and podcast documents
// share. Names compare without regard to case.
//
// Fields that feed readers unescape and writers escape are carried in
// escaped form: their getters return the text with the four entities of
// escapeEntities applied, their setters decode those entities once before
// storing. So the file holds exactly the text a user typed ("AT&amp;T" in
// the markup for AT&T), and a record survives a write and a read unchanged.
#pragma once

#include "hostapp/feedxml/DomDocument.h"
#include "hostapp/feedxml/DomNode.h"
#include "hostapp/feedxml/KeptMarkup.h"
#include "mfc/CString.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CLumRssAbstract {
  public:
    // With a path: loads that file (encoding is not used). With an empty
    // path: an empty document that will be written in encoding (null or
    // empty: UTF-8).
    CLumRssAbstract(const CString& path, const char16_t* encoding);
    virtual ~CLumRssAbstract();
    CLumRssAbstract(const CLumRssAbstract&) = delete;
    CLumRssAbstract& operator=(const CLumRssAbstract&) = delete;

    // false when the file was missing, unreadable or not well-formed.
    bool IsOK() const { return Document != nullptr; }
    // The encoding the document declares (a loaded file) or was made with;
    // empty when none.
    CString getEncoding() const { return m_encoding; }
    // What the loaded file needed to be read ("entities", "encoding"); empty
    // for a well-formed file.
    std::vector<CString> getRepairs() const { return m_repairs; }

    // Writes the document to path in its encoding; false when the document
    // could not be written, and then the file at path is left untouched.
    bool lumSxdSaveXmlData(const CString& path);
    // Whether lumSxdSaveXmlData would write the bytes the file at path holds
    // now; the file is only read.
    bool savesSameBytes(const CString& path);

    // The tree; null when loading failed.
    std::unique_ptr<::Document> Document;

    // How a feed element is named: its local name and, for the elements of an
    // extension vocabulary, that vocabulary's namespace and usual prefix.
    struct FeedName {
        const char* local;
        const char* nsUri = nullptr;
        const char* prefix = nullptr;
    };

    static bool isNamed(Node node, const FeedName& name);
    // First child element with that name, or a null handle.
    static Node findChild(Node parent, const FeedName& name);
    static NodeArray findChildren(Node parent, const FeedName& name);

  protected:
    xmlDoc* doc() const { return Document ? Document->raw() : nullptr; }
    Node root() const;

    // The child's text; out is emptied and false returned when there is no
    // such child.
    static bool getChildText(Node parent, const FeedName& name, CString& out);
    // The same, escaped.
    static bool getEscapedChildText(Node parent, const FeedName& name, CString& out);
    // The attribute of the first such child; empty and false when missing.
    static bool getChildAttribute(Node parent, const FeedName& name, const char16_t* attribute,
                                  CString& out);

    // A new element appended under parent (the document's root element when
    // parent is null and there is none yet). Extension elements get their
    // namespace, declared on the root element when not yet in scope.
    Node appendChild(Node parent, const FeedName& name);
    // The first such child, created when missing, given the text.
    Node setChildText(Node parent, const FeedName& name, const CString& text);
    // The same for an escaped field: the four entities are decoded once.
    Node setEscapedChildText(Node parent, const FeedName& name, const CString& text);
    // Declares prefix for uri on the root element unless it is there.
    void declareNamespace(const char* prefix, const char* uri);

    // What a reader did not take from host, into out: the child elements not
    // in taken and, unless place is not Host, the attributes but rdf:about
    // (which RSS 1.0 writers write themselves). Every record read from this
    // document shares one store of copies.
    void keepUntaken(Node host, const NodeArray& taken, lum::KeptPlace place, int family,
                     lum::KeptMarkup& out) const;
    // The first child of each name into taken, where there is one.
    static void takeFirst(Node host, std::initializer_list<FeedName> names, NodeArray& taken);
    static void takeAll(Node host, const FeedName& name, NodeArray& taken);
    // The image's children that a writer would not write again: all but its
    // url, and its title and link where they differ from the channel's.
    void keepOwnImageParts(Node image, Node channel, int family, lum::KeptMarkup& out) const;
    // The root's attributes (xml:lang, xml:base) but the one named skip,
    // which the writers write themselves.
    void keepRootAttributes(const char* skip, int family, lum::KeptMarkup& out) const;

  private:
    CString m_encoding;
    std::vector<CString> m_repairs;
    mutable std::shared_ptr<lum::KeptStore> m_keptStore;
};
