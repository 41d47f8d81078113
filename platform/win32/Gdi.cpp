#include "win32/Gdi.h"

#include "win32/Window.h"
#include "win32/WindowObserver.h"
#include "win32/WindowTree.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

namespace {

using nd::win32::BitmapData;
using nd::win32::DrawKind;
using nd::win32::DrawRecord;

enum class Kind { Brush, Pen, Bitmap, Font, Dc, ImageList };

struct Object {
    Kind kind;
    bool stock = false;
    COLORREF color = CLR_NONE;  // brush and pen
    int width = 1;
    BitmapData bitmap;
    LOGFONTW logFont;
    // Device contexts.
    HWND window = nullptr;
    bool memory = false;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ selectedBitmap = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColor = 0;
    COLORREF backColor = RGB(255, 255, 255);
    int backMode = OPAQUE;
    // Image lists.
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    std::vector<BitmapData> images;
};

class Records : public nd::win32::WindowObserver {
  public:
    void windowChanged(HWND window, nd::win32::WindowChange change) override {
        if (change == nd::win32::WindowChange::Destroyed) {
            byWindow.erase(window);
        }
    }
    std::map<HWND, std::vector<DrawRecord>> byWindow;
};

struct Store {
    std::map<void*, std::unique_ptr<Object>> objects;
    std::map<int, HGDIOBJ> stock;
    Records records;
    Store() { nd::win32::addWindowObserver(&records); }
};

Store& store() {
    static Store* s = new Store;
    return *s;
}

Object* get(HGDIOBJ h, Kind kind) {
    auto it = store().objects.find(h);
    return it != store().objects.end() && it->second->kind == kind ? it->second.get() : nullptr;
}

Object* any(HGDIOBJ h) {
    auto it = store().objects.find(h);
    return it != store().objects.end() ? it->second.get() : nullptr;
}

HGDIOBJ add(std::unique_ptr<Object> o) {
    void* h = o.get();
    store().objects[h] = std::move(o);
    return h;
}

std::unique_ptr<Object> make(Kind kind) {
    auto o = std::make_unique<Object>();
    o->kind = kind;
    return o;
}

HDC makeDc(HWND window, bool memory) {
    auto dc = make(Kind::Dc);
    dc->window = window;
    dc->memory = memory;
    dc->pen = GetStockObject(BLACK_PEN);
    dc->brush = GetStockObject(WHITE_BRUSH);
    return static_cast<HDC>(add(std::move(dc)));
}

void record(HDC dc, DrawRecord r) {
    Object* d = get(dc, Kind::Dc);
    if (!d || !d->window) {
        return;
    }
    r.textColor = d->textColor;
    if (!r.font && get(d->font, Kind::Font) && !get(d->font, Kind::Font)->stock) {
        r.font = static_cast<HFONT>(d->font);
    }
    r.backColor = d->backColor;
    r.backMode = d->backMode;
    store().records.byWindow[d->window].push_back(std::move(r));
    nd::win32::announce(d->window, nd::win32::WindowChange::Painted);
}

DrawRecord rec(DrawKind kind, RECT rect) {
    DrawRecord r;
    r.kind = kind;
    r.rect = rect;
    return r;
}

COLORREF currentPen(Object* d) {
    Object* p = get(d->pen, Kind::Pen);
    return p ? p->color : CLR_NONE;
}

COLORREF currentBrush(Object* d) {
    Object* b = get(d->brush, Kind::Brush);
    return b ? b->color : CLR_NONE;
}

}  // namespace

