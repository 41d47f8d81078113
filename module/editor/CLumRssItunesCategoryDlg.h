// The category dialog of podcast feeds: a category and a subcategory from the
// host's iTunes category list, appended to the caller's vector on OK unless
// the same pair is there already.
#pragma once

#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/records/CRSSCategory.h"
#include "mfc/CComboBox.h"
#include "mfc/CDialog.h"
#include "mfc/CPtrArray.h"

#include <memory>
#include <vector>

class CLumRssItunesCategoryDlg : public CDialog {
  public:
    // Loads the category list at once.
    CLumRssItunesCategoryDlg(std::vector<CRSSCategory>& categories, CWnd* pParent);
    ~CLumRssItunesCategoryDlg() override;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void OnCategoryChange();
    void loadCategoryList();
    void fillCategoryCombo();
    void fillSubcategoryCombo();
    // The stored name of the node behind the combo's selected row; empty
    // when nothing is selected.
    CString selectedName(const CComboBox& combo) const;

    // The list file's top-level category nodes in document order; valid while
    // m_pCategoryXml lives.
    CTypedPtrArray<CPtrArray, xmlNode*> m_topNodes;
    std::vector<CRSSCategory>* m_pCategories;
    std::unique_ptr<CLumItunesCategoryXmlData> m_pCategoryXml;
    CComboBox m_categoryCombo;
    CComboBox m_subcategoryCombo;

    DECLARE_MESSAGE_MAP()
};
