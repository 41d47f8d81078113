// The streaming pass of scanStrictly with opensUp. The file is parsed on a
// thread of its own, which hands each whole element over to the caller's
// thread as soon as the parser has read it: the caller works on one element
// while the parser reads the next, and a large feed is read in about the
// time the slower of the two takes rather than in both together.
//
// The parse is libxml2's own tree-building parse, as loadFile's, watched
// element by element: a whole element is taken out of the tree as it ends
// and handed over, so the tree never holds more than the open elements. The
// caller hands it back, and the parse's thread frees it, since the names in
// it belong to the parser's dictionary, which only that thread may touch
// while it parses; its nodes go back to the parser to build the next ones.
#include "hostapp/feedxml/ScanInput.h"
#include "hostapp/feedxml/XmlParsing.h"

#include <libxml/SAX2.h>
#include <libxml/dict.h>
#include <libxml/hash.h>
#include <libxml/valid.h>
#include <libxml/xmlmemory.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace lum::xml {

namespace {

// Nodes the parse is done with go back to the parser, which builds the next
// ones from them rather than allocating each anew, as libxml2's reader does
// with those it passes; up to these many are held.
constexpr int kMostRecycledNodes = 4096;
constexpr int kMostRecycledAttributes = 1024;

// Frees node and its siblings after it, with all below them, keeping their
// nodes for the parser. Their names are the parser's dictionary's.
void recycle(xmlParserCtxt* ctxt, xmlNode* node) {
    while (node != nullptr) {
        xmlNode* next = node->next;
        if (node->type != XML_ELEMENT_NODE && node->type != XML_TEXT_NODE) {
            node->next = nullptr;
            xmlFreeNode(node);
            node = next;
            continue;
        }
        if (node->type == XML_ELEMENT_NODE) {
            recycle(ctxt, node->children);
            for (xmlAttr* a = node->properties; a != nullptr;) {
                xmlAttr* nextAttribute = a->next;
                if (a->atype == XML_ATTRIBUTE_ID) {
                    xmlRemoveID(node->doc, a);
                }
                recycle(ctxt, a->children);
                a->children = nullptr;
                if (ctxt->freeAttrsNr < kMostRecycledAttributes) {
                    if (a->name != nullptr && xmlDictOwns(ctxt->dict, a->name) == 0) {
                        xmlFree(const_cast<xmlChar*>(a->name));
                    }
                    a->next = ctxt->freeAttrs;
                    ctxt->freeAttrs = a;
                    ++ctxt->freeAttrsNr;
                } else {
                    a->next = nullptr;
                    xmlFreeProp(a);
                }
                a = nextAttribute;
            }
            xmlFreeNsList(node->nsDef);
        } else if (node->content != nullptr &&
                   node->content != reinterpret_cast<xmlChar*>(&node->properties) &&
                   xmlDictOwns(ctxt->dict, node->content) == 0) {
            // A short text is held in the node itself, a line break between
            // elements in the dictionary.
            xmlFree(node->content);
        }
        if (node->name != nullptr && node->type == XML_ELEMENT_NODE &&
            xmlDictOwns(ctxt->dict, node->name) == 0) {
            xmlFree(const_cast<xmlChar*>(node->name));
        }
        if (ctxt->freeElemsNr < kMostRecycledNodes) {
            node->next = ctxt->freeElems;
            ctxt->freeElems = node;
            ++ctxt->freeElemsNr;
        } else {
            xmlFree(node);
        }
        node = next;
    }
}

struct Handed {
    xmlNode* element;
    int depth;
    // Detached with all below it: the caller's to read, the parse's to free.
    bool whole;
    // How much of the file had been read when it was handed over.
    std::uint64_t read;
};

// Between the parse and the caller: elements go one way in batches, and the
// wholes the caller is done with come back the other way.
class HandOver {
  public:
    // The batch never grows past kBatch: handing over allocates nothing.
    HandOver() { m_batch.reserve(kBatch); }
    HandOver(const HandOver&) = delete;
    HandOver& operator=(const HandOver&) = delete;

    // The parse's side.
    void hand(const Handed& element) {
        m_batch.push_back(element);
        if (m_batch.size() >= kBatch || element.read - m_batch.front().read >= kBatchBytes) {
            publish();
        }
    }
    // Until the caller has handled all that was handed over: before the
    // parser goes on below an element the caller reads in the parser's tree,
    // and before the reader frees one the wholes handed over lead up to.
    void waitCaughtUp() {
        publish();
        std::unique_lock lock(m_mutex);
        m_toParse.wait(lock, [&] { return m_stopped || m_handled == m_handed; });
        m_freeing.swap(m_done);
        lock.unlock();
        freeDone();
    }
    // false when what was batched could not be handed over (no memory for
    // it): it is freed with what is left.
    bool finish() noexcept {
        bool handed = true;
        try {
            publish();
        } catch (...) {
            handed = false;
        }
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_toCaller.notify_one();
        return handed;
    }
    bool stopped() const { return m_stopped; }
    // The parser the wholes the caller is done with go back to while it
    // parses; null: they are freed.
    void recycleInto(xmlParserCtxt* ctxt) { m_recycleInto = ctxt; }

