// What a feed carries that the records do not model: the child elements and
// attributes of a channel or an item that its reader did not take, kept
// verbatim so that a save puts them back. Feeds in the wild carry item
// guids, full content, Dublin Core and media data, further podcast tags;
// losing them on a rewrite would, among other things, make every podcast
// app show every episode as new.
//
// Elements are copies held by one store shared by every record read from
// the same file (most in an arena's blocks, the rest in a small XML tree);
// each copy carries the namespace declarations it needs.
// Records copy a KeptMarkup by sharing it (it is never changed in place), and
// a record with nothing kept holds a null pointer and costs nothing more.
#pragma once

#include "mfc/CString.h"

#include <libxml/tree.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

// Where a kept element goes back: under the channel or item it came from,
// inside the channel's image element (its own title, link, size), or under
// the document's root (RSS 1.0 keeps some beside the channel).
enum class KeptPlace : std::uint8_t { Host, Image, Root };

// The XML tree the kept copies live in.
class KeptStore;

class KeptMarkup {
  public:
    struct Element {
        const xmlNode* node;
        KeptPlace place;
        int family;  // 0 RSS 1.0, 1 RSS 2.0 and podcasts: where it was read
    };
    struct Attribute {
        std::string prefix;  // empty for none
        std::string local;
        std::string nsUri;  // empty for none
        std::string value;  // UTF-8, as the parser gave it
        int family = 1;
        KeptPlace place = KeptPlace::Host;  // Host or Root
        std::string name() const { return prefix.empty() ? local : prefix + ":" + local; }
    };

    bool empty() const { return !m_data; }
    // Whether there are elements or attributes to put back.
    bool holdsMarkup() const { return !elements().empty() || !attributes().empty(); }
    const std::vector<Element>& elements() const;
    const std::vector<Attribute>& attributes() const;
    // Each piece keeps the format family it was read in (0 RSS 1.0, 1 RSS 2.0
    // and podcasts): names without a namespace only mean something there.
    // A copy of element, into store (made when null), to go back at place.
    void keepElement(std::shared_ptr<KeptStore>& store, const xmlNode* element, KeptPlace place,
                     int family);
    void keepAttribute(const xmlAttr* attribute, int family, KeptPlace place = KeptPlace::Host);
    // A new element with a text, as a writer of another format would have
    // spelled a field the record holds.
    void addElement(const char* nsUri, const char* prefix, const char* local, const CString& text,
                    int family);
    // An element given as XML text ("<guid>x</guid>", namespaces declared in
    // it); false, with nothing added, when it is not one well-formed element.
    bool addElementXml(std::string_view xml, KeptPlace place, int family);
    void addAttribute(Attribute attribute);
    // A field's element the file held empty (<link/>): a writer leaves out an
    // empty element whose content must be an address, a date or a number,
    // except where the file had one, so that such a file still comes back
    // as it was.
    void noteHeldEmpty(const char* local);
    bool heldEmpty(const char* local) const;
    // Drops the elements with that namespace (null: none) and local name.
    void removeElements(const char* nsUri, const char* local);
    // Drops the elements which takes.
    void removeElements(const std::function<bool(const Element&)>& which);
    // The texts of the elements without a namespace of that local name,
    // which are dropped: a field the record now holds itself.
    std::vector<CString> takeElements(const char* local);
    // The first element with that namespace (null: none) and local name that
    // accept takes, which is dropped from the list; null when none is. The
    // element lives as long as this markup.
    const xmlNode* takeFirstElement(const char* nsUri, const char* local,
                                    const std::function<bool(const xmlNode*)>& accept);
    // The same for the first element accept takes, whatever its name and place.
    const xmlNode* takeFirstElement(const std::function<bool(const Element&)>& accept);

    // The element as XML text, with the namespace declarations it needs.
    static std::string toXml(const xmlNode* element);
    // "content:encoded", "guid": an element's name as the feed spells it.
    static std::string nameOf(const xmlNode* element);

  private:
    struct Data;
    Data& change();
    std::shared_ptr<const Data> m_data;
};

// What writers had to leave out of the last document built on this thread,
// by name ("guid" -> 12); the commands report it.
using KeptDrops = std::map<std::string, int>;
KeptDrops& keptDropsOfLastWrite();

// Puts markup back into a document being written in format (0 RSS 1.0,
// 1 RSS 2.0, 2 podcast): Host elements after what host already holds, Image
// elements into image, Root elements under the document's root, attributes
// onto host (Root ones onto the root). Left out, and counted in keptDropsOfLastWrite:
// - names without a namespace of the other format family (RSS 2.0's guid
//   has no meaning in RSS 1.0);
// - an element whose name the writer already wrote in host (a second title
//   or link), unless the writer's one is empty: then the kept one stands in
//   for it. Not counted when both say the same. Enclosures and categories
//   repeat and are always put back;
// - Image elements when no image was written (image null).
// Inside image, a kept title or link replaces the writer's: the image had
// its own. Namespaces are declared on the root where they are free there;
// the iTunes namespace only in podcasts, since its declaration on the root
// is what makes a feed one.
void putKeptMarkup(xmlNode* host, xmlNode* image, const KeptMarkup& kept, int format);

// Once all kept markup is in: the declarations it moved to the root go after
// the writer's own, in the order the document first uses them. Kept markup
// is placed item by item, and a name read under a prefix the feed never
// declared binds to whatever declares the prefix by then, so the order of
// placing differs from one read of a feed to the next; this order does not.
//
// Items taken out of the document once finished (compared with the file as
// they were built) count where they stood, as gone notes them: the last
// children of gone's parent.
class GoneItemUses;
void orderKeptDeclarations(xmlNode* root, const GoneItemUses* gone = nullptr);

// What items that leave the document before orderKeptDeclarations used, in
// the order they used it.
class GoneItemUses {
  public:
    // A declaration moved to the root, or a prefix that nothing declared
    // when the item was noted: the root may declare it by the end.
    struct Use {
        xmlNs* ns;
        std::string prefix;
    };

    // Before item leaves its parent, which every item noted shares.
    void note(const xmlNode* item);

    const xmlNode* itemsParent() const { return m_parent; }
    const std::vector<Use>& uses() const { return m_uses; }

  private:
    const xmlNode* m_parent = nullptr;
    std::vector<Use> m_uses;
};

}  // namespace lum
