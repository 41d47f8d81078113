// The tests' own small dialog: one control of each kind the module's dialogs
// use, with data exchange and a message map entry per notification kind.
#pragma once

#include "mfc/CButton.h"
#include "mfc/CComboBox.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CGdiObject.h"
#include "mfc/CListBox.h"
#include "mfc/CListCtrl.h"

#include <vector>

namespace sample {

constexpr int kTemplateId = 500;
constexpr int kName = 1000;
constexpr int kCount = 1001;
constexpr int kFlag = 1002;
constexpr int kList = 1003;
constexpr int kCombo = 1004;
constexpr int kRows = 1005;
constexpr int kDate = 1006;
constexpr int kDuration = 1007;
constexpr int kAdd = 1008;
constexpr int kNotes = 1009;
constexpr int kFinish = 1010;
constexpr UINT_PTR kTimer = 77;

class CSampleDlg : public CDialog {
  public:
    CSampleDlg();

    CString m_strName;
    int m_nCount = 0;
    int m_bFlag = 0;
    CString m_strNotes;
    CTime m_date;
    COleDateTime m_duration;
    CListBox m_list;
    CComboBox m_combo;
    CListCtrl m_rows;

    // What happened, for the tests to look at.
    int nameChanges = 0;
    int listChanges = 0;
    int comboChanges = 0;
    int rowChanges = 0;
    int dateChanges = 0;
    int adds = 0;
    int timerTicks = 0;
    int mouseMoves = 0;
    std::vector<DWORD_PTR> helpCalls;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void OnNameChange();
    void OnListChange();
    void OnComboChange();
    void OnRowChanged(NMHDR* header, LRESULT* result);
    void OnDateChange(NMHDR* header, LRESULT* result);
    void OnAdd();
    void OnFinish();
    void OnTimer(UINT_PTR id);
    void OnPaint();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

  private:
    std::vector<BYTE> m_template;
    CBrush m_back;

    DECLARE_MESSAGE_MAP()
};

}  // namespace sample
