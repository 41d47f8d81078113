// Builds dialog templates in memory in the DLGTEMPLATEEX layout, so that a
// test can make its own small dialogs without a resource compiler.
#pragma once

#include "win32/windows.h"

#include <cstring>
#include <string>
#include <vector>

namespace ndtest {

class DialogBuilder {
  public:
    DialogBuilder(std::u16string title, short cx, short cy,
                  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT)
        : m_title(std::move(title)), m_cx(cx), m_cy(cy), m_style(style | DS_SETFONT) {}

    DialogBuilder& font(WORD points, std::u16string face) {
        m_points = points;
        m_face = std::move(face);
        return *this;
    }
    // cls: a class name, or one of the predefined atoms given as u"#0080" etc.
    DialogBuilder& control(std::u16string cls, std::u16string text, DWORD id, short x, short y,
                           short cx, short cy, DWORD style) {
        m_items.push_back(
            Item{std::move(cls), std::move(text), id, x, y, cx, cy, style | WS_CHILD | WS_VISIBLE});
        return *this;
    }

    std::vector<BYTE> bytes() const {
        std::vector<BYTE> out;
        put<WORD>(out, 1);
        put<WORD>(out, 0xFFFF);
        put<DWORD>(out, 0);
        put<DWORD>(out, 0);  // no extended style
        put<DWORD>(out, m_style);
        put<WORD>(out, static_cast<WORD>(m_items.size()));
        put<short>(out, 0);
        put<short>(out, 0);
        put<short>(out, m_cx);
        put<short>(out, m_cy);
        put<WORD>(out, 0);  // no menu
        put<WORD>(out, 0);  // the dialog class
        text(out, m_title);
        put<WORD>(out, m_points);
        put<WORD>(out, 400);
        put<BYTE>(out, 0);
        put<BYTE>(out, 1);
        text(out, m_face);
        for (const auto& item : m_items) {
            while (out.size() % 4) {
                out.push_back(0);
            }
            put<DWORD>(out, 0);
            put<DWORD>(out, 0);
            put<DWORD>(out, item.style);
            put<short>(out, item.x);
            put<short>(out, item.y);
            put<short>(out, item.cx);
            put<short>(out, item.cy);
            put<DWORD>(out, item.id);
            if (item.cls.size() == 5 && item.cls[0] == u'#') {
                put<WORD>(out, 0xFFFF);
                put<WORD>(out,
                          static_cast<WORD>(std::stoi(
                              std::string(item.cls.begin() + 1, item.cls.end()), nullptr, 16)));
            } else {
                text(out, item.cls);
            }
            text(out, item.text);
            put<WORD>(out, 0);
        }
        return out;
    }

  private:
    struct Item {
        std::u16string cls;
        std::u16string text;
        DWORD id;
        short x, y, cx, cy;
        DWORD style;
    };
    template <typename T>
    static void put(std::vector<BYTE>& out, T v) {
        BYTE b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        out.insert(out.end(), b, b + sizeof(T));
    }
    static void text(std::vector<BYTE>& out, const std::u16string& s) {
        for (char16_t c : s) {
            put<char16_t>(out, c);
        }
        put<char16_t>(out, 0);
    }

    std::u16string m_title;
    short m_cx;
    short m_cy;
    DWORD m_style;
    WORD m_points = 9;
    std::u16string m_face = u"MS Shell Dlg";
    std::vector<Item> m_items;
};

}  // namespace ndtest
