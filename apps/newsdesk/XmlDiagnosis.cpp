#include "XmlDiagnosis.h"

#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/text/HtmlEntities.h"
#include "win32/PathMapping.h"

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <unicode/ucsdet.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace newsdesk::app {

namespace {

// The first error is the cause; what follows it is the parser giving up.
struct FirstError {
    bool seen = false;
    xmlError error{};
    std::string message;
};

// An HTML name the file does not declare is forgiven on reading; the
// reason a file is refused is what comes after it.
bool forgiven(const xmlError* error) {
    return error->code == XML_ERR_UNDECLARED_ENTITY && error->str1 != nullptr &&
           lum::xml::htmlNamedCharacter(error->str1).has_value();
}

// context: two FirstError, the first error and the first forgiven one.
void keepFirstError(void* context, xmlError* error) {
    if (error == nullptr || error->level < XML_ERR_ERROR) {
        return;
    }
    auto* errors = static_cast<FirstError*>(context);
    FirstError& slot = forgiven(error) ? errors[1] : errors[0];
    if (!slot.seen) {
        slot.seen = true;
        slot.error = *error;
        slot.message = error->message != nullptr ? error->message : "";
        slot.error.message = nullptr;
        slot.error.file = nullptr;
        slot.error.str1 = slot.error.str2 = slot.error.str3 = nullptr;
        slot.error.ctxt = slot.error.node = nullptr;
    }
}
void ignoreMessage(void*, const char*, ...) {}

// The encoding the XML declaration names, or empty.
std::string declaredEncoding(const std::string& head) {
    if (head.rfind("<?xml", 0) != 0) {
        return {};
    }
    std::size_t end = head.find("?>");
    std::size_t at = head.find("encoding", 0);
    if (at == std::string::npos || (end != std::string::npos && at > end)) {
        return {};
    }
    std::size_t quote = head.find_first_of("\"'", at);
    if (quote == std::string::npos) {
        return {};
    }
    std::size_t close = head.find(head[quote], quote + 1);
    return close == std::string::npos ? std::string() : head.substr(quote + 1, close - quote - 1);
}

// ICU's best guess at the charset of the bytes, or empty.
std::string likelyEncoding(const std::string& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector* detector = ucsdet_open(&status);
    std::string name;
    if (U_SUCCESS(status)) {
        ucsdet_setText(detector, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        const UCharsetMatch* match = U_SUCCESS(status) ? ucsdet_detect(detector, &status) : nullptr;
        // A short text gives weak guesses; only a fair one is worth naming.
        if (match != nullptr && U_SUCCESS(status) && ucsdet_getConfidence(match, &status) >= 40) {
            const char* found = ucsdet_getName(match, &status);
            name = U_SUCCESS(status) && found != nullptr ? found : "";
        }
        ucsdet_close(detector);
    }
    return name;
}

std::string readHead(int fd, std::size_t most) {
    std::string bytes(most, '\0');
    ssize_t n = ::pread(fd, bytes.data(), most, 0);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

bool isEncodingError(const xmlError& e) {
    return e.domain == XML_FROM_I18N || e.domain == XML_FROM_IO || e.code == XML_ERR_INVALID_CHAR ||
           e.code == XML_ERR_INVALID_ENCODING || e.code == XML_ERR_UNSUPPORTED_ENCODING ||
           e.code == XML_ERR_UNKNOWN_ENCODING;
}

std::string where(const xmlError& e) {
    if (e.line <= 0) {
        return {};
    }
    return " at line " + std::to_string(e.line) + ", column " + std::to_string(e.int2);
}

}  // namespace

std::string whyNotReadableXml(const std::string& nativePath) {
    auto windows = nd::win32::toWindowsPath(nativePath);
    if (windows) {
        if (const char* exceeded = lum::xml::exceededLimit(CString(*windows))) {
            return std::string("refused: ") + exceeded;
        }
    }
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return "cannot be read";
    }
    xmlParserCtxt* context = xmlNewParserCtxt();
    if (context == nullptr) {
        ::close(fd);
        return "not well-formed XML";
    }
    // The reason is taken from the context; nothing goes to the terminal.
    xmlStructuredErrorFunc structured = xmlStructuredError;
    void* structuredContext = xmlStructuredErrorContext;
    xmlGenericErrorFunc generic = xmlGenericError;
    void* genericContext = xmlGenericErrorContext;
    // The first error, and the first forgiven one in case nothing follows.
    FirstError errors[2];
    FirstError& first = errors[0];
    xmlSetStructuredErrorFunc(errors, keepFirstError);
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);
    // The options the module reads with, so that the reason is the one that
    // made it refuse; without HUGE, libxml2 keeps its bounds on depth and
    // text.
    xmlDoc* doc = xmlCtxtReadFd(context, fd, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOCDATA);
    std::string reason = "not well-formed XML";
    if (!first.seen && errors[1].seen) {
        first = errors[1];
    }
    const xmlError* error = first.seen ? &first.error : nullptr;
    if (doc == nullptr && error != nullptr && error->code != XML_ERR_OK) {
        std::string message = first.message;
        while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back()))) {
            message.pop_back();
        }
        if (message.find("depth") != std::string::npos) {
            reason = "refused: nesting deeper than 256 levels" + where(*error);
        } else if (message.find("huge") != std::string::npos) {
            reason = "refused: a text over 10 MB" + where(*error);
        } else if (error->code == XML_ERR_ENTITY_LOOP ||
                   message.find("amplification") != std::string::npos) {
            reason = "refused: entities that expand to more text than the limit" + where(*error);
        } else if (isEncodingError(*error)) {
            std::string head = readHead(fd, 1 << 16);
            std::string declared = declaredEncoding(head);
            std::string likely = likelyEncoding(head);
            reason = "not text in the encoding " +
                     (declared.empty() ? std::string("UTF-8 (none declared)")
                                       : "\"" + declared + "\" it declares") +
                     where(*error) + (likely.empty() ? "" : "; the bytes look like " + likely);
        } else {
            reason = "not well-formed XML: " + message + where(*error);
        }
    }
    if (doc != nullptr) {
        xmlFreeDoc(doc);
    }
    xmlSetStructuredErrorFunc(structuredContext, structured);
    xmlSetGenericErrorFunc(genericContext, generic);
    xmlFreeParserCtxt(context);
    ::close(fd);
    return reason;
}

}  // namespace newsdesk::app
