// Comparing what a save of a feed's document would write with the file it
// would replace while the document is being built. Each finished item is
// compared where it stands in the file and freed at once, while it is still
// in the cache; the rest of the document is compared once built. An
// unchanged feed of any size then holds one item's tree at a time, and a
// difference ends the build at the item that shows it.
#pragma once

#include "hostapp/feedxml/IndentedUtf8.h"
#include "hostapp/feedxml/KeptMarkup.h"
#include "mfc/CString.h"
#include "win32/HeapPolicy.h"

#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace lum::xml {

class ItemByItemComparison {
  public:
    // With the file at windowsPath, as saveFile would write it given
    // encoding. Only a save that writes the tree's UTF-8 as it is (under
    // any spelling) takes items; for any other, and for a file that cannot
    // be read, taking() is false from the start.
    ItemByItemComparison(const CString& windowsPath, const CString& encoding);
    ~ItemByItemComparison();
    ItemByItemComparison(const ItemByItemComparison&) = delete;
    ItemByItemComparison& operator=(const ItemByItemComparison&) = delete;

    // Whether items are still taken: not once one was not.
    bool taking() const { return m_taking; }

    // item is finished, nothing will change it, and it is its parent's last
    // child; the items taken all share that parent and stood one after the
    // other. Compared with the file and, when the file holds it there,
    // freed. false, the item left where it is, when the file does not hold
    // it or it cannot be compared: the document then lacks the items taken
    // before, and the comparison can no longer tell (same gives nullopt).
    bool take(xmlNode* item);

    // What the items taken used of the declarations kept markup moved to
    // the root, for orderKeptDeclarations.
    const GoneItemUses& goneItemUses() const { return m_uses; }

    // Once the document is complete but for the items taken: whether saving
    // it with them would leave the file with the bytes it holds. nullopt
    // when this cannot tell (an item was not taken, something was added to
    // their parent after them, a document not ours to write): the whole
    // document, built again, must be compared.
    std::optional<bool> same(xmlDoc* doc);

    // The stored file as the comparison reads it.
    class StoredFile;

  private:
    // The item's bytes as a save writes them, into m_bytes.
    bool itemBytes(xmlNode* item);

    // Each item's blocks are freed and asked for again by the next.
    nd::heap::SmallBlocksReused m_reused;
    CString m_path;
    CString m_encoding;
    // The spelling of UTF-8 the save declares.
    std::string m_declared;
    std::unique_ptr<StoredFile> m_file;
    bool m_taking = false;
    bool m_failed = false;

    // The items' parent, the child before them and how many went.
    xmlNode* m_parent = nullptr;
    xmlNode* m_before = nullptr;
    std::size_t m_taken = 0;
    int m_depth = 0;
    // Where the items stood in the file: from m_start up to m_end.
    std::size_t m_start = 0;
    std::size_t m_end = 0;

    GoneItemUses m_uses;
    std::string m_bytes;
    class Sink;
    std::unique_ptr<Sink> m_sink;
    std::unique_ptr<IndentedUtf8Elements> m_elements;
};

}  // namespace lum::xml
