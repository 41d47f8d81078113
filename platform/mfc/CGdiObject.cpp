#include "mfc/CGdiObject.h"

#include "mfc/AfxResource.h"
#include "win32/Resources.h"
#include "win32/Window.h"

#include <algorithm>
#include <string>

#include <map>
#include <memory>
#include <utility>

namespace {

template <typename T>
T* wrapper(HGDIOBJ h) {
    if (!h) {
        return nullptr;
    }
    // Wrappers are kept per type and handle; they only borrow the handle.
    static auto* map = new std::map<HGDIOBJ, std::unique_ptr<T>>;
    auto& slot = (*map)[h];
    if (!slot) {
        slot = std::make_unique<T>();
    }
    slot->m_hObject = nullptr;  // never owned: the map's copy must not delete
    slot->Attach(h);
    return slot.get();
}

}  // namespace

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (!h) {
        return FALSE;
    }
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) {
    return wrapper<CGdiObject>(h);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    DeleteObject();
    return Attach(::CreateSolidBrush(color));
}

CBrush* CBrush::FromHandle(HBRUSH h) {
    return wrapper<CBrush>(h);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    DeleteObject();
    return Attach(::CreatePen(style, width, color));
}

CPen* CPen::FromHandle(HPEN h) {
    return wrapper<CPen>(h);
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName, HDC) {
    LOGFONTW lf;
    lf.lfHeight = -MulDiv(pointSize, 96, 720);
    std::u16string face(faceName ? faceName : u"");
    face.resize(std::min<size_t>(face.size(), 31));
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) {
    DeleteObject();
    return Attach(::CreateFontIndirectW(font));
}

CFont* CFont::FromHandle(HFONT h) {
    return wrapper<CFont>(h);
}

BOOL CBitmap::LoadBitmap(UINT id) {
    return LoadBitmap(MAKEINTRESOURCEW(id));
}

BOOL CBitmap::LoadBitmap(LPCWSTR name) {
    DeleteObject();
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    return Attach(::LoadBitmapW(module, name));
}

BOOL CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    DeleteObject();
    return Attach(::CreateCompatibleBitmap(dc, width, height));
}

int CBitmap::GetBitmap(BITMAP* out) const {
    return ::GetObjectW(m_hObject, sizeof(BITMAP), out);
}

CBitmap* CBitmap::FromHandle(HBITMAP h) {
    return wrapper<CBitmap>(h);
}
