// The streaming pass of scanStrictly with opensUp. The file is parsed on a
// thread of its own, which hands each whole element over to the caller's
// thread as soon as the parser has read it: the caller works on one element
// while the parser reads the next, and a large feed is read in about the
// time the slower of the two takes rather than in both together.
//
// A whole element is detached from the reader's tree as it is handed over,
// so that the reader, which frees the nodes behind it, never frees one under
// the caller; the caller hands it back, and the parse's thread frees it,
// since the names in it belong to the parser's dictionary, which only that
// thread may touch while it parses.
#include "hostapp/feedxml/ScanInput.h"
#include "hostapp/feedxml/XmlParsing.h"

#include <libxml/hash.h>
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
    HandOver() = default;
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
            xmlFreeNode(whole);
        }
        m_freeing.clear();
    }

    std::mutex m_mutex;
    std::condition_variable m_toCaller;
    std::condition_variable m_toParse;
    // The parse's own.
    std::vector<Handed> m_batch;
    std::vector<xmlNode*> m_freeing;
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

// The reader's element with all below it, moved to an element of its own
// outside the reader's tree. The reader is left an empty element, which it
// ends and frees as it would one written empty. The parent stays the
// element's parent, so that the namespaces declared above still answer.
xmlNode* detach(xmlNode* element) {
    auto* whole = static_cast<xmlNode*>(xmlMalloc(sizeof(xmlNode)));
    if (whole == nullptr) {
        return nullptr;
    }
    *whole = *element;
    whole->next = nullptr;
    whole->prev = nullptr;
    for (xmlNode* c = whole->children; c != nullptr; c = c->next) {
        c->parent = whole;
    }
    for (xmlAttr* a = whole->properties; a != nullptr; a = a->next) {
        a->parent = whole;
    }
    element->children = nullptr;
    element->last = nullptr;
    element->properties = nullptr;
    element->nsDef = nullptr;
    // Its namespace may be one of those it declared, which went with them.
    element->ns = nullptr;
    return whole;
}

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

struct AsideParse {
    CountedInput input{-1, {}};
    ScanErrors errors;
    xmlTextReader* reader = nullptr;
    int status = 0;
    bool rootSeen = false;
    // The file is for the pass in the caller's thread.
    bool inCaller = false;
    std::exception_ptr failure;
};

void parseAside(AsideParse& parse, HandOver& handOver,
                const std::function<bool(const xmlNode*, int)>& opensUp) {
    // libxml2's error handlers are the thread's own.
    QuietErrors quiet;
    try {
        // The elements whose children are met, innermost last.
        std::vector<const xmlNode*> open;
        while (!parse.errors.fatal && !handOver.stopped() &&
               (parse.status = xmlTextReaderRead(parse.reader)) == 1) {
            int type = xmlTextReaderNodeType(parse.reader);
            xmlNode* node = xmlTextReaderCurrentNode(parse.reader);
            if (node == nullptr) {
                continue;
            }
            if (type == XML_READER_TYPE_END_ELEMENT) {
                if (!open.empty() && open.back() == node) {
                    handOver.waitCaughtUp();
                    open.pop_back();
                }
                continue;
            }
            if (type != XML_READER_TYPE_ELEMENT) {
                continue;
            }
            int depth = xmlTextReaderDepth(parse.reader);
            if (depth == 0 && !readyForTwo(node)) {
                parse.inCaller = true;
                break;
            }
            parse.rootSeen = true;
            if (depth == 0 || opensUp(node, depth)) {
                if (xmlTextReaderIsEmptyElement(parse.reader) == 0) {
                    open.push_back(node);
                }
                handOver.hand({node, depth, false, parse.input.bytesRead});
                handOver.waitCaughtUp();
                continue;
            }
            xmlNode* whole = xmlTextReaderExpand(parse.reader) != nullptr ? detach(node) : nullptr;
            if (whole == nullptr) {
                parse.status = -1;
                break;
            }
            handOver.hand({whole, depth, true, parse.input.bytesRead});
        }
    } catch (...) {
        parse.failure = std::current_exception();
    }
    if (!handOver.finish() && !parse.failure) {
        parse.failure = std::make_exception_ptr(std::bad_alloc());
    }
}

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
        if (m_parse.reader != nullptr) {
            xmlFreeTextReader(m_parse.reader);
        }
    }
    AsideThread(const AsideThread&) = delete;
    AsideThread& operator=(const AsideThread&) = delete;

    bool start(const std::function<bool(const xmlNode*, int)>& opensUp) {
        try {
            m_thread = std::thread([this, &opensUp] { parseAside(m_parse, m_handOver, opensUp); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }
    void join() {
        m_thread.join();
        m_handOver.freeWholes();
    }
    // The reader, now the caller's to free.
    xmlTextReader* releaseReader() { return std::exchange(m_parse.reader, nullptr); }

  private:
    AsideParse& m_parse;
    HandOver& m_handOver;
    std::thread m_thread;
};

}  // namespace

std::optional<std::optional<StrictScan>> scanAside(
    int fd, const std::function<bool(const xmlNode*, int)>& opensUp,
    const std::function<void(const ScannedElement&)>& onElement) {
    AsideParse parse;
    parse.input.fd = fd;
    parse.reader = openCountedReader(parse.input, parse.errors);
    if (parse.reader == nullptr) {
        return std::optional<StrictScan>(StrictScan{});
    }
    HandOver handOver;
    AsideThread thread(parse, handOver);
    if (!thread.start(opensUp)) {
        return std::nullopt;
    }
    for (const std::vector<Handed>* taken = &handOver.take(); !taken->empty();
         taken = &handOver.take()) {
        for (const Handed& element : *taken) {
            onElement(ScannedElement(element.element, element.depth, nullptr));
        }
        handOver.handled();
    }
    thread.join();
    if (parse.failure) {
        std::rethrow_exception(parse.failure);
    }
    if (parse.inCaller) {
        return std::nullopt;
    }
    // No document type: no entity of the file's own to expand.
    EntityExpansion expansion;
    return strictVerdict(thread.releaseReader(), parse.input, parse.errors, parse.status,
                         parse.rootSeen, expansion, 0, std::numeric_limits<std::uint64_t>::max());
}

}  // namespace lum::xml
