#include "win32/Dialog.h"
#include "win32/DialogTemplate.h"
#include "win32/Gdi.h"
#include "win32/Window.h"

#include "support/DialogBuilder.h"

#include <gtest/gtest.h>

namespace {

ndtest::DialogBuilder sample() {
    ndtest::DialogBuilder b(u"Sample", 200, 100);
    b.font(8, u"MS Shell Dlg")
        .control(u"#0081", u"", 1000, 10, 10, 100, 12, WS_TABSTOP | ES_AUTOHSCROLL)
        .control(u"#0083", u"", 1001, 10, 30, 80, 40, WS_TABSTOP | LBS_SORT | LBS_NOTIFY)
        .control(u"SysListView32", u"", 1002, 100, 30, 90, 40, LVS_REPORT)
        .control(u"#0080", u"OK", IDOK, 140, 80, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
    return b;
}

}  // namespace

TEST(DialogTemplate, EveryTruncationIsRejectedWithoutReadingPastTheEnd) {
    auto bytes = sample().bytes();
    for (size_t n = 0; n < bytes.size() - 2; ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(nd::win32::parseDialogTemplate(cut.data(), cut.size())) << "length " << n;
    }
}

TEST(DialogTemplate, AnItemCountBeyondTheDataIsRejected) {
    auto bytes = sample().bytes();
    bytes[16] = 0xFF;  // cDlgItems
    bytes[17] = 0x7F;
    EXPECT_FALSE(nd::win32::parseDialogTemplate(bytes.data(), bytes.size()));
}

TEST(DialogTemplate, CreatesEveryControlWithItsClassIdTextStyleAndPixelRectangle) {
    auto bytes = sample().bytes();
    HWND dlg = CreateDialogIndirectParamW(nullptr, bytes.data(), nullptr, nullptr, 0);
    ASSERT_TRUE(dlg);
    // 8 pt: 6 x 13 base units, so 4 dialog units across are 6 pixels, 8 down are 13.
    RECT r;
    GetClientRect(dlg, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 163);
    HWND edit = GetDlgItem(dlg, 1000);
    ASSERT_TRUE(edit);
    EXPECT_EQ(nd::win32::className(edit), u"Edit");
    RECT er;
    GetWindowRect(edit, &er);
    POINT tl{er.left, er.top};
    ScreenToClient(dlg, &tl);
    EXPECT_EQ(tl.x, 15);
    EXPECT_EQ(tl.y, 16);
    EXPECT_EQ(er.right - er.left, 150);
    EXPECT_EQ(er.bottom - er.top, 20);
    EXPECT_EQ(nd::win32::windowText(GetDlgItem(dlg, IDOK)), u"OK");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(dlg, 1001), GWL_STYLE) & LBS_SORT);
    EXPECT_EQ(nd::win32::className(GetDlgItem(dlg, 1002)), u"SysListView32");
    RECT units{0, 0, 4, 8};
    MapDialogRect(dlg, &units);
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 13);
    DestroyWindow(dlg);
}

TEST(DialogTemplate, AnUnknownControlClassFailsTheWholeDialog) {
    ndtest::DialogBuilder b(u"Bad", 100, 50);
    b.control(u"NoSuchClass", u"", 5, 0, 0, 10, 10, 0);
    auto bytes = b.bytes();
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, bytes.data(), nullptr, nullptr, 0), nullptr);
    EXPECT_TRUE(nd::win32::topLevelWindows().empty()) << "nothing is left behind";
}

TEST(DialogTemplate, TheTemplatesFontReachesEveryControlAndTheirDrawing) {
    auto bytes = sample().bytes();
    HWND dlg = CreateDialogIndirectParamW(nullptr, bytes.data(), nullptr, nullptr, 0);
    ASSERT_TRUE(dlg);
    auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dlg, 1000), WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0)), font);
    LOGFONTW lf;
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"MS Shell Dlg");
    EXPECT_EQ(lf.lfHeight, -11) << "8 points at 96 dots per inch";
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(GetDlgItem(dlg, IDOK));
    const auto& drawn = nd::win32::paintRecords(GetDlgItem(dlg, IDOK));
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().text, u"OK");
    EXPECT_EQ(drawn.back().font, font);
    DestroyWindow(dlg);
    EXPECT_FALSE(nd::win32::isGdiObject(font)) << "the dialog's font goes with it";
}

namespace {

// A classic (not extended) template: style before extended style, in the
// header and in every item, and 16-bit item ids.
std::vector<BYTE> classicTemplate() {
    std::vector<BYTE> out;
    auto put = [&](auto v) {
        const auto* p = reinterpret_cast<const BYTE*>(&v);
        out.insert(out.end(), p, p + sizeof v);
    };
    auto text = [&](std::u16string_view s) {
        for (char16_t c : s) {
            put(static_cast<WORD>(c));
        }
        put(static_cast<WORD>(0));
    };
    put(static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_SETFONT));
    put(static_cast<DWORD>(WS_EX_CONTROLPARENT));
    put(static_cast<WORD>(2));
    for (short v : {0, 0, 160, 80}) {
        put(v);
    }
    put(static_cast<WORD>(0));  // no menu
    put(static_cast<WORD>(0));  // the dialog class
    text(u"Classic");
    put(static_cast<WORD>(9));
    text(u"MS Shell Dlg");
    struct Item {
        DWORD style;
        DWORD exStyle;
        WORD id;
        WORD atom;
        const char16_t* title;
    };
    const Item items[] = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 1000, 0x81, u""},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, 0x80, u"OK"},
    };
    for (const auto& item : items) {
        while (out.size() % 4) {
            out.push_back(0);
        }
        put(item.style);
        put(item.exStyle);
        for (short v : {5, 5, 100, 12}) {
            put(v);
        }
        put(item.id);
        put(static_cast<WORD>(0xFFFF));
        put(item.atom);
        text(item.title);
        put(static_cast<WORD>(0));  // no creation data
    }
    return out;
}

}  // namespace

TEST(DialogTemplate, AClassicTemplateReadsStyleBeforeExtendedStyle) {
    auto bytes = classicTemplate();
    auto t = nd::win32::parseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->extended);
    EXPECT_EQ(t->style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(t->exStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ(t->pointSize, 9);
    EXPECT_EQ(t->typeface, u"MS Shell Dlg");
    ASSERT_EQ(t->items.size(), 2u);
    EXPECT_EQ(t->items[0].style,
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL));
    EXPECT_EQ(t->items[0].exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(t->items[0].id, 1000u);
    EXPECT_EQ(t->items[1].className, u"Button");
    EXPECT_EQ(t->items[1].title.text, u"OK");

    HWND dialog = CreateDialogIndirectParamW(nullptr, bytes.data(), nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, 1000);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK,
              static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
    DestroyWindow(dialog);
}
