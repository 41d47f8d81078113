// Saving a document to a file, and comparing what a save would write with
// the file's bytes (declared in XmlFile.h).
#include "hostapp/feedxml/IndentedUtf8.h"
#include "hostapp/feedxml/ParseAsWritten.h"
#include "hostapp/feedxml/WrittenEncoding.h"
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlParsing.h"
#include "hostapp/feedxml/XmlText.h"
#include "hostapp/files/AtomicFile.h"
#include "hostapp/text/ShiftJis.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <libxml/encoding.h>
#include <libxml/xmlsave.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum::xml {

namespace {

// Where libxml2's output goes while a document is saved: the open temporary
// file, and the first write error met. libxml2 hands over a few kilobytes
// at a time; they reach the file in larger blocks.
struct FdSink {
    int fd;
    int error = 0;
    // Told of the bytes as they reach the file; its end so far.
    ParseAsWritten* parse = nullptr;
    off_t end = 0;
    // What the disk was last asked to take.
    long long writtenBack = 0;
    std::string block{};

    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    // Writes what the block holds; false, with the error, when that failed.
    bool flush() {
        error = writeAll(fd, block);
        if (error != 0) {
            return false;
        }
        end += static_cast<off_t>(block.size());
        block.clear();
        parse->written(end);
        startWritingBack(fd, writtenBack, end);
        return true;
    }
};

int writeToFd(void* context, const char* data, int length) {
    auto* sink = static_cast<FdSink*>(context);
    sink->block.append(data, static_cast<std::size_t>(std::max(length, 0)));
    if (sink->block.size() >= FdSink::kBlock && !sink->flush()) {
        return -1;
    }
    return length;
}

// Serialises the document in the encoding enc (through handler when given),
// indented, handing the bytes to write; false when the encoding is unknown or
// write failed.
bool serialize(xmlDoc* doc, const std::string& enc, xmlCharEncodingHandler* handler,
               xmlOutputWriteCallback write, void* context) {
    // The tree holds UTF-8: written as it is, rather than copied through
    // libxml2's UTF-8 converter, which gives the same bytes.
    bool asItIs = handler == nullptr && enc == "UTF-8";
    if (handler == nullptr && !asItIs) {
        handler = xmlFindCharEncodingHandler(enc.c_str());
        if (handler == nullptr) {
            return false;
        }
    }
    xmlOutputBuffer* out = xmlOutputBufferCreateIO(write, nullptr, context, handler);
    if (out == nullptr) {
        if (handler != nullptr) {
            xmlCharEncCloseFunc(handler);
        }
        return false;
    }
    // Closes out, flushing what is left.
    return xmlSaveFormatFileTo(out, doc, enc.c_str(), 1) >= 0;
}

// Whether a document written in the encoding parses back. Some encodings
// iconv knows spell the markup itself differently (UTF-7 writes "<" as
// "+ADw-"): a feed read from a file that declares one of them, written back
// in it, would no longer read at all.
bool writesReadableXml(const std::string& name) {
    return writesBack(name, "x");
}

// The encoding to write: the given one when libxml2 and iconv know it and a
// file written in it reads back, otherwise UTF-8, which every reader accepts.
std::string outputEncoding(const CString& encoding) {
    std::string name = encoding.toUtf8();
    if (name.empty()) {
        return "UTF-8";
    }
    xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(name.c_str());
    if (handler == nullptr) {
        return "UTF-8";
    }
    xmlCharEncCloseFunc(handler);
    return writesReadableXml(name) ? name : "UTF-8";
}

}  // namespace