    // The caller's side: the next elements, none once the parse finished.
    const std::vector<Handed>& take() {
        m_taken.clear();
        std::unique_lock lock(m_mutex);
        m_toCaller.wait(lock, [&] { return !m_pending.empty() || m_finished; });
        m_taken.swap(m_pending);
        return m_taken;
    }
    // The elements take gave were handled.
    void handled() {
        {
            std::lock_guard lock(m_mutex);
            m_handled += m_taken.size();
            if (!m_taken.empty()) {
                m_readHandled = m_taken.back().read;
            }
            for (const Handed& element : m_taken) {
                if (element.whole) {
                    m_done.push_back(element.element);
                }
            }
        }
        m_taken.clear();
        m_toParse.notify_one();
    }
    // The caller gives up: the parse stops at its next element.
    void stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_toParse.notify_one();
    }

    // Once the parse's thread has ended: the wholes not freed yet.
    void freeWholes() {
        for (const auto* list : {&m_batch, &m_pending, &m_taken}) {
            for (const Handed& element : *list) {
                if (element.whole) {
                    m_done.push_back(element.element);
                }
            }
        }
        m_batch.clear();
        m_pending.clear();
        m_taken.clear();
        m_freeing.swap(m_done);
        freeDone();
    }

  private:
    // Enough to make handing over cheap, few enough that the caller starts
    // at once.
    static constexpr std::size_t kBatch = 64;
    static constexpr std::uint64_t kBatchBytes = 1 << 20;
    // How far the parse may run ahead of the caller, in elements and in the
    // bytes they were read from: what memory a read holds stays bounded
    // however large the file and its items. The caller is always caught up
    // with, however large one element.
    static constexpr std::size_t kAhead = 1024;
    static constexpr std::uint64_t kAheadBytes = 16 << 20;

    // Hands over what is batched, frees the wholes the caller is done with,
    // and waits while the caller is far behind.
    void publish() {
        if (!m_batch.empty()) {
            std::unique_lock lock(m_mutex);
            m_pending.insert(m_pending.end(), m_batch.begin(), m_batch.end());
            m_handed += m_batch.size();
            m_readHanded = m_batch.back().read;
            m_batch.clear();
            m_toCaller.notify_one();
            m_toParse.wait(lock, [&] {
                return m_stopped || m_handled == m_handed ||
                       (m_handed - m_handled < kAhead &&
                        m_readHanded - m_readHandled < kAheadBytes);
            });
            m_freeing.swap(m_done);
        }
        freeDone();
    }
    void freeDone() {
        for (xmlNode* whole : m_freeing) {
            if (m_recycleInto != nullptr) {
                whole->next = nullptr;
                recycle(m_recycleInto, whole);
            } else {
                xmlFreeNode(whole);
            }
        }
        m_freeing.clear();
    }

    std::mutex m_mutex;
    std::condition_variable m_toCaller;
    std::condition_variable m_toParse;
    // The parse's own.
    std::vector<Handed> m_batch;
    std::vector<xmlNode*> m_freeing;
    xmlParserCtxt* m_recycleInto = nullptr;
    // The caller's own.
    std::vector<Handed> m_taken;
    // Under the mutex.
    std::vector<Handed> m_pending;
    std::vector<xmlNode*> m_done;
    std::size_t m_handed = 0;
    std::size_t m_handled = 0;
    std::uint64_t m_readHanded = 0;
    std::uint64_t m_readHandled = 0;
    bool m_finished = false;
    std::atomic<bool> m_stopped = false;
};

// Whether the document the root is in may be read in two threads, and if so
// makes it ready: what copying from it in the caller's thread would create in
// the document on first use (the xml namespace, the table of IDs) is created
// here, before the parse goes on. A document type is not: its entities
// would have to be followed into every element handed over.
bool readyForTwo(xmlNode* root) {
    xmlDoc* doc = root->doc;
    if (doc == nullptr || doc->intSubset != nullptr || doc->extSubset != nullptr) {
        return false;
    }
    xmlSearchNs(doc, root, reinterpret_cast<const xmlChar*>("xml"));
    if (doc->ids == nullptr) {
        doc->ids = xmlHashCreateDict(0, doc->dict);
    }
    return doc->oldNs != nullptr && doc->ids != nullptr;
}

