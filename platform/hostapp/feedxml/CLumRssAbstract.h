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

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lum::xml {
class FeedSkeleton;
}

class CLumRssAbstract {
  public:
    // With a path: that file, read at the first question asked of the
    // document (encoding is not used). With an empty path: an empty document
    // that will be written in encoding (null or empty: UTF-8).
    CLumRssAbstract(const CString& path, const char16_t* encoding);
    virtual ~CLumRssAbstract();
    CLumRssAbstract(const CLumRssAbstract&) = delete;
    CLumRssAbstract& operator=(const CLumRssAbstract&) = delete;

    // false when the file was missing, unreadable or not well-formed.
    bool IsOK() const;
    // The encoding the document declares (a loaded file) or was made with;
    // empty when none.
    CString getEncoding() const;
    // What the loaded file needed to be read ("entities", "encoding",
    // "dropped entities"); empty for a well-formed file.
    std::vector<CString> getRepairs() const;

    // Writes the document to path in its encoding; false when the document
    // could not be written, and then the file at path is left untouched.
    bool lumSxdSaveXmlData(const CString& path);
    // Whether lumSxdSaveXmlData would write the bytes the file at path holds
    // now; the file is only read.
    bool savesSameBytes(const CString& path);

    // The tree; null when loading failed. A file read in one streaming pass
    // is loaded into a tree only when it is asked for, and from then on the
    // document answers every question from it, so that what is changed
    // through it is seen.
    class Tree {
      public:
        explicit Tree(const CLumRssAbstract& owner) : m_owner(owner) {}
        explicit operator bool() const { return get() != nullptr; }
        ::Document* operator->() const { return get(); }
        ::Document* get() const;

      private:
        const CLumRssAbstract& m_owner;
    };
    Tree Document{*this};

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

    // While one lives, findChild on parent looks through a list of its
    // element children made once, which tells most of them from the name
    // asked by its first letter: a reader asks each item for a dozen
    // fields, each a walk over all its children and the texts between
    // them. parent must not change meanwhile. One list on a thread at a
    // time; another one made meanwhile is not used.
    class ChildrenListed {
      public:
        explicit ChildrenListed(const xmlNode* parent);
        ~ChildrenListed();
        ChildrenListed(const ChildrenListed&) = delete;
        ChildrenListed& operator=(const ChildrenListed&) = delete;

      private:
        bool m_listed = false;
    };

  protected:
    // What tells one version of a file from another: its size, its time of
    // change and its inode; zeros when there is no such file.
    static std::array<std::uint64_t, 3> fileStamp(const CString& path);
    // The stamp the file had when the document read it.
    const std::array<std::uint64_t, 3>& stampOfRead() const { return m_fileStamp; }

    // The tree, for a change: the document answers from it from now on.
    xmlDoc* doc() const;
    // The root element the document answers from.
    Node root() const;

    // Reading in one pass. A document whose getters can answer from flat
    // records names the getters that an item's record answers, in the order
    // of their field numbers, and those that a record of each of its
    // categories and enclosures (its parts) answers, numbered from
    // kFirstPartField; it gathers the records in streamFile. The others (and
    // every document on a file that only a repair reads) load the tree.
    using FieldGetter = bool (CLumRssAbstract::*)(Node, CString&) const;
    static constexpr int kFirstPartField = 24;
    // A part's getter, asked of the parts whose name ends in kind.
    struct PartGetter {
        FieldGetter getter;
        const char* kind;
    };
    struct StreamedFields {
        std::vector<FieldGetter> item;
        std::function<void(Node, lum::KeptMarkup&)> keepOfItem;
        std::vector<PartGetter> part;
        std::function<void(Node, lum::KeptMarkup&)> keepOfPart;
    };
    virtual bool streamFile(const CString& path) const;
    // The pass for a feed whose items stand under its root or its channel.
    bool streamFeed(const CString& path, const StreamedFields& fields) const;
    // Set by streamFile when the file was read: its skeleton (null when the
    // file does not load) and its encoding.
    void streamed(std::unique_ptr<lum::xml::FeedSkeleton> skeleton, const CString& encoding) const;
    // What getter field answered for an item or a part of one in a
    // streamed document; nullopt when node is no such item or part, when its
    // record does not answer that field, or when it already handed that text
    // over, and the getter asks the tree.
    std::optional<bool> recordedField(Node node, int field, CString& out) const;
    // The item's (or part's) kept markup from its record; false when node
    // is no such item or part.
    bool recordedKept(Node node, lum::KeptMarkup& out) const;
    // The node to look among the children of: node itself, or, for an item
    // of a streamed document (whose children are not all there), the same
    // item in the tree.
    // With ownAttributes, only the node's own attributes are read, which an
    // item's element keeps; a part's element holds none, and its questions
    // go to the tree.
    Node withChildren(Node node, bool ownAttributes = false) const;
    // The node to list the categories and enclosures among the children of:
    // an item's or a part's own element in a streamed document holds them.
    Node withParts(Node node) const;
    // The same for what reads all of a node's subtree: also the root and
    // the channel of a streamed document, which hold its items.
    Node withSubtree(Node node) const;
    // The node in the tree, for a change or for a question the streamed
    // document cannot answer as the tree does; the document answers from the
    // tree from now on.
    Node forChange(Node node) const;
    // The items of a streamed document, in the order of the file, into
    // items; false when the tree answers. Its root and channel do not list
    // them among their children.
    bool streamedItems(NodeArray& items) const;
    // Whether node is the channel of a streamed document that the document
    // answers from its skeleton.
    bool isStreamedChannel(Node node) const;

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
    // The channels of root but the one read, each into the same store at
    // the root without its items: the readers take the items of every
    // channel with the first one's, and a copy that kept them would bring
    // them back twice.
    void keepOtherChannels(Node root, Node channel, int family, lum::KeptMarkup& out) const;
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
    // Reads the file on the first question.
    void read() const;
    // The tree, loaded from the file when the document was streamed.
    xmlDoc* loadedTree() const;
    Node inTree(Node node) const;

    CString m_path;
    mutable bool m_read = true;
    mutable bool m_treeTried = true;
    // Every question goes to the tree: nothing was streamed, or the tree was
    // handed out for a change.
    mutable bool m_treeAnswers = true;
    mutable std::unique_ptr<::Document> m_tree;
    mutable std::unique_ptr<lum::xml::FeedSkeleton> m_skeleton;
    mutable std::array<std::uint64_t, 3> m_fileStamp{};
    mutable CString m_encoding;
    mutable std::vector<CString> m_repairs;
    mutable std::shared_ptr<lum::KeptStore> m_keptStore;
};
