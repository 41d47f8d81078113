// CString::LoadString: strings come from the first module on the resource
// chain whose string table has the block.
#include "mfc/AfxResource.h"
#include "mfc/CString.h"
#include "win32/Resources.h"

BOOL CString::LoadString(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
    const WCHAR* text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) {
        m_s.clear();
        return FALSE;
    }
    m_s.assign(text, static_cast<size_t>(length));
    return TRUE;
}
