// A dialog holding a property sheet of two text pages at a frame, as the feed
// settings dialog holds its pages: for the framework's tests and the mirror's.
#pragma once

#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CPropertySheet.h"
#include "support/DialogBuilder.h"

#include <vector>

namespace sheet {

constexpr int kHostId = 600;
constexpr int kFrame = 2000;
constexpr int kPageEdit = 2100;

class CTextPage : public CPropertyPage {
  public:
    CTextPage(int id, std::u16string title) {
        // Drawn disabled, as page templates usually are: the sheet enables them.
        ndtest::DialogBuilder b(std::move(title), 150, 80, WS_CHILD | WS_DISABLED | DS_CONTROL);
        b.control(u"#0081", u"", kPageEdit + id, 5, 5, 100, 12, WS_TABSTOP);
        m_bytes = b.bytes();
        m_nIDHelp = static_cast<UINT>(id);
        InitModalIndirect(m_bytes.data());
        m_id = id;
    }
    BOOL OnSetActive() override {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kPageEdit + m_id, m_strText); }

    CString m_strText;
    int activations = 0;

  private:
    std::vector<BYTE> m_bytes;
    int m_id;
};

class CSheet : public CPropertySheet {
  public:
    CSheet() : CPropertySheet(u""), first(1, u"First"), second(2, u"Second") {
        AddPage(&first);
        AddPage(&second);
    }
    BOOL OnInitDialog() override {
        CPropertySheet::OnInitDialog();
        SetActivePage(0);
        return FALSE;
    }
    CTextPage first;
    CTextPage second;
};

class CHostDlg : public CDialog {
  public:
    CHostDlg() {
        ndtest::DialogBuilder b(u"Host", 200, 140);
        b.control(u"#0082", u"", kFrame, 10, 10, 180, 100, SS_BLACKFRAME)
            .control(u"#0080", u"OK", IDOK, 140, 120, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
        m_bytes = b.bytes();
        m_nIDHelp = kHostId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
        sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
        sheet.ModifyStyle(0, WS_TABSTOP);
        CRect frame;
        GetDlgItem(kFrame)->GetWindowRect(&frame);
        ScreenToClient(&frame);
        sheet.SetWindowPos(nullptr, frame.left - 10, frame.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return FALSE;
    }
    CSheet sheet;

  private:
    std::vector<BYTE> m_bytes;
};

}  // namespace sheet
