// The channel page of the feed settings sheet: the channel's texts,
// categories, image and podcast owner data. It also decides whether the
// settings dialog may close (title, description and channel URL).
#pragma once

#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/records/CRSSCategory.h"
#include "hostapp/records/CRSSChannel.h"
#include "mfc/CListBox.h"
#include "mfc/CPropertyPage.h"
#include "mfc/CString.h"

#include <memory>
#include <vector>

class CLumRssFilePage1 : public CPropertyPage {
  public:
    // Loads the channel's fields at once; defaults without a channel.
    explicit CLumRssFilePage1(const CRSSChannel* channel);
    ~CLumRssFilePage1() override;

    void loadFromChannel(const CRSSChannel* channel);
    // Everything but the format, which the settings dialog writes.
    void saveToChannel(CRSSChannel* channel) const;
    void setFormat(int format);
    // true when a required field is empty: the page is then in front with the
    // focus in the first empty one.
    bool checkRequiredFields();
    // The label the category list file gives a category name; the name itself
    // when the list or the name is not there.
    CString lookupCategoryLabel(const CString& name);

    int m_bPrivate = 0;
    std::unique_ptr<CLumItunesCategoryXmlData> m_pCategoryXml;
    CString m_strTitle;
    CString m_strDescription;
    // Set by the settings dialog for a new file before the page's window exists.
    CString m_strLink;
    CListBox m_categoryList;
    CString m_strImage;
    int m_nFormat = 0;
    CString m_strOwnerName;
    CString m_strOwnerEmail;
    CString m_strSubtitle;
    CString m_strArtist;
    CString m_strCopyright;
    std::vector<CRSSCategory> m_categories;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void updateControls(int format);
    void updateDeleteButton();
    void refreshCategoryList();
    void enable(int id, bool on);

    void OnAddCategory();
    void OnDeleteCategory();
    void OnBrowseImage();
    void OnCategorySelChange();

    DECLARE_MESSAGE_MAP()
};
