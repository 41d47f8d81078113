// The framework's dialog. Its template comes from the resource chain (by
// template id) or from memory; DoModal runs it through the UI driver.
#pragma once

#include "mfc/CWnd.h"
#include "win32/Dialog.h"

#include <cstddef>

class CDataExchange;

class CDialog : public CWnd {
  public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // A template in memory (DLGTEMPLATE or DLGTEMPLATEEX bytes, kept by the
    // caller while the dialog exists). m_nIDHelp still names the dialog to
    // the UI driver and the help.
    BOOL InitModalIndirect(const void* lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // IDOK, IDCANCEL or another EndDialog code; -1 when the dialog could not
    // be created or the UI driver gave up.
    virtual INT_PTR DoModal();
    // Modeless creation.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(const void* lpDialogTemplate, CWnd* pParentWnd = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

    // Fills controls from members (FALSE) or members from controls (TRUE);
    // FALSE when a field failed to convert (the field gets the focus).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCWSTR m_lpszTemplateName = nullptr;
    const void* m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

  protected:
    // The template's bytes, their bound and the module they came from; false
    // when there is none.
    bool FindTemplate(const void*& data, size_t& size, HINSTANCE& module) const;
    HWND CreateFromTemplate(HWND parent);

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of every framework dialog: WM_INITDIALOG reaches the
// object's OnInitDialog.
INT_PTR AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
