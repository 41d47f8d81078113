#include "json/JsonStream.h"

#include "json/RecordJson.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <future>
#include <system_error>

namespace newsdesk::app {

namespace {

using nlohmann::ordered_json;

// Output is handed to the stream in pieces of about this size.
constexpr std::size_t kChunk = 1 << 16;
// Items written in one run by one thread.
constexpr std::size_t kItemsPerRun = 2048;

void appendIndent(std::string& out, int indent) {
    out.append(static_cast<std::size_t>(indent), ' ');
}

template <typename Int>
void appendNumber(std::string& out, Int value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// The length of the well-formed UTF-8 sequence at text[i] (as RFC 3629
// defines it: no overlong forms, no surrogates, nothing above U+10FFFF), or
// 0 when the bytes there are not one.
std::size_t utf8SequenceAt(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    unsigned char lead = byte(0);
    std::size_t left = text.size() - i;
    auto trail = [&](std::size_t k) { return k < left && (byte(k) & 0xC0) == 0x80; };
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return trail(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!trail(1) || !trail(2)) {
            return 0;
        }
        unsigned char second = byte(1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F)) {
            return 0;
        }
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!trail(1) || !trail(2) || !trail(3)) {
            return 0;
        }
        unsigned char second = byte(1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return 0;
        }
        return 4;
    }
    return 0;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = utf8SequenceAt(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

template <typename Container>
void appendContainer(std::string& out, const ordered_json& value, int indent, char open, char close,
                     Container&& members) {
    if (value.empty()) {
        out += open;
        out += close;
        return;
    }
    out += open;
    bool first = true;
    for (const auto& member : members) {
        out += first ? "\n" : ",\n";
        first = false;
        appendIndent(out, indent + 2);
        if constexpr (requires { member.key(); }) {
            appendJsonString(out, member.key());
            out += ": ";
            appendPrettyJson(out, member.value(), indent + 2);
        } else {
            appendPrettyJson(out, member, indent + 2);
        }
    }
    out += '\n';
    appendIndent(out, indent);
    out += close;
}

// Appends UTF-16 text as a JSON string: the bytes CString::toUtf8 gives
// (an unpaired surrogate becomes U+FFFD), escaped as appendJsonString
// escapes them, without the intermediate string.
void appendUtf16JsonString(std::string& out, std::u16string_view text) {
    out += '"';
    auto plain = [](char16_t c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Most of a feed's text is plain ASCII: a run of it is narrowed
        // straight into room made for the rest of the text, which is then
        // cut back to what the run filled.
        if (plain(text[i])) {
            std::size_t at = out.size();
            out.resize(at + (text.size() - i));
            char* to = out.data() + at;
            while (i < text.size() && plain(text[i])) {
                *to++ = static_cast<char>(text[i++]);
            }
            out.resize(static_cast<std::size_t>(to - out.data()));
            --i;
            continue;
        }
        auto wide = [](char16_t c) { return c >= 0x80 && (c < 0xD800 || c > 0xDFFF); };
        if (wide(text[i])) {
            // A run of characters of two or three bytes (Japanese text) is
            // written the same way.
            std::size_t end = i;
            while (end < text.size() && wide(text[end])) {
                ++end;
            }
            std::size_t at = out.size();
            out.resize(at + (end - i) * 3);
            char* to = out.data() + at;
            for (; i < end; ++i) {
                char16_t c = text[i];
                if (c < 0x800) {
                    *to++ = static_cast<char>(0xC0 | (c >> 6));
                } else {
                    *to++ = static_cast<char>(0xE0 | (c >> 12));
                    *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                }
                *to++ = static_cast<char>(0x80 | (c & 0x3F));
            }
            out.resize(static_cast<std::size_t>(to - out.data()));
            --i;
            continue;
        }
        char32_t c = text[i];
        if (c < 0x80) {
            // What is left of ASCII needs escaping.
            char one = static_cast<char>(c);
            std::string escaped;
            appendJsonString(escaped, std::string_view(&one, 1));
            out.append(escaped, 1, escaped.size() - 2);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            bool paired = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
            if (paired) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    out += '"';
}

// The members of one object at a given indentation, in the layout of
// appendContainer, written straight from the record's fields.
class ObjectWriter {
  public:
    ObjectWriter(std::string& out, int indent) : m_out(out), m_indent(indent) { m_out += '{'; }
    void text(const char* key, const CString& value) {
        name(key);
        appendUtf16JsonString(m_out, value.view());
    }
    template <typename Int>
    void number(const char* key, Int value) {
        name(key);
        appendNumber(m_out, value);
    }
    void flag(const char* key, bool value) {
        name(key);
        m_out += value ? "true" : "false";
    }
    void json(const char* key, const ordered_json& value) {
        name(key);
        appendPrettyJson(m_out, value, m_indent + 2);
    }
    void categories(const char* key, const std::vector<CRSSCategory>& list) {
        name(key);
        if (list.empty()) {
            m_out += "[]";
            return;
        }
        m_out += '[';
        bool first = true;
        for (const CRSSCategory& category : list) {
            m_out += first ? "\n" : ",\n";
            first = false;
            appendIndent(m_out, m_indent + 4);
            ObjectWriter object(m_out, m_indent + 4);
            object.text("category", category.m_category);
            object.text("subCategory", category.m_subCategory);
            if (category.m_kept.holdsMarkup()) {
                object.json("kept", keptJson(category.m_kept));
            }
            object.close();
        }
        m_out += '\n';
        appendIndent(m_out, m_indent + 2);
        m_out += ']';
    }
    void close() {
        if (m_members == 0) {
            m_out += '}';
            return;
        }
        m_out += '\n';
        appendIndent(m_out, m_indent);
        m_out += '}';
    }

  private:
    void name(const char* key) {
        m_out += m_members++ == 0 ? "\n" : ",\n";
        appendIndent(m_out, m_indent + 2);
        m_out += '"';
        m_out += key;
        m_out += "\": ";
    }
    std::string& m_out;
    int m_indent;
    int m_members = 0;
};

}  // namespace

void appendItemJson(std::string& out, const CRSSItem& item, int indent) {
    ObjectWriter object(out, indent);
    object.categories("categories", item.m_categories);
    object.text("title", item.m_title);
    object.text("description", item.m_description);
    object.text("link", item.m_link);
    object.number("pubDate", item.m_pubDate);
    object.text("pubDateText", item.m_pubDateText);
    object.text("author", item.m_author);
    object.text("enclosureUrl", item.m_enclosureUrl);
    object.text("enclosureType", item.m_enclosureType);
    object.number("enclosureLength", item.m_enclosureLength);
    object.text("subTitle", item.m_subTitle);
    object.text("artist", item.m_artist);
    object.flag("block", item.m_block);
    object.number("duration", item.m_duration);
    object.text("keywords", item.m_keywords);
    object.text("comments", item.m_comments);
    if (item.m_kept.holdsMarkup()) {
        object.json("kept", keptJson(item.m_kept));
    }
    object.close();
}

void appendJsonString(std::string& out, std::string_view text) {
    if (!isUtf8(text)) {
        out += ordered_json(std::string(text))
                   .dump(-1, ' ', false, ordered_json::error_handler_t::replace);
        return;
    }
    out += '"';
    std::size_t plain = 0;  // start of the run not yet copied
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default: {
                static constexpr char kHex[] = "0123456789abcdef";
                char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                out.append(escaped, sizeof escaped);
            }
        }
    }
    out.append(text.data() + plain, text.size() - plain);
    out += '"';
}

void appendPrettyJson(std::string& out, const ordered_json& value, int indent) {
    switch (value.type()) {
        case ordered_json::value_t::object:
            appendContainer(out, value, indent, '{', '}', value.items());
            break;
        case ordered_json::value_t::array:
            appendContainer(out, value, indent, '[', ']', value);
            break;
        case ordered_json::value_t::string:
            appendJsonString(out, value.get_ref<const std::string&>());
            break;
        case ordered_json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            break;
        case ordered_json::value_t::number_integer:
            appendNumber(out, value.get<std::int64_t>());
            break;
        case ordered_json::value_t::number_unsigned:
            appendNumber(out, value.get<std::uint64_t>());
            break;
        default:
            // null, floating point and binary: rare enough to leave to the
            // library, whose forms they then are by definition.
            out += value.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    }
}

bool writeRecordJson(std::ostream& out, const CRSSChannel& channel, const std::string& filePath) {
    std::string buffer;
    buffer.reserve(kChunk * 2);
    auto spill = [&](bool always) {
        if (always || buffer.size() >= kChunk) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    };
    // The record's own keys, in their order; "items" is the first of them
    // and the only one that may be large.
    ordered_json fields = toJsonWithoutItems(channel);
    fields["filePath"] = filePath;
    buffer += "{\n  \"items\": ";
    if (channel.m_items.empty()) {
        buffer += "[]";
    } else {
        buffer += '[';
        // Items are written straight from their fields. Should the record's
        // JSON have gained a member this writer does not know, the first item
        // shows it, and every item then goes through toJson: never other
        // bytes than the library's, at worst slower.
        std::string viaJson;
        appendPrettyJson(viaJson, toJson(channel.m_items.front()), 4);
        std::string direct;
        appendItemJson(direct, channel.m_items.front(), 4);
        bool straight = direct == viaJson;
        auto appendItems = [&](std::string& to, std::size_t from, std::size_t end) {
            for (std::size_t i = from; i < end; ++i) {
                to += i == 0 ? "\n    " : ",\n    ";
                if (straight) {
                    appendItemJson(to, channel.m_items[i], 4);
                } else {
                    appendPrettyJson(to, toJson(channel.m_items[i]), 4);
                }
            }
        };
        // A large feed's items are written in runs, two at a time: a thread
        // of its own writes the second of each pair while this one writes
        // the first, and both go out in their order.
        const std::size_t count = channel.m_items.size();
        for (std::size_t run = 0; run < count; run += 2 * kItemsPerRun) {
            std::size_t middle = std::min(count, run + kItemsPerRun);
            std::size_t end = std::min(count, middle + kItemsPerRun);
            std::future<std::string> second;
            if (middle < end) {
                try {
                    second = std::async(std::launch::async, [&, middle, end] {
                        std::string text;
                        appendItems(text, middle, end);
                        return text;
                    });
                } catch (const std::system_error&) {
                    // No thread to be had: this one writes it after the first.
                }
            }
            appendItems(buffer, run, middle);
            spill(false);
            if (second.valid()) {
                std::string text = second.get();
                out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                out.write(text.data(), static_cast<std::streamsize>(text.size()));
                buffer.clear();
            } else {
                appendItems(buffer, middle, end);
                spill(false);
            }
        }
        buffer += "\n  ]";
    }
    for (const auto& member : fields.items()) {
        buffer += ",\n  ";
        appendJsonString(buffer, member.key());
        buffer += ": ";
        appendPrettyJson(buffer, member.value(), 2);
    }
    buffer += "\n}";
    spill(true);
    return bool(out);
}

}  // namespace newsdesk::app
