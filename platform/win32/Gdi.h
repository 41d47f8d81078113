// Drawing objects and recording device contexts. Nothing is rasterised:
// a device context records each drawing call with the state it was made in,
// so that a test (or a front end) can ask what a window painted. Bitmaps
// and image lists keep real pixels.
#pragma once

#include "win32/windows.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    LPVOID bmBits = nullptr;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
};

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_SINGLELINE = 0x20;

struct LOGFONTW {
    LONG lfHeight = 0;  // negative: character height in pixels
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 400;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 1;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    WCHAR lfFaceName[32] = {};
};
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Fonts are names and sizes only: nothing is rasterised.
HFONT CreateFontIndirectW(const LOGFONTW* font);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HGDIOBJ GetStockObject(int which);
BOOL DeleteObject(HGDIOBJ object);
// Fills a BITMAP for a bitmap, a LOGFONTW for a font; 0 for anything else.
int GetObjectW(HGDIOBJ object, int size, LPVOID out);
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length);
int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker,
                UINT flags);

// The icon of an icon resource (the 32-pixel image when the group has one);
// null when missing or not readable. DestroyIcon frees it.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
// Cuts the bitmap into cells of the list's width; pixels of the mask colour
// become transparent. The index of the first image added, -1 on failure.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);

namespace nd::win32 {

// A bitmap's pixels, top row first; each pixel a COLORREF (0x00BBGGRR), or
// CLR_NONE where an image-list image is transparent.
struct BitmapData {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// Decodes a device-independent bitmap (BITMAPINFOHEADER, colour table, bits),
// as stored in a bitmap resource; nullopt when it is malformed or of a kind
// not read (compressed, or sizes beyond 16384 pixels).
std::optional<BitmapData> decodeDib(const void* data, size_t size);
HBITMAP createBitmap(BitmapData data);
const BitmapData* bitmapData(HBITMAP bitmap);
// The pixels of an icon from LoadIconW; null for anything else.
const BitmapData* iconBitmap(HICON icon);

enum class DrawKind {
    RoundRect,
    Rectangle,
    FillRect,
    FrameRect,
    Text,
    Bitmap,
    ImageListIcon,
    Icon
};

// One recorded drawing call and the device-context state it was made in.
struct DrawRecord {
    DrawKind kind = DrawKind::Rectangle;
    RECT rect;  // in the window's client coordinates
    int cornerWidth = 0;
    int cornerHeight = 0;
    COLORREF penColor = CLR_NONE;    // CLR_NONE: no pen (or not used)
    COLORREF brushColor = CLR_NONE;  // fill colour; CLR_NONE: hollow
    COLORREF textColor = 0;
    COLORREF backColor = 0;
    int backMode = OPAQUE;
    std::u16string text;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;  // the font selected for text; null for the system font
    HIMAGELIST imageList = nullptr;
    int imageIndex = -1;
    UINT format = 0;  // the DT_ flags of DrawTextW (0 for TextOutW)
};

// What the window drew in its last paint (BeginPaint clears it; GetDC
// drawing adds to it).
const std::vector<DrawRecord>& paintRecords(HWND window);
// The colour of a brush / pen; CLR_NONE for a hollow one or a non-brush.
COLORREF brushColor(HBRUSH brush);
COLORREF penColor(HPEN pen);
// True while the handle names a live drawing object of any kind.
bool isGdiObject(HGDIOBJ object);
// The image of an image list as a bitmap's pixels (CLR_NONE = transparent).
std::optional<BitmapData> imageListImage(HIMAGELIST list, int index);

}  // namespace nd::win32