// Frees a whole the caller has met in the parse's own thread.
class Recycled {
  public:
    Recycled(xmlParserCtxt* ctxt, xmlNode* whole) : m_ctxt(ctxt), m_whole(whole) {}
    ~Recycled() { recycle(m_ctxt, m_whole); }
    Recycled(const Recycled&) = delete;
    Recycled& operator=(const Recycled&) = delete;

  private:
    xmlParserCtxt* m_ctxt;
    xmlNode* m_whole;
};

struct AsideParse {
    CountedInput input{-1, {}};
    ScanErrors errors;
    xmlSAXHandler sax{};
    xmlParserCtxt* ctxt = nullptr;
    HandOver* handOver = nullptr;
    const std::function<bool(const xmlNode*, int)>* opensUp = nullptr;
    // Set when the parse runs in the caller's thread: elements go straight
    // to it, and each whole is freed once it has been met.
    const std::function<void(const ScannedElement&)>* onElement = nullptr;
    // What each element being parsed is to the caller, innermost last: one
    // whose children are met in turn, one handed over whole when it ends, or
    // one inside such a whole.
    enum class Kind : std::uint8_t { Open, Whole, InWhole };
    std::vector<Kind> kinds;
    // The parse read the file to its end.
    bool ended = false;
    bool stopped = false;
    bool rootSeen = false;
    // The file is for the reader's pass: it has a document type.
    bool forReader = false;
    std::exception_ptr failure;

    static AsideParse& of(void* ctxt) {
        return *static_cast<AsideParse*>(static_cast<xmlParserCtxt*>(ctxt)->_private);
    }
    void stop() {
        stopped = true;
        xmlStopParser(ctxt);
    }
    void fail() {
        if (!failure) {
            failure = std::current_exception();
        }
        stop();
    }
};

// The parser calls these with each element as it builds the tree; none may
// let an exception through its C frames.
void startElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                  int namespaceCount, const xmlChar** namespaces, int attributeCount,
                  int defaultedCount, const xmlChar** attributes) {
    AsideParse& parse = AsideParse::of(ctx);
    xmlParserCtxt* ctxt = parse.ctxt;
    int built = ctxt->nodeNr;
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, namespaceCount, namespaces, attributeCount,
                          defaultedCount, attributes);
    try {
        if (ctxt->nodeNr == built) {
            throw std::bad_alloc();
        }
        xmlNode* node = ctxt->node;
        auto depth = static_cast<int>(parse.kinds.size());
        AsideParse::Kind kind = AsideParse::Kind::InWhole;
        if (depth == 0 || parse.kinds.back() == AsideParse::Kind::Open) {
            kind = AsideParse::Kind::Whole;
            if (depth == 0 && !readyForTwo(node)) {
                parse.forReader = true;
                parse.stop();
                return;
            }
            if (depth == 0 || (*parse.opensUp)(node, depth)) {
                kind = AsideParse::Kind::Open;
                parse.rootSeen = true;
                if (parse.onElement != nullptr) {
                    (*parse.onElement)(ScannedElement(node, depth, nullptr));
                } else {
                    parse.handOver->hand({node, depth, false, parse.input.bytesRead});
                    parse.handOver->waitCaughtUp();
                }
            }
        }
        parse.kinds.push_back(kind);
        if (parse.handOver->stopped()) {
            parse.stop();
        }
    } catch (...) {
        parse.fail();
    }
}

// The children of an open element the caller never meets (the line breaks
// between its elements, comments), once the parser is past them.
void dropPassed(xmlParserCtxt* ctxt, xmlNode* open) {
    for (xmlNode* c = open->children; c != nullptr;) {
        xmlNode* next = c->next;
        if (c->type != XML_ELEMENT_NODE) {
            xmlUnlinkNode(c);
            recycle(ctxt, c);
        }
        c = next;
    }
}

void endElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri) {
    AsideParse& parse = AsideParse::of(ctx);
    xmlNode* node = parse.ctxt->node;
    xmlSAX2EndElementNs(ctx, localname, prefix, uri);
    if (parse.kinds.empty() || parse.stopped) {
        return;
    }
    AsideParse::Kind kind = parse.kinds.back();
    parse.kinds.pop_back();
    try {
        if (kind == AsideParse::Kind::Open) {
            if (parse.onElement == nullptr) {
                parse.handOver->waitCaughtUp();
            }
        } else if (kind == AsideParse::Kind::Whole) {
            // Out of the parser's tree, so that the caller reads it while the
            // parser goes on; its parent stays its parent, so that the
            // namespaces declared above still answer.
            xmlNode* parent = node->parent;
            xmlUnlinkNode(node);
            node->parent = parent;
            dropPassed(parse.ctxt, parent);
            auto depth = static_cast<int>(parse.kinds.size());
            if (parse.onElement != nullptr) {
                Recycled whole(parse.ctxt, node);
                (*parse.onElement)(ScannedElement(node, depth, nullptr));
            } else {
                parse.handOver->hand({node, depth, true, parse.input.bytesRead});
            }
        }
        if (parse.handOver->stopped()) {
            parse.stop();
        }
    } catch (...) {
        parse.fail();
    }
}

