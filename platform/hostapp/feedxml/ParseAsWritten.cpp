#include "hostapp/feedxml/ParseAsWritten.h"

#include "hostapp/feedxml/XmlParsing.h"

#include <libxml/parser.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace lum::xml {

ParseAsWritten::ParseAsWritten(int fd) : m_fd(fd) {
    try {
        m_thread = std::thread([this] { parse(); });
    } catch (const std::system_error&) {
        // No thread to be had: the whole file is parsed when asked.
    }
}

ParseAsWritten::~ParseAsWritten() {
    finish(true);
}

void ParseAsWritten::written(off_t end) {
    {
        std::lock_guard lock(m_mutex);
        m_written = end;
        // The serialiser writes a few kilobytes at a time: the parse is woken
        // for a piece worth parsing, not for each of them.
        if (end - m_told < kPiece) {
            return;
        }
        m_told = end;
    }
    m_changed.notify_one();
}

bool ParseAsWritten::wellFormed() {
    bool parsing = m_thread.joinable();
    finish(false);
    if (!parsing) {
        parse();
    }
    return m_wellFormed;
}

void ParseAsWritten::finish(bool stop) {
    {
        std::lock_guard lock(m_mutex);
        m_last = true;
        m_stop = m_stop || stop;
    }
    m_changed.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

off_t ParseAsWritten::waitBeyond(off_t offset) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stop || m_last || m_written > offset; });
    return m_stop ? -1 : m_written;
}

// Parsed in pieces with no tree built, so a large feed costs no memory
// here. Namespace slips the reader forgives (an element whose prefix the
// feed never declared) are not asked for: they come back as they were read,
// and refusing them would leave such a feed impossible to save at all.
void ParseAsWritten::parse() {
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    xmlParserCtxt* ctxt = nullptr;
    char buffer[kPiece];
    off_t offset = 0;
    bool ok = true;
    // The first four bytes (or all there are) make the context: they say
    // the encoding.
    for (off_t end = waitBeyond(3); ok && end > offset; end = waitBeyond(offset)) {
        while (ok && offset < end) {
            off_t want =
                ctxt == nullptr ? std::min<off_t>(4, end - offset) : std::min(kPiece, end - offset);
            ssize_t got = ::pread(m_fd, buffer, static_cast<size_t>(want), offset);
            if (got <= 0) {
                ok = false;
                break;
            }
            offset += got;
            if (ctxt == nullptr) {
                ctxt =
                    xmlCreatePushParserCtxt(&sax, nullptr, buffer, static_cast<int>(got), nullptr);
                ok = ctxt != nullptr;
                if (ok) {
                    xmlCtxtUseOptions(ctxt, kParseOptions);
                }
            } else {
                ok = xmlParseChunk(ctxt, buffer, static_cast<int>(got), 0) == 0;
            }
        }
    }
    bool complete = ok && waitBeyond(offset) == offset;
    m_wellFormed = complete && ctxt != nullptr && xmlParseChunk(ctxt, nullptr, 0, 1) == 0 &&
                   ctxt->wellFormed != 0;
    if (ctxt != nullptr) {
        xmlFreeParserCtxt(ctxt);
    }
}

}  // namespace lum::xml
