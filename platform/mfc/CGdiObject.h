// The framework's drawing objects: each owns its handle and deletes it when
// destroyed, unless it was only wrapped (FromHandle) or detached.
#pragma once

#include "win32/Gdi.h"
#include "win32/windows.h"

class CGdiObject {
  public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    // A wrapper that never deletes the handle; lives as long as the process.
    static CGdiObject* FromHandle(HGDIOBJ h);
};

class CBrush : public CGdiObject {
  public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH h);
};

class CPen : public CGdiObject {
  public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN h);
};

class CFont : public CGdiObject {
  public:
    // pointSize in tenths of a point, as the framework takes it.
    BOOL CreatePointFont(int pointSize, LPCWSTR faceName, HDC dc = nullptr);
    BOOL CreateFontIndirect(const LOGFONTW* font);
    int GetLogFont(LOGFONTW* out) const { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), out); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT h);
};

class CBitmap : public CGdiObject {
  public:
    // The bitmap resource `id` from the first module on the resource chain
    // that has it; FALSE when none does or it cannot be read.
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCWSTR name);
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height);
    int GetBitmap(BITMAP* out) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP h);
};
