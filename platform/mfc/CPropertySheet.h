// A property sheet: a tab control over its pages. Created modeless as a child
// of a dialog (Create) it has no buttons of its own; pages are created when
// they are first shown.
#pragma once

#include "mfc/CPropertyPage.h"
#include "mfc/CTabCtrl.h"
#include "mfc/CWnd.h"

#include <cstdint>
#include <vector>

constexpr int AFX_IDC_TAB_CONTROL = 0x3020;

class CPropertySheet : public CWnd {
  public:
    CPropertySheet() = default;
    explicit CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Brings a page to the front (creating its window the first time);
    // FALSE when the current page refuses to be left or the page cannot be made.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    CTabCtrl* GetTabControl() const;

    // dwStyle -1 means a visible popup with a caption; a child style makes the
    // sheet part of its parent dialog.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                        DWORD dwExStyle = 0);
    virtual BOOL OnInitDialog();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nStartPage = 0;

  protected:
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    std::vector<std::uint8_t> m_template;

    void PlacePage(CPropertyPage* page);
    BOOL ShowPage(int nPage);
};