namespace {

// Compares what is serialised with the file's next bytes, as it comes.
struct CompareSink {
    FILE* file;
    bool same;
};

int compareWithFile(void* context, const char* data, int length) {
    auto* sink = static_cast<CompareSink*>(context);
    char buffer[1 << 14];
    for (int left = length; sink->same && left > 0;) {
        std::size_t n = std::min(sizeof buffer, static_cast<std::size_t>(left));
        sink->same = std::fread(buffer, 1, n, sink->file) == n && std::memcmp(buffer, data, n) == 0;
        data += n;
        left -= static_cast<int>(n);
    }
    // A difference ends the serialisation: the rest cannot make it equal.
    return sink->same ? length : -1;
}

// Compares the bytes of a document written by writeIndentedUtf8 with the
// file's next ones, as a save would write them: without the characters XML
// cannot carry.
class FileComparingSink : public SavedBytesSink {
  public:
    // Without dropping, the bytes are compared as they come (the tree had
    // those characters taken out already).
    FileComparingSink(FILE* file, bool dropping) : SavedBytesSink(dropping), m_file(file) {}

    // After the last block: whether the file held those bytes and no more.
    bool sameToTheEnd() { return takeHeld() && std::fgetc(m_file) == EOF && !std::ferror(m_file); }

  private:
    bool takeSaved(std::string_view bytes) override {
        m_fileBytes.resize(std::max(m_fileBytes.size(), bytes.size()));
        return std::fread(m_fileBytes.data(), 1, bytes.size(), m_file) == bytes.size() &&
               std::memcmp(m_fileBytes.data(), bytes.data(), bytes.size()) == 0;
    }

