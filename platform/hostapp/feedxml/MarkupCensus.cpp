#include "hostapp/feedxml/MarkupCensus.h"

#include <cstring>

namespace lum::xml {

bool MarkupCensus::feed(unsigned char c) {
    if (c == 0) {
        return true;
    }
    unsigned char before = m_last[1];
    unsigned char twoBefore = m_last[0];
    m_last[0] = m_last[1];
    m_last[1] = c;
    switch (m_state) {
        case State::Text:
            if (c == '<') {
                m_state = State::Markup;
            }
            break;
        case State::Markup:
            m_values = 0;
            m_state = c == '!'   ? State::Bang
                      : c == '?' ? State::Instruction
                      : c == '/' ? State::EndTag
                                 : State::Tag;
            break;
        case State::Bang:
            m_state = c == '-' ? State::Comment : c == '[' ? State::CData : State::Declaration;
            break;
        case State::Tag:
            if (c == '"' || c == '\'') {
                m_quote = c;
                m_state = State::TagValue;
                if (++m_values > kMostAttributesPerTag) {
                    m_exceeded = "an element with more than 256 attributes";
                    return false;
                }
                return true;
            }
            if (c == '>') {
                m_state = State::Text;
                m_startTagSeen = true;
            }
            break;
        case State::TagValue:
            if (c == m_quote) {
                m_state = State::Tag;
            }
            break;
        case State::Declaration:
            if (m_quote != 0) {
                m_quote = c == m_quote ? 0 : m_quote;
            } else if (c == '"' || c == '\'') {
                m_quote = c;
            } else if (c == '>') {
                m_state = State::Text;
            }
            if (++m_declarationBytes > kMostDeclarationBytes) {
                m_exceeded = "declarations over 256 KB";
                return false;
            }
            return true;
        case State::Comment:
            m_state = c == '>' && before == '-' && twoBefore == '-' ? State::Text : m_state;
            break;
        case State::CData:
            m_state = c == '>' && before == ']' && twoBefore == ']' ? State::Text : m_state;
            break;
        case State::Instruction:
            m_state = c == '>' && before == '?' ? State::Text : m_state;
            break;
        case State::EndTag:
            m_state = c == '>' ? State::Text : m_state;
            break;
    }
    return true;
}

bool MarkupCensus::feed(const unsigned char* bytes, std::size_t size) {
    const unsigned char* p = bytes;
    const unsigned char* const end = bytes + size;
    auto find = [&](unsigned char c) {
        const void* found = std::memchr(p, c, static_cast<std::size_t>(end - p));
        return found ? static_cast<const unsigned char*>(found) : end;
    };
    while (p < end) {
        // Each state skips to the next byte that can change it: only '<'
        // ends text, only the quote ends a value, only a quote or '>'
        // matters in a tag. The bytes before a '<' are never looked back at.
        switch (m_state) {
            case State::Text:
                p = find('<');
                // A start or end tag whose second byte is at hand goes on from
                // here without feeding the bytes one by one: what they would
                // also record, the last bytes fed, only counts inside comments,
                // CDATA sections and instructions, which open through feed.
                if (end - p >= 2 && p[1] != 0 && p[1] != '!' && p[1] != '?') {
                    m_values = 0;
                    m_state = p[1] == '/' ? State::EndTag : State::Tag;
                    p += 2;
                    continue;
                }
                break;
            case State::TagValue:
                p = find(m_quote);
                if (p < end) {
                    m_state = State::Tag;
                    ++p;
                    continue;
                }
                break;
            case State::EndTag:
                p = find('>');
                if (p < end) {
                    m_state = State::Text;
                    ++p;
                    continue;
                }
                break;
            case State::Tag:
                while (p < end && *p != '"' && *p != '\'' && *p != '>') {
                    ++p;
                }
                if (p < end && *p == '>') {
                    m_state = State::Text;
                    m_startTagSeen = true;
                    ++p;
                    continue;
                }
                break;
            case State::Comment:
            case State::CData:
            case State::Instruction: {
                // Whether a '>' ends these depends on the two non-zero bytes
                // before it: those are fed one by one (at the end of a block
                // without a '>', so that the next block starts with them).
                const unsigned char* stop = find('>');
                const unsigned char* from = stop;
                for (int nonZero = 0; from > p && nonZero < 2;) {
                    if (*--from != 0) {
                        ++nonZero;
                    }
                }
                for (; from < stop; ++from) {
                    feed(*from);
                }
                p = stop;
                break;
            }
            default:
                break;
        }
        if (p < end && !feed(*p++)) {
            return false;
        }
    }
    return true;
}

}  // namespace lum::xml
