// What the XML file functions share, inside this library: the parser's
// options, quiet while it works, files opened as regular files only, and the
// bounds checked on the bytes before any parse.
#pragma once

#include "mfc/CString.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <unistd.h>

#include <cstddef>

namespace lum::xml {

// No NOENT: entity references stay references, so external entities are
// never fetched, and the parser still measures what internal entities would
// expand to and refuses amplification. COMPACT keeps short texts (the line
// breaks between a feed's elements) inside their nodes: a large feed is
// millions of fewer allocations to make and to free.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              XML_PARSE_NOCDATA | XML_PARSE_COMPACT;

// What a parse reported: whether it failed, and whether a reason was an
// entity the file never declared, which a repair may answer.
struct ParseReport {
    bool undeclaredEntity = false;
};

// Keeps libxml2 from printing to stderr while it works for us: a file that
// cannot be read is answered by a result, never by console noise. The
// thread's own handlers come back afterwards. With a report, what the parse
// met is noted in it.
class QuietErrors {
  public:
    explicit QuietErrors(ParseReport* report = nullptr);
    ~QuietErrors();
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    xmlGenericErrorFunc m_generic;
    void* m_genericContext;
    xmlStructuredErrorFunc m_structured;
    void* m_structuredContext;
};

class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

// A regular file opened for reading, or -1.
int openRegularFile(const CString& windowsPath);

// Whether the file is within the limits above. The file is read from its
// start and left positioned there again. With startOnly, only as much of the
// file as a streaming parser reads to meet the root element is looked at.
bool withinMarkupLimits(int fd, const char** exceeded = nullptr, bool startOnly = false);

}  // namespace lum::xml
