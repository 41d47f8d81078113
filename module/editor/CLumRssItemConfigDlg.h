// The item dialog: one feed item's texts, date and time, categories, media
// file (with its MIME type, length and duration worked out from the file) and
// podcast fields. The items page loads an item into it, runs it and, after
// OK, saves it back; the dialog itself never touches an item.
#pragma once

#include "hostapp/records/CRSSCategory.h"
#include "hostapp/records/CRSSItem.h"
#include "mfc/CDialog.h"
#include "mfc/CListBox.h"
#include "mfc/COleDateTime.h"
#include "mfc/CString.h"
#include "mfc/CTime.h"

#include <cstdint>
#include <vector>

class CLumFileService;
class CLumPodcastConverter;

class CLumRssItemConfigDlg : public CDialog {
  public:
    // fileService may be null: the media browse then does nothing.
    CLumRssItemConfigDlg(CLumFileService* fileService, int format, CWnd* pParent = nullptr);
    ~CLumRssItemConfigDlg() override;

    void loadFromItem(const CRSSItem& item);
    void saveToItem(CRSSItem& item) const;

    // The playing time shown for a count of seconds; whole days are dropped.
    void setDuration(int seconds);
    // The duration of the media file a reference names, rounded up to the
    // whole second; unchanged when the host cannot read it.
    void readMediaDuration(const CString& mediaRef);
    // true for the extensions podcast clients play (mp3, m4a, mp4, m4v, mov, pdf).
    static bool isPodcastExtension(const CString& path);
    // The host's podcast converter, or null when any step to it is missing.
    static CLumPodcastConverter* createPodcastConverter();

    CString m_strComments;
    CString m_strSubtitle;
    CString m_strArtist;
    CString m_strKeywords;
    int m_bPrivate = 0;
    CString m_strMimeType;
    // The whole file size: media files over 2 GiB keep their length.
    std::int64_t m_nLength = 0;
    std::vector<CRSSCategory> m_categories;
    int m_nFormat = 0;
    COleDateTime m_durationTime;
    CString m_strTitle;
    CString m_strDescription;
    CString m_strLink;
    CTime m_date;
    CTime m_time;
    CString m_strAuthor;
    CListBox m_categoryList;
    CString m_strMediaFile;
    CLumFileService* m_pFileService = nullptr;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void updateControls();
    void updateDeleteButton();
    void refreshCategoryList();
    void enable(int id, bool on);
    // The media file the user picked, after the podcast checks and the
    // conversion offer; empty when there is none. `seconds` receives the
    // converter's duration, 0 when it gave none.
    CString chooseMediaFile(int& seconds);
    // Offers to convert a file that is not a podcast file; the converted
    // file's path, the path unchanged when no offer is made, or empty when
    // the user declines or the conversion fails.
    CString offerConversion(const CString& path, int& seconds);

    void OnCategorySelChange();
    void OnAddCategory();
    void OnDeleteCategory();
    void onBrowseMedia();

    DECLARE_MESSAGE_MAP()
};
