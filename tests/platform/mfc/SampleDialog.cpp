#include "SampleDialog.h"

#include "mfc/AfxMessageBox.h"
#include "mfc/CDC.h"
#include "support/DialogBuilder.h"

namespace sample {

BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
ON_EN_CHANGE(kName, &CSampleDlg::OnNameChange)
ON_LBN_SELCHANGE(kList, &CSampleDlg::OnListChange)
ON_CBN_SELCHANGE(kCombo, &CSampleDlg::OnComboChange)
ON_NOTIFY(LVN_ITEMCHANGED, kRows, &CSampleDlg::OnRowChanged)
ON_NOTIFY(DTN_DATETIMECHANGE, kDate, &CSampleDlg::OnDateChange)
ON_BN_CLICKED(kAdd, &CSampleDlg::OnAdd)
ON_BN_CLICKED(kFinish, &CSampleDlg::OnFinish)
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSampleDlg::CSampleDlg() : m_back(RGB(1, 2, 3)) {
    ndtest::DialogBuilder b(u"Sample", 300, 200);
    b.control(u"#0081", u"", kName, 5, 5, 100, 12, WS_TABSTOP | ES_AUTOHSCROLL)
        .control(u"#0081", u"", kCount, 110, 5, 40, 12, WS_TABSTOP | ES_NUMBER)
        .control(u"#0080", u"Flag", kFlag, 160, 5, 60, 12, WS_TABSTOP | BS_AUTOCHECKBOX)
        .control(u"#0083", u"", kList, 5, 25, 80, 60,
                 WS_TABSTOP | LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY)
        .control(u"#0085", u"", kCombo, 90, 25, 80, 60, WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT)
        .control(u"SysListView32", u"", kRows, 175, 25, 120, 60, WS_TABSTOP | LVS_REPORT)
        .control(u"SysDateTimePick32", u"", kDate, 5, 90, 80, 12, WS_TABSTOP)
        .control(u"SysDateTimePick32", u"", kDuration, 90, 90, 80, 12, WS_TABSTOP | DTS_TIMEFORMAT)
        .control(u"#0081", u"", kNotes, 5, 110, 200, 40, WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN)
        .control(u"#0080", u"Add", kAdd, 5, 180, 50, 14, WS_TABSTOP)
        .control(u"#0080", u"Finish", kFinish, 60, 180, 50, 14, WS_TABSTOP)
        .control(u"#0080", u"OK", IDOK, 190, 180, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON)
        .control(u"#0080", u"Cancel", IDCANCEL, 245, 180, 50, 14, WS_TABSTOP);
    m_template = b.bytes();
    m_nIDHelp = kTemplateId;
    InitModalIndirect(m_template.data());
    m_date = CTime(2024, 5, 1, 0, 0, 0);
    m_duration.SetTime(0, 3, 25);
}

BOOL CSampleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const char16_t* s : {u"pear", u"Apple", u"banana", u"apricot"}) {
        m_list.AddString(s);
    }
    for (int i = 0; i < m_list.GetCount(); ++i) {
        m_list.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
    }
    m_combo.InsertString(-1, u"zeta");
    m_combo.InsertString(-1, u"alpha");
    m_combo.InsertString(1, u"mid");
    for (int i = 0; i < m_combo.GetCount(); ++i) {
        m_combo.SetItemData(i, static_cast<DWORD_PTR>(i * 10));
    }
    m_rows.InsertColumn(0, u"Title", LVCFMT_LEFT, 60);
    m_rows.InsertColumn(1, u"Date", LVCFMT_LEFT, 60);
    m_rows.SetExtendedStyle(m_rows.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 3; ++i) {
        CString title;
        title.Format(u"row %d", i);
        int row = m_rows.InsertItem(i, title);
        m_rows.SetItemText(row, 1, u"today");
        m_rows.SetItemData(row, static_cast<DWORD_PTR>(i));
    }
    SetTimer(kTimer, 500);
    return TRUE;
}

void CSampleDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, kName, m_strName);
    DDX_Text(pDX, kCount, m_nCount);
    DDX_Check(pDX, kFlag, m_bFlag);
    DDX_Text(pDX, kNotes, m_strNotes);
    DDX_Control(pDX, kList, m_list);
    DDX_Control(pDX, kCombo, m_combo);
    DDX_Control(pDX, kRows, m_rows);
    DDX_DateTimeCtrl(pDX, kDate, m_date);
    DDX_DateTimeCtrl(pDX, kDuration, m_duration);
}

void CSampleDlg::OnOK() {
    UpdateData(TRUE);
    if (m_strName.IsEmpty()) {
        AfxMessageBox(u"A name is required.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}

BOOL CSampleDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE) {
        ++mouseMoves;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CSampleDlg::WinHelp(DWORD_PTR dwData, UINT) {
    helpCalls.push_back(dwData);
}

void CSampleDlg::OnNameChange() {
    ++nameChanges;
}

void CSampleDlg::OnListChange() {
    ++listChanges;
}

void CSampleDlg::OnComboChange() {
    ++comboChanges;
}

void CSampleDlg::OnRowChanged(NMHDR* header, LRESULT* result) {
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (change->uChanged & LVIF_STATE) {
        ++rowChanges;
    }
    *result = 0;
}

void CSampleDlg::OnDateChange(NMHDR*, LRESULT* result) {
    ++dateChanges;
    *result = 0;
}

void CSampleDlg::OnAdd() {
    ++adds;
}

void CSampleDlg::OnFinish() {
    EndDialog(42);
}

void CSampleDlg::OnTimer(UINT_PTR id) {
    if (id == kTimer) {
        ++timerTicks;
    }
    CDialog::OnTimer(id);
}

void CSampleDlg::OnPaint() {
    CPaintDC dc(this);
    CPen pen(PS_SOLID, 1, RGB(10, 20, 30));
    CBrush fill(RGB(40, 50, 60));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&fill);
    dc.RoundRect(CRect(2, 2, 50, 40), CPoint(6, 6));
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

HBRUSH CSampleDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
    HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
    if (kind == CTLCOLOR_EDIT) {
        return brush;
    }
    dc->SetTextColor(RGB(200, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_back.m_hObject);
}

}  // namespace sample
