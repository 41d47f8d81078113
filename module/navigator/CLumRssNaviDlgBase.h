// A navigator dialog: rounded frames on the host's beginner-style colours,
// picture buttons in place of the template's buttons, and an explanation
// pane that follows the mouse (the text of what the cursor rests on, shown
// once it has rested a moment).
#pragma once

#include "mfc/CDialog.h"
#include "mfc/CGdiObject.h"
#include "mfc/CImageList.h"
#include "navigator/CLumNaviDlgButton.h"

#include <array>
#include <map>
#include <memory>
#include <set>

class CLumRssNaviDlgBase : public CDialog {
  public:
    // Timers: the periodic look at the cursor and the single-shot switch.
    static constexpr UINT_PTR kCursorTimer = 3407;
    static constexpr UINT kCursorPeriod = 500;
    static constexpr UINT_PTR kSwitchTimer = 3406;
    static constexpr UINT kSwitchDelay = 100;
    // Mouse moves closer together than this are not looked at.
    static constexpr DWORD kMoveInterval = 10;
    static constexpr size_t kMaxButtons = 9;

    struct NaviPanelStyle {
        explicit NaviPanelStyle(int colorSet);
        int m_textCtrlId = 0;     // 0: the standard text control
        int m_pictureCtrlId = 0;  // 0: the standard picture control
        COLORREF m_frameFill;
        COLORREF m_frameLine;
        COLORREF m_background;
        COLORREF m_text;
        CImageList m_imageList;
    };

    struct NaviExplanation {
        CString m_text;
        CBitmap m_picture;
    };

    CLumRssNaviDlgBase(UINT nIDTemplate, CWnd* pParent, bool useAltStyle);
    ~CLumRssNaviDlgBase() override;

    // Shows the explanation of an index; false when there is none.
    bool showExplanation(int index);

    // What tests and the host look at.
    int pendingIndex() const { return m_pendingIndex; }
    CLumNaviDlgButton* button(size_t slot) const {
        return slot < kMaxButtons ? m_buttons[slot].get() : nullptr;
    }
    bool isFramed(HWND child) const { return m_framedChildren.count(child) != 0; }
    const NaviPanelStyle& colors() const { return m_useAltStyle ? m_altStyle : m_style; }

  protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual void initNaviData() {}
    virtual void subclassButtons();
    virtual std::unique_ptr<CLumNaviDlgButton> createButton(int id);
    virtual bool isNaviButton(int id) const;
    virtual void onHover(int x, int y);

    void OnPaint();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    void OnDestroy();

    NaviPanelStyle m_style;
    NaviPanelStyle m_altStyle;
    CBrush m_fillBrush;
    CPen m_linePen;
    CBrush m_backBrush;
    int m_cornerSize = 6;
    bool m_useAltStyle;
    int m_pendingIndex = 0;
    DWORD m_lastMoveTick = 0;
    std::array<std::unique_ptr<CLumNaviDlgButton>, kMaxButtons> m_buttons;
    std::set<HWND> m_framedChildren;
    std::map<int, int> m_buttonIndex;
    std::map<int, std::unique_ptr<NaviExplanation>> m_explanations;

    DECLARE_MESSAGE_MAP()

  private:
    void collectFramedChildren();
    void hideFrames();
    void makeDrawingObjects();
};