namespace nd::win32 {

HBITMAP createBitmap(BitmapData data) {
    auto o = make(Kind::Bitmap);
    o->bitmap = std::move(data);
    return static_cast<HBITMAP>(add(std::move(o)));
}

const BitmapData* bitmapData(HBITMAP bitmap) {
    Object* o = get(bitmap, Kind::Bitmap);
    return o ? &o->bitmap : nullptr;
}

const std::vector<DrawRecord>& paintRecords(HWND window) {
    static const std::vector<DrawRecord> none;
    auto it = store().records.byWindow.find(window);
    return it == store().records.byWindow.end() ? none : it->second;
}

COLORREF brushColor(HBRUSH brush) {
    Object* o = get(brush, Kind::Brush);
    return o ? o->color : CLR_NONE;
}

COLORREF penColor(HPEN pen) {
    Object* o = get(pen, Kind::Pen);
    return o ? o->color : CLR_NONE;
}

bool isGdiObject(HGDIOBJ object) {
    return any(object) != nullptr;
}

std::optional<BitmapData> imageListImage(HIMAGELIST list, int index) {
    Object* o = get(list, Kind::ImageList);
    if (!o || index < 0 || static_cast<size_t>(index) >= o->images.size()) {
        return std::nullopt;
    }
    return o->images[static_cast<size_t>(index)];
}

}  // namespace nd::win32

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) {
        return nullptr;
    }
    auto o = make(Kind::Font);
    o->logFont = *font;
    o->logFont.lfFaceName[31] = 0;
    return static_cast<HFONT>(add(std::move(o)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto o = make(Kind::Brush);
    o->color = color & 0xFFFFFF;
    return static_cast<HBRUSH>(add(std::move(o)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto o = make(Kind::Pen);
    o->color = style == PS_NULL ? CLR_NONE : (color & 0xFFFFFF);
    o->width = width;
    return static_cast<HPEN>(add(std::move(o)));
}

HGDIOBJ GetStockObject(int which) {
    auto& s = store();
    if (auto it = s.stock.find(which); it != s.stock.end()) {
        return it->second;
    }
    std::unique_ptr<Object> o;
    switch (which) {
        case WHITE_BRUSH:
            o = make(Kind::Brush);
            o->color = RGB(255, 255, 255);
            break;
        case BLACK_BRUSH:
            o = make(Kind::Brush);
            o->color = 0;
            break;
        case NULL_BRUSH:
            o = make(Kind::Brush);
            break;
        case WHITE_PEN:
            o = make(Kind::Pen);
            o->color = RGB(255, 255, 255);
            break;
        case BLACK_PEN:
            o = make(Kind::Pen);
            o->color = 0;
            break;
        case NULL_PEN:
            o = make(Kind::Pen);
            break;
        case DEFAULT_GUI_FONT:
            o = make(Kind::Font);
            break;
        default:
            return nullptr;
    }
    o->stock = true;
    HGDIOBJ h = add(std::move(o));
    s.stock[which] = h;
    return h;
}

BOOL DeleteObject(HGDIOBJ object) {
    Object* o = any(object);
    if (!o || o->kind == Kind::Dc || o->kind == Kind::ImageList) {
        return FALSE;
    }
    if (o->stock) {
        return TRUE;
    }
    store().objects.erase(object);
    return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID out) {
    if (Object* f = get(object, Kind::Font)) {
        if (!out || size < static_cast<int>(sizeof(LOGFONTW))) {
            return 0;
        }
        std::memcpy(out, &f->logFont, sizeof(LOGFONTW));
        return sizeof(LOGFONTW);
    }
    Object* o = get(object, Kind::Bitmap);
    if (!o || !out || size < static_cast<int>(sizeof(BITMAP))) {
        return 0;
    }
    BITMAP b;
    b.bmWidth = o->bitmap.width;
    b.bmHeight = o->bitmap.height;
    b.bmWidthBytes = o->bitmap.width * 4;
    std::memcpy(out, &b, sizeof b);
    return sizeof(BITMAP);
}

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return 0;
        case COLOR_BTNFACE:
        default:
            return RGB(240, 240, 240);
    }
}

HBRUSH GetSysColorBrush(int index) {
    static std::map<int, HBRUSH>* brushes = new std::map<int, HBRUSH>;
    auto& b = (*brushes)[index];
    if (!b) {
        b = CreateSolidBrush(GetSysColor(index));
        get(b, Kind::Brush)->stock = true;
    }
    return b;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT, const void*) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        return nullptr;
    }
    BitmapData d;
    d.width = width;
    d.height = height;
    d.pixels.assign(static_cast<size_t>(width) * height, 0);
    return nd::win32::createBitmap(std::move(d));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    return CreateBitmap(width, height, 1, 32, nullptr);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    auto* w = nd::win32::detail::find(window);
    if (!w) {
        return nullptr;
    }
    w->invalid = false;
    store().records.byWindow[window].clear();
    HDC dc = makeDc(window, false);
    // The background is erased first, by the window's own answer.
    BOOL erased =
        static_cast<BOOL>(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    if (paint) {
        paint->hdc = dc;
        paint->fErase = erased ? FALSE : TRUE;
        GetClientRect(window, &paint->rcPaint);
    }
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint) {
        DeleteDC(paint->hdc);
    }
    return TRUE;
}

HDC GetDC(HWND window) {
    if (window && !IsWindow(window)) {
        return nullptr;
    }
    return makeDc(window, false);
}

int ReleaseDC(HWND, HDC dc) {
    return DeleteDC(dc);
}

HDC CreateCompatibleDC(HDC) {
    return makeDc(nullptr, true);
}

BOOL DeleteDC(HDC dc) {
    if (!get(dc, Kind::Dc)) {
        return FALSE;
    }
    store().objects.erase(dc);
    return TRUE;
}

HWND WindowFromDC(HDC dc) {
    Object* d = get(dc, Kind::Dc);
    return d ? d->window : nullptr;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    Object* d = get(dc, Kind::Dc);
    Object* o = any(object);
    if (!d || !o) {
        return nullptr;
    }
    switch (o->kind) {
        case Kind::Pen:
            return std::exchange(d->pen, object);
        case Kind::Brush:
            return std::exchange(d->brush, object);
        case Kind::Bitmap:
            return std::exchange(d->selectedBitmap, object);
        case Kind::Font:
            return std::exchange(d->font, object);
        default:
            return nullptr;
    }
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    Object* d = get(dc, Kind::Dc);
    return d ? std::exchange(d->textColor, color) : CLR_INVALID;
}

COLORREF GetTextColor(HDC dc) {
    Object* d = get(dc, Kind::Dc);
    return d ? d->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    Object* d = get(dc, Kind::Dc);
    return d ? std::exchange(d->backColor, color) : CLR_INVALID;
}