void noteError(void* ctx, xmlError* error) {
    AsideParse& parse = AsideParse::of(ctx);
    noteScanError(&parse.errors, error);
    if (parse.errors.fatal && !parse.stopped) {
        parse.stop();
    }
}

void parseAside(AsideParse& parse) {
    // libxml2's error handlers are the thread's own.
    QuietErrors quiet;
    parse.handOver->recycleInto(parse.ctxt);
    parse.ended = xmlParseDocument(parse.ctxt) == 0 && !parse.stopped;
    parse.handOver->recycleInto(nullptr);
    if (!parse.handOver->finish() && !parse.failure) {
        parse.failure = std::make_exception_ptr(std::bad_alloc());
    }
}

// The parser and the document it built, freed however the pass ends.
class ParserHeld {
  public:
    explicit ParserHeld(xmlParserCtxt* ctxt) : m_ctxt(ctxt) {}
    ~ParserHeld() {
        if (m_ctxt != nullptr) {
            xmlFreeDoc(m_ctxt->myDoc);
            xmlFreeParserCtxt(m_ctxt);
        }
    }
    ParserHeld(const ParserHeld&) = delete;
    ParserHeld& operator=(const ParserHeld&) = delete;
    // The document the parse built, now the caller's to free.
    xmlDoc* releaseDocument() { return std::exchange(m_ctxt->myDoc, nullptr); }

  private:
    xmlParserCtxt* m_ctxt;
};

// Ends the parse's thread however the caller's side ends, and frees what it
// still held.
class AsideThread {
  public:
    AsideThread(AsideParse& parse, HandOver& handOver) : m_parse(parse), m_handOver(handOver) {}
    ~AsideThread() {
        if (m_thread.joinable()) {
            m_handOver.stop();
            m_thread.join();
        }
        m_handOver.freeWholes();
    }
    AsideThread(const AsideThread&) = delete;
    AsideThread& operator=(const AsideThread&) = delete;

    bool start() {
        try {
            m_thread = std::thread([this] { parseAside(m_parse); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }
    void join() {
        m_thread.join();
        m_handOver.freeWholes();
    }

  private:
    AsideParse& m_parse;
    HandOver& m_handOver;
    std::thread m_thread;
};

}  // namespace

std::optional<std::optional<StrictScan>> scanAside(
    int fd, const std::function<bool(const xmlNode*, int)>& opensUp,
    const std::function<void(const ScannedElement&)>& onElement, bool ownThread) {
    HandOver handOver;
    AsideParse parse;
    parse.input.fd = fd;
    parse.handOver = &handOver;
    parse.opensUp = &opensUp;
    xmlSAXVersion(&parse.sax, 2);
    parse.sax.startElementNs = startElement;
    parse.sax.endElementNs = endElement;
    parse.sax.serror = noteError;
    parse.ctxt = openCountedParser(parse.input, parse.sax);
    if (parse.ctxt == nullptr) {
        return std::optional<StrictScan>(StrictScan{});
    }
    ParserHeld held(parse.ctxt);
    parse.ctxt->_private = &parse;
    bool aside = false;
    if (ownThread) {
        AsideThread thread(parse, handOver);
        aside = thread.start();
        if (aside) {
            for (const std::vector<Handed>* taken = &handOver.take(); !taken->empty();
                 taken = &handOver.take()) {
                for (const Handed& element : *taken) {
                    onElement(ScannedElement(element.element, element.depth, nullptr));
                }
                handOver.handled();
            }
            thread.join();
        }
    }
    if (!aside) {
        // No thread of its own, or none to be had: the same parse, here.
        parse.onElement = &onElement;
        parseAside(parse);
    }
    if (parse.failure) {
        std::rethrow_exception(parse.failure);
    }
    if (parse.forReader) {
        return std::nullopt;
    }
    xmlDoc* doc = held.releaseDocument();
    bool strict = strictlyRead(parse.input, parse.errors, parse.ended, parse.rootSeen,
                               doc != nullptr ? doc->encoding : nullptr);
    // No document type: no entity of the file's own to expand.
    EntityExpansion expansion;
    return strictVerdict(doc, parse.input, strict, expansion, 0,
                         std::numeric_limits<std::uint64_t>::max());
}

}  // namespace lum::xml
