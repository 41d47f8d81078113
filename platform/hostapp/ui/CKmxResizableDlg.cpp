#include "hostapp/ui/CKmxResizableDlg.h"

#include "hostapp/files/UserSettings.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

// The settings section that stands for the user's registry: keys as the
// dialogs name them, each an object of values.
constexpr const char* kRegistrySection = "registry";
// A stored size smaller than this is taken for damage and not restored.
constexpr int kSmallestSide = 40;

std::string& settingsPath() {
    static std::string path = lum::defaultSettingsPath();
    return path;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKmxResizableDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CKmxResizableDlg::CKmxResizableDlg(UINT templateId, CWnd* pParent, bool keepPlacement)
    : CDialog(templateId, pParent), m_bKeepPlacement(keepPlacement) {}

void CKmxResizableDlg::setSettingsPath(std::string path) {
    settingsPath() = std::move(path);
}

std::optional<RECT> CKmxResizableDlg::storedPlacement(const CString& key) {
    lum::UserSettings settings(settingsPath());
    const nlohmann::json* section = settings.section(kRegistrySection);
    if (section == nullptr || !section->is_object()) {
        return std::nullopt;
    }
    auto entry = section->find(key.toUtf8());
    if (entry == section->end() || !entry->is_object()) {
        return std::nullopt;
    }
    RECT rect{};
    try {
        rect.left = entry->at("left").get<int>();
        rect.top = entry->at("top").get<int>();
        rect.right = entry->at("right").get<int>();
        rect.bottom = entry->at("bottom").get<int>();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
    if (rect.right - rect.left < kSmallestSide || rect.bottom - rect.top < kSmallestSide) {
        return std::nullopt;
    }
    return rect;
}

void CKmxResizableDlg::onDlgResized(int, int, BOOL) {}

void CKmxResizableDlg::initPlacementKey() {}

void CKmxResizableDlg::initDlgOK() {
    initPlacementKey();
    RECT rect;
    GetWindowRect(&rect);
    m_nLastWidth = rect.right - rect.left;
    m_nLastHeight = rect.bottom - rect.top;
    m_bMeasured = true;
    if (!m_bKeepPlacement || m_strPlacementKey.IsEmpty()) {
        return;
    }
    if (auto stored = storedPlacement(m_strPlacementKey)) {
        // The resize handler hears the change and lays the controls out.
        MoveWindow(stored->left, stored->top, stored->right - stored->left,
                   stored->bottom - stored->top, TRUE);
        ::SetPropW(GetSafeHwnd(), nd::win32::kPlacedByProgram, reinterpret_cast<HANDLE>(1));
    }
}

bool CKmxResizableDlg::saveDlgPlacementInfo() {
    if (!m_bKeepPlacement || m_strPlacementKey.IsEmpty() || GetSafeHwnd() == nullptr) {
        return false;
    }
    RECT rect;
    GetWindowRect(&rect);
    lum::UserSettings settings(settingsPath());
    nlohmann::json section = nlohmann::json::object();
    if (const nlohmann::json* stored = settings.section(kRegistrySection);
        stored != nullptr && stored->is_object()) {
        section = *stored;
    }
    section[m_strPlacementKey.toUtf8()] = {
        {"left", rect.left}, {"top", rect.top}, {"right", rect.right}, {"bottom", rect.bottom}};
    std::string error;
    return settings.storeSection(kRegistrySection, section, error);
}

void CKmxResizableDlg::OnOK() {
    saveDlgPlacementInfo();
    CDialog::OnOK();
}

void CKmxResizableDlg::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    if (!m_bMeasured) {
        return;
    }
    RECT rect;
    GetWindowRect(&rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int dx = width - m_nLastWidth;
    int dy = height - m_nLastHeight;
    m_nLastWidth = width;
    m_nLastHeight = height;
    if (dx != 0 || dy != 0) {
        onDlgResized(dx, dy, TRUE);
    }
}

void CKmxResizableDlg::resizeDlgItems(int id, int delta, bool horizontal, bool stretch,
                                      BOOL redraw) {
    CWnd* item = GetDlgItem(id);
    if (item == nullptr || delta == 0) {
        return;
    }
    RECT rect;
    item->GetWindowRect(&rect);
    ScreenToClient(&rect);
    if (stretch) {
        (horizontal ? rect.right : rect.bottom) += delta;
        // A control shrunk past nothing keeps no negative size.
        rect.right = std::max(rect.right, rect.left);
        rect.bottom = std::max(rect.bottom, rect.top);
    } else if (horizontal) {
        rect.left += delta;
        rect.right += delta;
    } else {
        rect.top += delta;
        rect.bottom += delta;
    }
    item->MoveWindow(&rect, redraw);
}
