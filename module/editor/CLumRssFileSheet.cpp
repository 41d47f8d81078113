#include "editor/CLumRssFileSheet.h"

#include "editor/CLumRssFilePage1.h"
#include "editor/CLumRssFilePage2.h"
#include "editor/EditorHelp.h"

CLumRssFileSheet::CLumRssFileSheet(const CRSSChannel* channel, CWnd*)
    : CPropertySheet(u"", nullptr, 0),
      m_pChannelPage(std::make_unique<CLumRssFilePage1>(channel)),
      m_pItemsPage(std::make_unique<CLumRssFilePage2>(channel)) {
    AddPage(m_pChannelPage.get());
    AddPage(m_pItemsPage.get());
}

// The sheet's window goes first (the base destructor), while the page objects
// its children are attached to still exist.
CLumRssFileSheet::~CLumRssFileSheet() {
    if (m_hWnd != nullptr) {
        HWND h = UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

void CLumRssFileSheet::applyToChannel(CRSSChannel* channel) const {
    if (m_pChannelPage) {
        m_pChannelPage->saveToChannel(channel);
    }
    if (m_pItemsPage) {
        m_pItemsPage->saveToChannel(channel);
    }
}

BOOL CLumRssFileSheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();
    SetActivePage(0);
    return FALSE;
}

void CLumRssFileSheet::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CPropertySheet::WinHelp(dwData, nCmd);
    }
}
