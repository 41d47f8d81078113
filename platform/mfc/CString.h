// The framework's text type: a UTF-16 string with the operations the module
// uses. Case-insensitive comparison and case mapping go through ICU.
#pragma once

#include "win32/windows.h"

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CString;

namespace nd::mfc {

// One argument of CString::Format. Holds numbers by value and texts by view;
// a view stays valid for the duration of the Format call.
struct FormatArg {
    enum class Kind { Signed, Unsigned, Double, Text, Char, Pointer };
    Kind kind;
    std::int64_t s = 0;
    std::uint64_t u = 0;
    double d = 0;
    std::u16string_view text;
    const void* p = nullptr;

    template <typename T>
    requires(std::is_integral_v<T>&& std::is_signed_v<T> && !std::is_same_v<T, char>) FormatArg(T v)
        : kind(Kind::Signed), s(v) {}
    template <typename T>
    requires(std::is_integral_v<T>&& std::is_unsigned_v<T> && !std::is_same_v<T, bool> &&
             !std::is_same_v<T, char16_t>) FormatArg(T v)
        : kind(Kind::Unsigned), u(v) {}
    FormatArg(bool v) : kind(Kind::Signed), s(v ? 1 : 0) {}
    FormatArg(char16_t c) : kind(Kind::Char), u(c) {}
    FormatArg(double v) : kind(Kind::Double), d(v) {}
    FormatArg(const char16_t* t) : kind(Kind::Text), text(t ? std::u16string_view(t) : u"(null)") {}
    FormatArg(std::u16string_view t) : kind(Kind::Text), text(t) {}
    FormatArg(const std::u16string& t) : kind(Kind::Text), text(t) {}
    FormatArg(const CString& t);
    FormatArg(const void* ptr) : kind(Kind::Pointer), p(ptr) {}
};

std::u16string formatText(std::u16string_view format, const FormatArg* args, size_t count);

}  // namespace nd::mfc

class CString {
  public:
    using XCHAR = char16_t;

    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const char16_t* text) : m_s(text ? text : u"") {}
    CString(const char16_t* text, int length)
        : m_s(text && length > 0 ? std::u16string(text, static_cast<size_t>(length))
                                 : std::u16string()) {}
    CString(char16_t ch, int repeat = 1) : m_s(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}
    CString(std::u16string text) : m_s(std::move(text)) {}
    CString(std::u16string_view text) : m_s(text) {}
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char16_t* text) {
        m_s = text ? text : u"";
        return *this;
    }
    CString& operator=(char16_t ch) {
        m_s.assign(1, ch);
        return *this;
    }

    // UTF-8 at the edges; ill-formed input becomes U+FFFD.
    static CString fromUtf8(std::string_view utf8);
    std::string toUtf8() const;

    // The string `id` from the resource chain; FALSE (and empty) when no
    // module on the chain has it.
    BOOL LoadString(UINT id);

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    const char16_t* GetString() const { return m_s.c_str(); }
    operator const char16_t*() const { return m_s.c_str(); }
    const std::u16string& str() const { return m_s; }
    std::u16string_view view() const { return m_s; }

    // Out-of-range positions give 0 / are ignored rather than reading past the end.
    char16_t GetAt(int i) const;
    void SetAt(int i, char16_t ch);

    // The buffer holds at least minLength characters plus a terminator until
    // ReleaseBuffer, which cuts the text at length or, with -1, at the first 0.
    char16_t* GetBuffer(int minLength = 0);
    char16_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int length = -1);

    CString& operator+=(const CString& other) {
        m_s += other.m_s;
        return *this;
    }
    CString& operator+=(const char16_t* text) {
        if (text) {
            m_s += text;
        }
        return *this;
    }
    CString& operator+=(char16_t ch) {
        m_s += ch;
        return *this;
    }
    void Append(const CString& other) { m_s += other.m_s; }
    void AppendChar(char16_t ch) { m_s += ch; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char16_t* b) {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const char16_t* a, const CString& b) {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, char16_t b) {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(char16_t a, const CString& b) {
        CString r(a);
        r += b;
        return r;
    }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_s == (b ? b : u""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
        return a.m_s <=> b.m_s;
    }

    // Ordinal comparison by code unit: <0, 0, >0.
    int Compare(const char16_t* other) const;
    // Full Unicode case folding (ICU), so "ＡＢＣ" equals "ａｂｃ".
    int CompareNoCase(const char16_t* other) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // -1 when not found; a start beyond the end finds nothing.
    int Find(char16_t ch, int start = 0) const;
    int Find(const char16_t* sub, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    int FindOneOf(const char16_t* chars) const;

    // The number of replacements made.
    int Replace(char16_t from, char16_t to);
    int Replace(const char16_t* from, const char16_t* to);
    int Remove(char16_t ch);
    // The new length.
    int Insert(int index, char16_t ch);
    int Insert(int index, const char16_t* text);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Without arguments these trim white space (space, tab, CR, LF, and the
    // other Unicode white space characters).
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(const char16_t* chars);
    CString& TrimLeft(const char16_t* chars);
    CString& TrimRight(const char16_t* chars);
    CString& Trim(char16_t ch);
    CString& TrimLeft(char16_t ch);
    CString& TrimRight(char16_t ch);

    // printf-style formatting with %d %i %u %x %X %o %c %s %f %g %e %p %%,
    // flags, width, precision and the l, ll, h and I64 size prefixes. A
    // conversion without a matching argument prints nothing.
    template <typename... Args>
    void Format(const char16_t* format, const Args&... args) {
        const nd::mfc::FormatArg list[] = {nd::mfc::FormatArg(args)..., nd::mfc::FormatArg(0)};
        m_s = nd::mfc::formatText(format ? format : u"", list, sizeof...(Args));
    }
    template <typename... Args>
    void AppendFormat(const char16_t* format, const Args&... args) {
        CString more;
        more.Format(format, args...);
        m_s += more.m_s;
    }

  private:
    std::u16string m_s;
};

namespace nd::mfc {
inline FormatArg::FormatArg(const CString& t) : kind(Kind::Text), text(t.view()) {}
}  // namespace nd::mfc

// Writes the text as UTF-8.
std::ostream& operator<<(std::ostream& out, const CString& text);

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept {
        return std::hash<std::u16string>{}(s.str());
    }
};