    FILE* m_file;
    std::vector<char> m_fileBytes;
};

// Hands on to write what of the serialised bytes XML can carry.
struct DroppingSink {
    xmlOutputWriteCallback write;
    void* context;
    NonXmlCharDropper dropper;
    std::string kept;
};

int writeDropping(void* context, const char* data, int length) {
    auto* sink = static_cast<DroppingSink*>(context);
    std::string_view block(data, static_cast<std::size_t>(length));
    if (sink->dropper.passes(block)) {
        return sink->write(sink->context, data, length) < 0 ? -1 : length;
    }
    sink->kept.clear();
    sink->dropper.take(block, sink->kept);
    if (!sink->kept.empty() &&
        sink->write(sink->context, sink->kept.data(), static_cast<int>(sink->kept.size())) < 0) {
        return -1;
    }
    return length;
}

// Runs body with a sink that hands on to write what of its bytes XML can
// carry, and hands on what the sink held back at the end.
template <typename Body>
bool writesDropping(xmlOutputWriteCallback write, void* context, Body body) {
    DroppingSink sink{write, context, {}, {}};
    if (!body(sink)) {
        return false;
    }
    sink.kept.clear();
    sink.dropper.finish(sink.kept);
    return sink.kept.empty() ||
           write(context, sink.kept.data(), static_cast<int>(sink.kept.size())) >= 0;
}

// How a save to the file at native writes the document in the encoding
// (empty: UTF-8): the name it declares and the converter it goes through
// (none: libxml2's own for the name, or the bytes as they are for UTF-8).
struct Output {
    std::string enc;
    xmlCharEncodingHandler* handler;
};

// Called with libxml2's errors quiet and the Shift_JIS converters known.
Output outputFor(xmlDoc* doc, const std::string& native, const CString& encoding) {
    std::string enc = outputEncoding(encoding);
    bool shiftJis = isShiftJisName(enc);
    xmlCharEncodingHandler* handler =
        shiftJis && fileUsesWindowsShiftJis(native.c_str()) ? windowsShiftJisOutput() : nullptr;
    // A name cannot be a character reference: one the standard codes lack
    // takes the Windows ones, one the encoding cannot hold at all takes the
    // whole file to UTF-8 rather than leave the feed impossible to save.
    // C1 controls (text once decoded under a wrong declaration) in an
    // ISO-8859-1 file read as UTF-8 the next time; UTF-8 keeps them as they are.
    if (namesIso88591(enc) && holdsC1Controls(doc)) {
        enc = "UTF-8";
    }
    // Our own converters write such characters right; some of the C
    // library's lose them: UTF-8 keeps them.
    // (The tree is walked only for an encoding that would lose them.)
    if (enc != "UTF-8" && handler == nullptr && !isShiftJisName(enc) &&
        !writesCharsBeyondBmp(enc) && holdsCharsBeyondBmp(doc)) {
        enc = "UTF-8";
    }
    if (enc != "UTF-8" && !namesSurviveEncoding(doc, enc, handler)) {
        if (shiftJis && handler == nullptr &&
            namesSurviveEncoding(doc, enc, windowsShiftJisOutput())) {
            handler = windowsShiftJisOutput();
        } else {
            enc = "UTF-8";
            handler = nullptr;
        }
    }
    return {enc, handler};
}

// Serialises the document as a save writes it: without the characters XML
// cannot carry, and with the Windows codes a Shift_JIS feed already uses.
bool serializeFor(xmlDoc* doc, const Output& output, xmlOutputWriteCallback write, void* context) {
    if (output.enc != "UTF-8") {
        // Another encoding could write a character it cannot hold as a
        // reference: such characters go before it sees them.
        dropNonXmlCharsInTree(doc->children);
        return serialize(doc, output.enc, output.handler, write, context);
    }
    // In UTF-8 they are dropped from the bytes as they go out, which spares
    // a walk over every node of the tree before the one that writes it.
    return writesDropping(write, context, [&](DroppingSink& sink) {
        return serialize(doc, output.enc, output.handler, writeDropping, &sink);
    });
}

// Whether writeIndentedUtf8 writes the bytes libxml2 writes for output:
// some spelling of UTF-8, through no converter of ours.
bool ourWriterFits(const Output& output) {
    return output.handler == nullptr &&
           xmlParseCharEncoding(output.enc.c_str()) == XML_CHAR_ENCODING_UTF8;
}

// Hands the blocks of writeIndentedUtf8 on to a libxml2 write callback.
struct CallbackSink : ByteSink {
    xmlOutputWriteCallback write;
    void* context;
    CallbackSink(xmlOutputWriteCallback w, void* c) : write(w), context(c) {}
    bool take(const char* data, std::size_t size) override {
        return write(context, data, static_cast<int>(size)) >= 0;
    }
};

// What serializeFor writes, written by writeIndentedUtf8; nullopt when the
// document or the encoding is not its to write (some bytes may have gone).
std::optional<bool> serializeOurs(xmlDoc* doc, const Output& output, xmlOutputWriteCallback write,
                                  void* context) {
    if (!ourWriterFits(output)) {
        return std::nullopt;
    }
    bool ours = true;
    auto writeThrough = [&](xmlOutputWriteCallback to, void* toContext) {
        CallbackSink sink(to, toContext);
        IndentedUtf8 outcome = writeIndentedUtf8(doc, sink, output.enc.c_str());
        ours = outcome != IndentedUtf8::NotOurs;
        return outcome == IndentedUtf8::Written;
    };
    bool written = false;
    if (output.enc != "UTF-8") {
        // As serializeFor: for another spelling the characters go from
        // the tree first.
        dropNonXmlCharsInTree(doc->children);
        written = writeThrough(write, context);
    } else {
        written = writesDropping(
            write, context, [&](DroppingSink& sink) { return writeThrough(writeDropping, &sink); });
    }
    return ours ? std::optional<bool>(written) : std::nullopt;
}

// Whether a save would leave the file with the bytes it holds, found by
// writeIndentedUtf8; nullopt when only libxml2's serialisation can tell.
std::optional<bool> sameAsOurs(xmlDoc* doc, const Output& output, FILE* file) {
    if (!ourWriterFits(output)) {
        return std::nullopt;
    }
    bool dropping = output.enc == "UTF-8";
    if (!dropping) {
        dropNonXmlCharsInTree(doc->children);
    }
    FileComparingSink sink(file, dropping);
    switch (writeIndentedUtf8(doc, sink, output.enc.c_str())) {
        case IndentedUtf8::Written:
            return sink.sameToTheEnd();
        case IndentedUtf8::Stopped:
            return false;
        case IndentedUtf8::NotOurs:
            break;
    }
    return std::nullopt;
}

// Saves into fd what serialise hands to its callback, parsing the bytes as
// they reach the file: 0, or the error. A serialisation that leaves the
// document to another (nullopt) gives nullopt, having written some bytes.
std::optional<int> saveInto(
    int fd, bool& unreadable,
    const std::function<std::optional<bool>(xmlOutputWriteCallback, void*)>& serialise) {
    ParseAsWritten parse(fd);
    FdSink sink{fd};
    sink.parse = &parse;
    std::optional<bool> serialised = serialise(writeToFd, &sink);
    if (!serialised) {
        return std::nullopt;
    }
    if (!*serialised || !sink.flush()) {
        return sink.error != 0 ? sink.error : EIO;
    }
    if (!parse.wellFormed()) {
        unreadable = true;
        return EILSEQ;
    }
    return 0;
}

}  // namespace

