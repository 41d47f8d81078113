// Date texts, durations and entity decoding on any text. The first byte picks
// how the rest becomes a text: UTF-8 (the common case) or raw UTF-16 code
// units, lone surrogates included.
#include "feed/FeedReaders.h"
#include "feed/TextFunctions.h"
#include "hostapp/text/CXMLSitemapUtil.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    CString text;
    if (data[0] & 1) {
        std::u16string units((size - 1) / 2, u'\0');
        std::memcpy(units.data(), data + 1, units.size() * 2);
        text = CString(units.c_str(), static_cast<int>(units.size()));
    } else {
        text =
            CString::fromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    }
    CTime time(0);
    CXMLSitemapUtil::getOleDateTimeFromString(text, time, (data[0] & 2) != 0);
    // A text is either read as a time or kept, never both, never neither
    // unless it is blank.
    newsdesk::RecordDate date = newsdesk::readRecordDate(text);
    if (date.time != 0 && !date.keptText.IsEmpty()) {
        __builtin_trap();
    }
    newsdesk::parseDuration(text);
    newsdesk::wtoi(text);
    CString plain = newsdesk::xmlUnescape(text);
    // Escaping then unescaping gives the text back.
    if (newsdesk::xmlUnescape(newsdesk::xmlEscape(text)) != text) {
        __builtin_trap();
    }
    (void)plain;
    return 0;
}
