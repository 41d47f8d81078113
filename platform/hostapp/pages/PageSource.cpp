#include "hostapp/pages/PageSource.h"

#include "hostapp/pages/PageText.h"
#include "hostapp/text/ShiftJis.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <memory>

namespace lum::page {

namespace {

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

Converter openConverter(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status)) {
        converter = nullptr;
    }
    return Converter(converter, ucnv_close);
}

bool isUtf8Name(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    const char* canonical = ucnv_getCanonicalName(name.c_str(), "", &status);
    std::string c = U_SUCCESS(status) && canonical ? canonical : name;
    return c == "UTF-8" || name == "UTF-8" || name == "utf-8" || name == "US-ASCII";
}

}  // namespace

std::optional<PageSource> PageSource::read(std::string_view bytes, std::string& error) {
    PageSource page;
    page.m_encoding = decodePage(bytes).encoding;
    if (page.m_encoding.empty() || isUtf8Name(page.m_encoding)) {
        page.m_encoding = "UTF-8";
        size_t bom = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        page.m_text.assign(bytes.substr(bom));
        page.m_byteOf.resize(page.m_text.size() + 1);
        for (size_t i = 0; i < page.m_byteOf.size(); ++i) {
            page.m_byteOf[i] = i + bom;
        }
        return page;
    }
    page.m_shiftJis = lum::xml::isShiftJisName(page.m_encoding);
    page.m_windowsShiftJis = page.m_shiftJis && lum::xml::usesWindowsShiftJis(bytes);
    Converter converter = openConverter(page.m_encoding);
    if (!converter) {
        error = "no converter for the page's encoding " + page.m_encoding;
        return std::nullopt;
    }
    // Every UTF-16 unit comes with the offset of the bytes it was read from.
    std::u16string units(bytes.size() + 1, u'\0');
    std::vector<int32_t> offsets(units.size(), 0);
    UErrorCode status = U_ZERO_ERROR;
    const char* source = bytes.data();
    UChar* target = units.data();
    ucnv_toUnicode(converter.get(), &target, units.data() + units.size(), &source,
                   bytes.data() + bytes.size(), offsets.data(), true, &status);
    if (U_FAILURE(status)) {
        error = std::string("the page cannot be read as ") + page.m_encoding + ": " +
                u_errorName(status);
        return std::nullopt;
    }
    size_t count = static_cast<size_t>(target - units.data());
    page.m_text.reserve(count * 3);
    page.m_byteOf.reserve(count * 3 + 1);
    size_t i = 0;
    // A BOM in front of the text is not part of it.
    if (count > 0 && units[0] == 0xFEFF) {
        i = 1;
    }
    while (i < count) {
        size_t begin = i;
        UChar32 c = units[i++];
        if (U16_IS_LEAD(c) && i < count && U16_IS_TRAIL(units[i])) {
            c = U16_GET_SUPPLEMENTARY(c, units[i++]);
        }
        char buffer[4];
        int32_t length = 0;
        UBool failed = false;
        U8_APPEND(buffer, length, 4, c, failed);
        if (failed) {
            length = 0;
            U8_APPEND_UNSAFE(buffer, length, 0xFFFD);
        }
        size_t from = offsets[begin] < 0 ? bytes.size() : static_cast<size_t>(offsets[begin]);
        for (int32_t k = 0; k < length; ++k) {
            page.m_text += buffer[k];
            page.m_byteOf.push_back(from);
        }
    }
    page.m_byteOf.push_back(bytes.size());
    return page;
}

std::string PageSource::encode(std::string_view utf8) const {
    if (m_encoding == "UTF-8") {
        return std::string(utf8);
    }
    if (m_shiftJis) {
        return lum::xml::encodeShiftJis(utf8, m_windowsShiftJis);
    }
    Converter converter = openConverter(m_encoding);
    std::string out;
    if (!converter) {
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_HEX,
                          nullptr, nullptr, &status);
    std::u16string units;
    for (size_t i = 0; i < utf8.size();) {
        UChar32 c = 0;
        U8_NEXT(utf8.data(), i, utf8.size(), c);
        if (c < 0) {
            c = 0xFFFD;
        }
        if (U_IS_BMP(c)) {
            units += static_cast<char16_t>(c);
        } else {
            units += static_cast<char16_t>(U16_LEAD(c));
            units += static_cast<char16_t>(U16_TRAIL(c));
        }
    }
    out.resize(units.size() * 10 + 16);
    int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                     units.data(), static_cast<int32_t>(units.size()), &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return out;
}

}  // namespace lum::page
