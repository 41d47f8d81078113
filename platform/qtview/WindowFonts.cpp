#include "qtview/WindowFonts.h"

#include "win32/Window.h"

#include <QApplication>
#include <QFontDatabase>

namespace nd::qtview {

QString fallbackFamily() {
    static const QString family = [] {
        // IPA P Gothic first: its proportional widths are close to the
        // Japanese UI font the templates were laid out for, so their
        // captions fit; Noto's wider Latin letters cut many of them short.
        for (const char* name :
             {"IPAPGothic", "Noto Sans CJK JP", "Noto Sans JP", "Noto Sans CJK"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(name))) {
                return QString::fromLatin1(name);
            }
        }
        return QApplication::font().family();
    }();
    return family;
}

QFont qtFont(HFONT font) {
    LOGFONTW lf;
    if (!font || GetObjectW(font, sizeof lf, &lf) != static_cast<int>(sizeof lf)) {
        QFont f = QApplication::font();
        f.setFamily(fallbackFamily());
        return f;
    }
    std::u16string_view faceName(lf.lfFaceName);
    faceName = faceName.substr(0, faceName.find(u'\0'));
    QString face = qtText(faceName);
    QFont f(face.isEmpty() || !QFontDatabase::hasFamily(face) ? fallbackFamily() : face);
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    f.setPixelSize(height > 0 ? height : 12);
    f.setWeight(lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    return f;
}

QFont windowFont(HWND window) {
    for (HWND h = window; h; h = GetParent(h)) {
        if (auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0))) {
            return qtFont(font);
        }
        if (!(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) {
            break;
        }
    }
    return qtFont(nullptr);
}

QImage qtImage(const nd::win32::BitmapData& data) {
    QImage image(data.width, data.height, QImage::Format_ARGB32);
    for (int y = 0; y < data.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < data.width; ++x) {
            COLORREF c = data.at(x, y);
            line[x] =
                c == CLR_NONE ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    return image;
}

QImage bitmapImage(HBITMAP bitmap) {
    const auto* data = nd::win32::bitmapData(bitmap);
    return data ? qtImage(*data) : QImage();
}

QString qtText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string windowsText(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
}

QString withoutMnemonics(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;  // "&&" is a literal ampersand; "&x" underlines x
        }
        out.push_back(text[i]);
    }
    return qtText(out);
}

QColor qtColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

}  // namespace nd::qtview
