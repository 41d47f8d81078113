#include "TextQuote.h"

#include "win32/TextConv.h"

#include <cstdio>

namespace newsdesk::app {

std::string quoteText(std::u16string_view text) {
    std::string out = "\"";
    for (char c : nd::text::toUtf8(text)) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace newsdesk::app
