#include "editor/CategoryEdits.h"

#include "hostapp/files/CKmxCommon.h"

#include <algorithm>

namespace newsdesk::editor {

namespace {
// The host's folder kind of the product's data files.
constexpr int kProductDataFolder = 54;
}  // namespace

void removeCategory(std::vector<CRSSCategory>& categories, const CRSSCategory& category) {
    auto found = std::find_if(categories.begin(), categories.end(), [&](const CRSSCategory& c) {
        return c.m_category == category.m_category && c.m_subCategory == category.m_subCategory;
    });
    if (found != categories.end()) {
        categories.erase(found);
    }
}

void deleteSelectedCategories(const CListBox& list, std::vector<CRSSCategory>& categories) {
    int count = list.GetSelCount();
    if (count <= 0) {
        return;
    }
    std::vector<int> rows(static_cast<size_t>(count));
    count = list.GetSelItems(count, rows.data());
    const std::vector<CRSSCategory> snapshot = categories;
    for (int i = 0; i < count; ++i) {
        DWORD_PTR index = list.GetItemData(rows[static_cast<size_t>(i)]);
        if (index < snapshot.size()) {
            removeCategory(categories, snapshot[index]);
        }
    }
}

std::unique_ptr<CLumItunesCategoryXmlData> loadItunesCategoryList() {
    CString folder = CKmxCommon::getProductFolder(kProductDataFolder, 0);
    if (folder.IsEmpty()) {
        return nullptr;
    }
    auto list = std::make_unique<CLumItunesCategoryXmlData>(folder + u"itunescategory.xml");
    if (!list->IsOK()) {
        return nullptr;
    }
    return list;
}

}  // namespace newsdesk::editor
