#include "mfc/CDC.h"

#include "mfc/CWnd.h"

#include <map>
#include <memory>
#include <utility>

CDC::~CDC() {
    if (m_owned && m_hDC) {
        ::DeleteDC(m_hDC);
    }
}

BOOL CDC::Attach(HDC dc) {
    if (!dc) {
        return FALSE;
    }
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    m_owned = false;
    return std::exchange(m_hDC, nullptr);
}

CDC* CDC::FromHandle(HDC dc) {
    if (!dc) {
        return nullptr;
    }
    static auto* map = new std::map<HDC, std::unique_ptr<CDC>>;
    auto& slot = (*map)[dc];
    if (!slot) {
        slot = std::make_unique<CDC>();
    }
    slot->m_hDC = dc;
    return slot.get();
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_owned = m_hDC != nullptr;
    return m_owned ? TRUE : FALSE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) {
        return FALSE;
    }
    BOOL r = m_owned ? ::DeleteDC(m_hDC) : TRUE;
    m_hDC = nullptr;
    m_owned = false;
    return r;
}

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)))
               : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)))
                 : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap
               ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)))
               : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)))
                : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject)) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}

int CDC::SetBkMode(int mode) {
    return ::SetBkMode(m_hDC, mode);
}

int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT rect, POINT corner) {
    return rect ? RoundRect(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y)
                : FALSE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT rect) {
    return rect ? Rectangle(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (brush) {
        ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
    }
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    if (brush) {
        ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
    }
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return ::TextOutW(m_hDC, x, y, text.GetString(), text.GetLength());
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return ::DrawTextW(m_hDC, text.GetString(), text.GetLength(), rect, format);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
