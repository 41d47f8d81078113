#include "mfc/CImageList.h"

#include "mfc/CDC.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList ? TRUE : FALSE;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) {
        return FALSE;
    }
    ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
    if (!bitmap) {
        return -1;
    }
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject), mask);
}

int CImageList::GetImageCount() const {
    return ImageList_GetImageCount(m_hImageList);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT pt, UINT style) {
    return dc ? ImageList_Draw(m_hImageList, image, dc->m_hDC, pt.x, pt.y, style) : FALSE;
}