bool saveFile(xmlDoc* doc, const CString& windowsPath, const CString& encoding) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    if (doc == nullptr || !native || native->empty() || native->back() == '/') {
        return false;
    }
    std::filesystem::path target(*native);
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        // Replace the file the link points to and keep the link.
        auto resolved = std::filesystem::canonical(target, ec);
        auto windows = ec ? std::nullopt : nd::win32::toWindowsPath(resolved.string());
        if (!windows) {
            return false;
        }
        return saveFile(doc, CString(*windows), encoding);
    }

    // Serialised straight into the temporary file: a feed of many megabytes
    // is neither held in memory whole nor copied on its way to the disk.
    // Bytes that would not parse back never replace a feed, whatever the
    // document came to hold.
    bool unreadable = false;
    bool saved = writeFileAtomically(
        windowsPath,
        [&](int fd) {
            registerShiftJis();
            QuietErrors quiet;
            Output output = outputFor(doc, *native, encoding);
            if (auto result = saveInto(fd, unreadable, [&](auto write, void* context) {
                    return serializeOurs(doc, output, write, context);
                })) {
                return *result;
            }
            // Left to libxml2: what was written so far goes.
            if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) {
                return errno;
            }
            return *saveInto(fd, unreadable, [&](auto write, void* context) {
                return std::optional<bool>(serializeFor(doc, output, write, context));
            });
        },
        true);
    if (unreadable) {
        SetLastError(ERROR_INVALID_DATA);
    }
    return saved;
}

bool savesSameBytes(xmlDoc* doc, const CString& windowsPath, const CString& encoding) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    if (doc == nullptr || !native || native->empty() || native->back() == '/') {
        return false;
    }
    FILE* file = std::fopen(native->c_str(), "rbe");
    if (file == nullptr) {
        return false;
    }
    registerShiftJis();
    QuietErrors quiet;
    Output output = outputFor(doc, *native, encoding);
    std::optional<bool> answer = sameAsOurs(doc, output, file);
    if (!answer) {
        std::rewind(file);
        CompareSink sink{file, true};
        answer = serializeFor(doc, output, compareWithFile, &sink) && sink.same &&
                 std::fgetc(file) == EOF && !std::ferror(file);
    }
    std::fclose(file);
    return *answer;
}

std::string plainUtf8Output(const CString& encoding) {
    registerShiftJis();
    QuietErrors quiet;
    // What outputFor decides for such a name, whatever the document: the
    // names of elements go through libxml2's UTF-8 converter, which copies
    // them, and so do characters beyond the BMP.
    std::string enc = outputEncoding(encoding);
    return ourWriterFits({enc, nullptr}) ? enc : std::string();
}

}  // namespace lum::xml
