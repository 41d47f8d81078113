// A dialog that a person may resize: it remembers where and how large it was
// (in the user's settings, under a registry-like key the dialog names) and
// tells the dialog by how much it grew so that it can move its controls.
#pragma once

#include "mfc/CDialog.h"
#include "mfc/CString.h"

#include <optional>
#include <string>

class CKmxResizableDlg : public CDialog {
  public:
    // keepPlacement: restore the remembered placement on opening and store
    // it on closing.
    CKmxResizableDlg(UINT templateId, CWnd* pParent, bool keepPlacement);

    // Stores the window's placement under the key now; false when there is
    // no key, no window or the settings file cannot be written.
    bool saveDlgPlacementInfo();

    // Where a placement is kept: the settings file (lum::defaultSettingsPath()
    // unless a test names another) and the key's value there.
    static void setSettingsPath(std::string path);
    static std::optional<RECT> storedPlacement(const CString& key);

  protected:
    // The window grew by dx, dy since the last call (the first call measures
    // from the template's size).
    virtual void onDlgResized(int dx, int dy, BOOL redraw);
    // Sets m_strPlacementKey; an empty key keeps nothing.
    virtual void initPlacementKey();
    // Restores the remembered placement; call once from OnInitDialog, after
    // the controls exist.
    virtual void initDlgOK();
    // Moves (stretch false) or widens/heightens (stretch true) one control by
    // delta along one axis.
    void resizeDlgItems(int id, int delta, bool horizontal, bool stretch, BOOL redraw);

    void OnOK() override;
    void OnSize(UINT nType, int cx, int cy);

    CString m_strPlacementKey;

    DECLARE_MESSAGE_MAP()

  private:
    bool m_bKeepPlacement;
    bool m_bMeasured = false;
    int m_nLastWidth = 0;
    int m_nLastHeight = 0;
};
