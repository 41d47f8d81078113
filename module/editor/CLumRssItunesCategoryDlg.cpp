#include "editor/CLumRssItunesCategoryDlg.h"

#include "editor/CategoryEdits.h"
#include "editor/EditorHelp.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"

#include <algorithm>

CLumRssItunesCategoryDlg::CLumRssItunesCategoryDlg(std::vector<CRSSCategory>& categories,
                                                   CWnd* pParent)
    : CDialog(IDD_RSS_ITUNES_CATEGORY, pParent), m_pCategories(&categories) {
    loadCategoryList();
}

CLumRssItunesCategoryDlg::~CLumRssItunesCategoryDlg() = default;

BEGIN_MESSAGE_MAP(CLumRssItunesCategoryDlg, CDialog)
ON_CBN_SELCHANGE(IDC_RSS_ITUNES_CATEGORY, &CLumRssItunesCategoryDlg::OnCategoryChange)
END_MESSAGE_MAP()

void CLumRssItunesCategoryDlg::loadCategoryList() {
    m_pCategoryXml = newsdesk::editor::loadItunesCategoryList();
    if (!m_pCategoryXml) {
        return;
    }
    NodeArray nodes;
    m_pCategoryXml->getCategoryNodeArray(m_pCategoryXml->getTopNode(), nodes);
    for (const Node& node : nodes) {
        m_topNodes.Add(node.raw());
    }
}

void CLumRssItunesCategoryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RSS_ITUNES_CATEGORY, m_categoryCombo);
    DDX_Control(pDX, IDC_RSS_ITUNES_SUBCATEGORY, m_subcategoryCombo);
}

BOOL CLumRssItunesCategoryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    fillCategoryCombo();
    fillSubcategoryCombo();
    return FALSE;
}

void CLumRssItunesCategoryDlg::fillCategoryCombo() {
    m_categoryCombo.ResetContent();
    for (INT_PTR i = 0; i < m_topNodes.GetSize(); ++i) {
        Node node(m_topNodes[i]);
        CString label;
        m_pCategoryXml->getCategoryLabel(node, label);
        // Inserted by position, so the rows keep the file's order although
        // the combo box carries the sort style.
        int row = m_categoryCombo.InsertString(-1, label.GetString());
        m_categoryCombo.SetItemData(row, reinterpret_cast<DWORD_PTR>(node.raw()));
    }
    m_categoryCombo.SetCurSel(0);
}

void CLumRssItunesCategoryDlg::fillSubcategoryCombo() {
    m_subcategoryCombo.ResetContent();
    int row = m_categoryCombo.GetCurSel();
    if (row < 0) {
        return;
    }
    auto* raw = reinterpret_cast<xmlNode*>(m_categoryCombo.GetItemData(row));
    if (raw == nullptr || !m_pCategoryXml) {
        m_subcategoryCombo.SetCurSel(0);
        return;
    }
    NodeArray children;
    m_pCategoryXml->getCategoryNodeArray(Node(raw), children);
    for (const Node& child : children) {
        CString label;
        m_pCategoryXml->getCategoryLabel(child, label);
        int at = m_subcategoryCombo.InsertString(-1, label.GetString());
        m_subcategoryCombo.SetItemData(at, reinterpret_cast<DWORD_PTR>(child.raw()));
    }
    m_subcategoryCombo.SetCurSel(0);
}

void CLumRssItunesCategoryDlg::OnCategoryChange() {
    fillSubcategoryCombo();
}

CString CLumRssItunesCategoryDlg::selectedName(const CComboBox& combo) const {
    CString name;
    int row = combo.GetCurSel();
    if (row >= 0 && m_pCategoryXml) {
        auto* raw = reinterpret_cast<xmlNode*>(combo.GetItemData(row));
        m_pCategoryXml->getCategoryName(Node(raw), name);
    }
    return name;
}

void CLumRssItunesCategoryDlg::OnOK() {
    UpdateData(TRUE);
    CRSSCategory category;
    category.m_category = selectedName(m_categoryCombo);
    category.m_subCategory = selectedName(m_subcategoryCombo);
    bool taken =
        std::any_of(m_pCategories->begin(), m_pCategories->end(), [&](const CRSSCategory& c) {
            return c.m_category == category.m_category && c.m_subCategory == category.m_subCategory;
        });
    if (taken) {
        lum::afxMessageBox(IDS_RSS_ITUNES_CATEGORY_EXISTS, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_pCategories->push_back(category);
    EndDialog(IDOK);
}

void CLumRssItunesCategoryDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
