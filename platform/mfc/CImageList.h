// The framework's image list: owns its list and destroys it when destroyed.
#pragma once

#include "mfc/CGdiObject.h"
#include "win32/windows.h"

class CDC;

class CImageList {
  public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    // Adds the bitmap's cells; pixels of the mask colour become transparent.
    // The index of the first image added, -1 on failure.
    int Add(CBitmap* bitmap, COLORREF mask);
    int GetImageCount() const;
    BOOL Draw(CDC* dc, int image, POINT pt, UINT style);
};
