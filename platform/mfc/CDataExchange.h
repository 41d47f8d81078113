// Data exchange between a dialog's controls and its members.
#pragma once

#include "mfc/COleDateTime.h"
#include "mfc/CString.h"
#include "mfc/CTime.h"
#include "win32/windows.h"

class CWnd;

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
    int m_idLastControl = 0;

    // The control's window, remembered as the one to focus on failure.
    HWND PrepareCtrl(int nIDC);
    // Marks the exchange as failed; later exchanges do nothing.
    void Fail() { m_bFailed = true; }
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Numbers: on save a text that is not a whole number in range fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked radio button of the group starting at nIDC, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Attaches the control object to its window the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CTime& value);
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value);
