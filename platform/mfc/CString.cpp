#include "mfc/CString.h"

#include "win32/TextConv.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>

namespace {

size_t clampIndex(int i, size_t size) {
    if (i < 0) {
        return 0;
    }
    return std::min(static_cast<size_t>(i), size);
}

std::u16string caseMapped(const std::u16string& s, bool upper) {
    if (s.empty() || s.size() > INT32_MAX / 4) {
        return s;
    }
    // Case mapping can grow the text (ß -> SS); retry with the size ICU asks for.
    std::u16string out(s.size() + 8, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = upper ? u_strToUpper(out.data(), static_cast<int32_t>(out.size()), s.data(),
                                         static_cast<int32_t>(s.size()), "", &status)
                          : u_strToLower(out.data(), static_cast<int32_t>(out.size()), s.data(),
                                         static_cast<int32_t>(s.size()), "", &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<size_t>(n) + 1, u'\0');
            continue;
        }
        if (U_FAILURE(status)) {
            return s;
        }
        out.resize(static_cast<size_t>(n));
        return out;
    }
    return s;
}

bool isSpace(char16_t c) {
    return u_isUWhiteSpace(c) || c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

CString CString::fromUtf8(std::string_view utf8) {
    return CString(nd::text::fromUtf8(utf8));
}

std::string CString::toUtf8() const {
    return nd::text::toUtf8(m_s);
}

char16_t CString::GetAt(int i) const {
    return (i >= 0 && static_cast<size_t>(i) < m_s.size()) ? m_s[static_cast<size_t>(i)] : u'\0';
}

void CString::SetAt(int i, char16_t ch) {
    if (i >= 0 && static_cast<size_t>(i) < m_s.size()) {
        m_s[static_cast<size_t>(i)] = ch;
    }
}

char16_t* CString::GetBuffer(int minLength) {
    if (minLength > 0 && static_cast<size_t>(minLength) > m_s.size()) {
        m_s.resize(static_cast<size_t>(minLength), u'\0');
    }
    return m_s.data();
}

char16_t* CString::GetBufferSetLength(int length) {
    m_s.resize(length > 0 ? static_cast<size_t>(length) : 0, u'\0');
    return m_s.data();
}

void CString::ReleaseBuffer(int length) {
    if (length < 0) {
        m_s.resize(std::char_traits<char16_t>::length(m_s.c_str()));
    } else {
        m_s.resize(std::min(static_cast<size_t>(length), m_s.size()));
    }
}

int CString::Compare(const char16_t* other) const {
    int c = m_s.compare(other ? other : u"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char16_t* other) const {
    std::u16string_view b = other ? std::u16string_view(other) : std::u16string_view();
    if (b.empty() || m_s.empty()) {
        return m_s.empty() ? (b.empty() ? 0 : -1) : 1;
    }
    UErrorCode status = U_ZERO_ERROR;
    int c = u_strCaseCompare(m_s.data(), static_cast<int32_t>(m_s.size()), b.data(),
                             static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

CString CString::Mid(int first) const {
    return CString(std::u16string(m_s.substr(clampIndex(first, m_s.size()))));
}

CString CString::Mid(int first, int count) const {
    if (count <= 0) {
        return CString();
    }
    return CString(m_s.substr(clampIndex(first, m_s.size()), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
    return CString(m_s.substr(0, clampIndex(count, m_s.size())));
}

CString CString::Right(int count) const {
    size_t n = clampIndex(count, m_s.size());
    return CString(m_s.substr(m_s.size() - n));
}

int CString::Find(char16_t ch, int start) const {
    if (start < 0 || static_cast<size_t>(start) >= m_s.size()) {
        return -1;
    }
    size_t at = m_s.find(ch, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char16_t* sub, int start) const {
    if (sub == nullptr || start < 0 || static_cast<size_t>(start) > m_s.size()) {
        return -1;
    }
    size_t at = m_s.find(sub, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char16_t ch) const {
    size_t at = m_s.rfind(ch);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char16_t* chars) const {
    if (chars == nullptr) {
        return -1;
    }
    size_t at = m_s.find_first_of(chars);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(char16_t from, char16_t to) {
    int n = 0;
    for (auto& c : m_s) {
        if (c == from) {
            c = to;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const char16_t* from, const char16_t* to) {
    if (from == nullptr || *from == u'\0') {
        return 0;
    }
    std::u16string_view f(from);
    std::u16string_view t = to ? std::u16string_view(to) : std::u16string_view();
    std::u16string out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t at = m_s.find(f, pos);
        if (at == std::u16string::npos) {
            break;
        }
        out.append(m_s, pos, at - pos);
        out.append(t);
        pos = at + f.size();
        ++n;
    }
    if (n > 0) {
        out.append(m_s, pos);
        m_s = std::move(out);
    }
    return n;
}

int CString::Remove(char16_t ch) {
    size_t before = m_s.size();
    std::erase(m_s, ch);
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, char16_t ch) {
    m_s.insert(clampIndex(index, m_s.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char16_t* text) {
    if (text) {
        m_s.insert(clampIndex(index, m_s.size()), text);
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (count > 0 && index >= 0 && static_cast<size_t>(index) < m_s.size()) {
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::MakeUpper() {
    m_s = caseMapped(m_s, true);
    return *this;
}

CString& CString::MakeLower() {
    m_s = caseMapped(m_s, false);
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && isSpace(m_s[i])) {
        ++i;
    }
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_s.size();
    while (n > 0 && isSpace(m_s[n - 1])) {
        --n;
    }
    m_s.resize(n);
    return *this;
}

CString& CString::Trim(const char16_t* chars) {
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft(const char16_t* chars) {
    if (chars) {
        m_s.erase(0, std::min(m_s.find_first_not_of(chars), m_s.size()));
    }
    return *this;
}

CString& CString::TrimRight(const char16_t* chars) {
    if (chars) {
        size_t last = m_s.find_last_not_of(chars);
        m_s.resize(last == std::u16string::npos ? 0 : last + 1);
    }
    return *this;
}

CString& CString::Trim(char16_t ch) {
    const char16_t set[2] = {ch, 0};
    return Trim(set);
}
CString& CString::TrimLeft(char16_t ch) {
    const char16_t set[2] = {ch, 0};
    return TrimLeft(set);
}
CString& CString::TrimRight(char16_t ch) {
    const char16_t set[2] = {ch, 0};
    return TrimRight(set);
}

std::ostream& operator<<(std::ostream& out, const CString& text) {
    return out << text.toUtf8();
}
