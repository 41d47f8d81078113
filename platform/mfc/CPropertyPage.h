// A page of a property sheet: a child dialog created by the sheet the first
// time it is shown.
#pragma once

#include "mfc/CDialog.h"

class CPropertyPage : public CDialog {
  public:
    CPropertyPage() = default;
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    ~CPropertyPage() override;

    // Called when the page comes to the front; FALSE keeps it from being
    // shown. The first time it only answers TRUE (OnInitDialog has just
    // filled the controls); later it fills the controls again.
    virtual BOOL OnSetActive();
    // Called before another page comes to the front; FALSE keeps this one.
    virtual BOOL OnKillActive();
    void OnOK() override;
    void OnCancel() override;

    // The tab caption: the caption string when one was given, else the
    // title of the page's template.
    CString GetCaption() const;
    // Creates the page's window as a child of the sheet.
    BOOL CreatePage(CWnd* sheet);

  protected:
    CString m_strCaption;
    bool m_bFirstSetActive = true;
};
