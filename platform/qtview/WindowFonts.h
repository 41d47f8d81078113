// The fonts and pictures of the window system as Qt sees them.
#pragma once

#include "win32/Gdi.h"
#include "win32/windows.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <string_view>

namespace nd::qtview {

// The family used for Windows faces this machine lacks ("MS Shell Dlg",
// "ＭＳ Ｐゴシック" ...): one that has the Japanese glyphs, IPA P Gothic
// where it is installed.
QString fallbackFamily();
// A window-system font as a Qt font of the same pixel height, weight and
// slant; the application's default font for a null or unknown handle.
QFont qtFont(HFONT font);
// The font a window draws with: its WM_GETFONT answer, else its dialog's.
QFont windowFont(HWND window);

// Bitmap pixels (0x00BBGGRR, CLR_NONE transparent) as an ARGB image.
QImage qtImage(const nd::win32::BitmapData& data);
// A bitmap handle's picture; a null image when the handle holds none.
QImage bitmapImage(HBITMAP bitmap);

QString qtText(std::u16string_view text);
std::u16string windowsText(const QString& text);
// A control caption with its '&' prefix marks removed ("&&" stays one '&').
QString withoutMnemonics(std::u16string_view text);
// A colour reference as a Qt colour.
QColor qtColor(COLORREF color);

}  // namespace nd::qtview