COLORREF GetBkColor(HDC dc) {
    Object* d = get(dc, Kind::Dc);
    return d ? d->backColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    Object* d = get(dc, Kind::Dc);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    return std::exchange(d->backMode, mode);
}

int GetBkMode(HDC dc) {
    Object* d = get(dc, Kind::Dc);
    return d ? d->backMode : 0;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    Object* d = get(dc, Kind::Dc);
    if (!d) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::RoundRect, RECT{left, top, right, bottom});
    r.cornerWidth = width;
    r.cornerHeight = height;
    r.penColor = currentPen(d);
    r.brushColor = currentBrush(d);
    record(dc, std::move(r));
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    Object* d = get(dc, Kind::Dc);
    if (!d) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::Rectangle, RECT{left, top, right, bottom});
    r.penColor = currentPen(d);
    r.brushColor = currentBrush(d);
    record(dc, std::move(r));
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!get(dc, Kind::Dc) || !rect || !get(brush, Kind::Brush)) {
        return 0;
    }
    DrawRecord r = rec(DrawKind::FillRect, *rect);
    r.brushColor = nd::win32::brushColor(brush);
    record(dc, std::move(r));
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!get(dc, Kind::Dc) || !rect || !get(brush, Kind::Brush)) {
        return 0;
    }
    DrawRecord r = rec(DrawKind::FrameRect, *rect);
    r.penColor = nd::win32::brushColor(brush);
    record(dc, std::move(r));
    return 1;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    if (!get(dc, Kind::Dc) || !text || length < 0) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::Text, RECT{x, y, x, y});
    r.text.assign(text, static_cast<size_t>(length));
    record(dc, std::move(r));
    return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
    if (!get(dc, Kind::Dc) || !text || !rect) {
        return 0;
    }
    DrawRecord r = rec(DrawKind::Text, *rect);
    r.format = format;
    r.text = length < 0 ? std::u16string(text) : std::u16string(text, static_cast<size_t>(length));
    record(dc, std::move(r));
    return 1;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int, int, DWORD) {
    Object* s = get(source, Kind::Dc);
    if (!get(dest, Kind::Dc) || !s) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::Bitmap, RECT{x, y, x + width, y + height});
    r.bitmap = static_cast<HBITMAP>(s->selectedBitmap);
    record(dest, std::move(r));
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT) {
    if (!get(dc, Kind::Dc) || !icon) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::Icon, RECT{x, y, x + width, y + height});
    record(dc, std::move(r));
    return TRUE;
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) {
        return nullptr;
    }
    auto o = make(Kind::ImageList);
    o->cx = cx;
    o->cy = cy;
    o->flags = flags;
    return static_cast<HIMAGELIST>(add(std::move(o)));
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    if (!get(list, Kind::ImageList)) {
        return FALSE;
    }
    store().objects.erase(list);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    Object* o = get(list, Kind::ImageList);
    return o ? static_cast<int>(o->images.size()) : 0;
}

namespace {

int addCells(Object* list, const BitmapData& bmp, std::optional<COLORREF> mask) {
    if (bmp.width < list->cx || bmp.height < list->cy) {
        return -1;
    }
    int first = static_cast<int>(list->images.size());
    int cells = bmp.width / list->cx;
    for (int c = 0; c < cells; ++c) {
        BitmapData cell;
        cell.width = list->cx;
        cell.height = list->cy;
        cell.pixels.resize(static_cast<size_t>(list->cx) * list->cy);
        for (int y = 0; y < list->cy; ++y) {
            for (int x = 0; x < list->cx; ++x) {
                COLORREF p = bmp.at(c * list->cx + x, y);
                if (mask && (list->flags & ILC_MASK) && p == (*mask & 0xFFFFFF)) {
                    p = CLR_NONE;
                }
                cell.pixels[static_cast<size_t>(y) * list->cx + x] = p;
            }
        }
        list->images.push_back(std::move(cell));
    }
    return first;
}

}  // namespace

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
    Object* o = get(list, Kind::ImageList);
    const BitmapData* b = nd::win32::bitmapData(bitmap);
    if (!o || !b) {
        return -1;
    }
    return addCells(o, *b, mask);
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP) {
    Object* o = get(list, Kind::ImageList);
    const BitmapData* b = nd::win32::bitmapData(image);
    if (!o || !b) {
        return -1;
    }
    return addCells(o, *b, std::nullopt);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT) {
    Object* o = get(list, Kind::ImageList);
    if (!o || !get(dc, Kind::Dc) || index < 0 || static_cast<size_t>(index) >= o->images.size()) {
        return FALSE;
    }
    DrawRecord r = rec(DrawKind::ImageListIcon, RECT{x, y, x + o->cx, y + o->cy});
    r.imageList = list;
    r.imageIndex = index;
    record(dc, std::move(r));
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    Object* o = get(list, Kind::ImageList);
    if (!o) {
        return FALSE;
    }
    if (cx) {
        *cx = o->cx;
    }
    if (cy) {
        *cy = o->cy;
    }
    return TRUE;
}
