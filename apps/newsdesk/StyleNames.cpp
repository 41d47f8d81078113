#include "StyleNames.h"

#include <cstdio>
#include <vector>

namespace newsdesk::app {

namespace {

struct Bit {
    std::uint32_t value;
    const char* name;
};

// Flags are tested as bits; a class's "type" field (the low bits of buttons,
// statics, combo boxes, list views) is matched as a whole value.
struct ClassStyles {
    std::u16string_view className;
    std::uint32_t typeMask;
    std::vector<Bit> types;
    std::vector<Bit> flags;
};

const std::vector<Bit> kWindowBits = {
    {0x80000000u, "WS_POPUP"},        {0x40000000u, "WS_CHILD"},
    {0x20000000u, "WS_MINIMIZE"},     {0x10000000u, "WS_VISIBLE"},
    {0x08000000u, "WS_DISABLED"},     {0x04000000u, "WS_CLIPSIBLINGS"},
    {0x02000000u, "WS_CLIPCHILDREN"}, {0x00C00000u, "WS_CAPTION"},
    {0x00800000u, "WS_BORDER"},       {0x00400000u, "WS_DLGFRAME"},
    {0x00200000u, "WS_VSCROLL"},      {0x00100000u, "WS_HSCROLL"},
    {0x00080000u, "WS_SYSMENU"},      {0x00040000u, "WS_THICKFRAME"},
    {0x00020000u, "WS_GROUP"},        {0x00010000u, "WS_TABSTOP"},
};

const std::vector<ClassStyles>& classStyles() {
    static const std::vector<ClassStyles> table = {
        {u"button",
         0xF,
         {{0x0, "BS_PUSHBUTTON"},
          {0x1, "BS_DEFPUSHBUTTON"},
          {0x2, "BS_CHECKBOX"},
          {0x3, "BS_AUTOCHECKBOX"},
          {0x4, "BS_RADIOBUTTON"},
          {0x5, "BS_3STATE"},
          {0x6, "BS_AUTO3STATE"},
          {0x7, "BS_GROUPBOX"},
          {0x9, "BS_AUTORADIOBUTTON"},
          {0xB, "BS_OWNERDRAW"}},
         {{0x20, "BS_LEFTTEXT"},
          {0x80, "BS_BITMAP"},
          {0x2000, "BS_MULTILINE"},
          {0x4000, "BS_NOTIFY"}}},
        {u"static",
         0x1F,
         {{0x0, "SS_LEFT"},
          {0x1, "SS_CENTER"},
          {0x2, "SS_RIGHT"},
          {0x3, "SS_ICON"},
          {0x4, "SS_BLACKRECT"},
          {0x7, "SS_BLACKFRAME"},
          {0x8, "SS_GRAYFRAME"},
          {0xB, "SS_SIMPLE"},
          {0xC, "SS_LEFTNOWORDWRAP"},
          {0xD, "SS_OWNERDRAW"},
          {0xE, "SS_BITMAP"},
          {0x10, "SS_ETCHEDHORZ"},
          {0x11, "SS_ETCHEDVERT"},
          {0x12, "SS_ETCHEDFRAME"}},
         {{0x80, "SS_NOPREFIX"},
          {0x100, "SS_NOTIFY"},
          {0x200, "SS_CENTERIMAGE"},
          {0x1000, "SS_SUNKEN"}}},
        {u"edit",
         0x3,
         {{0x0, "ES_LEFT"}, {0x1, "ES_CENTER"}, {0x2, "ES_RIGHT"}},
         {{0x4, "ES_MULTILINE"},
          {0x8, "ES_UPPERCASE"},
          {0x10, "ES_LOWERCASE"},
          {0x20, "ES_PASSWORD"},
          {0x40, "ES_AUTOVSCROLL"},
          {0x80, "ES_AUTOHSCROLL"},
          {0x100, "ES_NOHIDESEL"},
          {0x800, "ES_READONLY"},
          {0x1000, "ES_WANTRETURN"},
          {0x2000, "ES_NUMBER"}}},
        {u"listbox",
         0,
         {},
         {{0x1, "LBS_NOTIFY"},
          {0x2, "LBS_SORT"},
          {0x4, "LBS_NOREDRAW"},
          {0x8, "LBS_MULTIPLESEL"},
          {0x10, "LBS_OWNERDRAWFIXED"},
          {0x40, "LBS_HASSTRINGS"},
          {0x80, "LBS_USETABSTOPS"},
          {0x100, "LBS_NOINTEGRALHEIGHT"},
          {0x800, "LBS_EXTENDEDSEL"},
          {0x1000, "LBS_DISABLENOSCROLL"}}},
        {u"combobox",
         0x3,
         {{0x1, "CBS_SIMPLE"}, {0x2, "CBS_DROPDOWN"}, {0x3, "CBS_DROPDOWNLIST"}},
         {{0x40, "CBS_AUTOHSCROLL"},
          {0x100, "CBS_SORT"},
          {0x200, "CBS_HASSTRINGS"},
          {0x400, "CBS_NOINTEGRALHEIGHT"}}},
        {u"syslistview32",
         0x3,
         {{0x0, "LVS_ICON"}, {0x1, "LVS_REPORT"}, {0x2, "LVS_SMALLICON"}, {0x3, "LVS_LIST"}},
         {{0x4, "LVS_SINGLESEL"},
          {0x8, "LVS_SHOWSELALWAYS"},
          {0x10, "LVS_SORTASCENDING"},
          {0x20, "LVS_SORTDESCENDING"},
          {0x40, "LVS_SHAREIMAGELISTS"},
          {0x80, "LVS_NOLABELWRAP"},
          {0x200, "LVS_EDITLABELS"},
          {0x4000, "LVS_NOCOLUMNHEADER"},
          {0x8000, "LVS_NOSORTHEADER"}}},
        {u"sysdatetimepick32",
         0xD,
         {{0x0, "DTS_SHORTDATEFORMAT"},
          {0x4, "DTS_LONGDATEFORMAT"},
          {0x9, "DTS_TIMEFORMAT"},
          {0xC, "DTS_SHORTDATECENTURYFORMAT"},
          {0x1, "DTS_UPDOWN"}},
         {{0x2, "DTS_SHOWNONE"}, {0x10, "DTS_APPCANPARSE"}, {0x20, "DTS_RIGHTALIGN"}}},
    };
    return table;
}

const std::vector<Bit> kDialogBits = {
    {0x1, "DS_ABSALIGN"},        {0x2, "DS_SYSMODAL"},       {0x4, "DS_3DLOOK"},
    {0x8, "DS_FIXEDSYS"},        {0x10, "DS_NOFAILCREATE"},  {0x20, "DS_LOCALEDIT"},
    {0x40, "DS_SETFONT"},        {0x80, "DS_MODALFRAME"},    {0x100, "DS_NOIDLEMSG"},
    {0x200, "DS_SETFOREGROUND"}, {0x400, "DS_CONTROL"},      {0x800, "DS_CENTER"},
    {0x1000, "DS_CENTERMOUSE"},  {0x2000, "DS_CONTEXTHELP"},
};

bool sameClass(std::u16string_view a, std::u16string_view lowerCase) {
    if (a.size() != lowerCase.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t c = a[i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
        if (c != lowerCase[i]) {
            return false;
        }
    }
    return true;
}

void append(std::string& out, const char* name) {
    if (!out.empty()) {
        out += '|';
    }
    out += name;
}

void takeFlags(std::string& out, std::uint32_t& rest, const std::vector<Bit>& bits) {
    for (const auto& bit : bits) {
        if ((rest & bit.value) == bit.value) {
            append(out, bit.name);
            rest &= ~bit.value;
        }
    }
}

void appendRest(std::string& out, std::uint32_t rest) {
    if (rest != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", rest);
        append(out, hex);
    }
}

}  // namespace

std::string styleNames(std::u16string_view className, std::uint32_t style) {
    std::string out;
    std::uint32_t rest = style;
    takeFlags(out, rest, kWindowBits);
    std::uint32_t low = rest & 0xFFFF;
    rest &= ~0xFFFFu;
    for (const auto& cls : classStyles()) {
        if (!sameClass(className, cls.className)) {
            continue;
        }
        std::uint32_t type = low & cls.typeMask;
        for (const auto& t : cls.types) {
            if (t.value == type) {
                append(out, t.name);
                low &= ~cls.typeMask;
                break;
            }
        }
        takeFlags(out, low, cls.flags);
        break;
    }
    appendRest(out, rest | low);
    return out;
}

std::string dialogStyleNames(std::uint32_t style) {
    std::string out;
    std::uint32_t rest = style;
    takeFlags(out, rest, kWindowBits);
    takeFlags(out, rest, kDialogBits);
    appendRest(out, rest);
    return out;
}

}  // namespace newsdesk::app
