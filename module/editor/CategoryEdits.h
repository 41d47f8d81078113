// What the channel page, the item dialog and the iTunes category dialog share
// about category vectors and the iTunes category list.
#pragma once

#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/records/CRSSCategory.h"
#include "mfc/CListBox.h"

#include <memory>
#include <vector>

namespace newsdesk::editor {

// Erases the first category whose name and second text both equal those of
// `category` (exact comparison); nothing when there is none.
void removeCategory(std::vector<CRSSCategory>& categories, const CRSSCategory& category);

// Deletes the categories of the list's selected rows. Each row's item data is
// its index into `categories` as they were when the list was filled; the
// erasing goes by value against a snapshot, so later indexes stay right.
// Item data outside the snapshot is skipped.
void deleteSelectedCategories(const CListBox& list, std::vector<CRSSCategory>& categories);

// The iTunes category list from "itunescategory.xml" in the product folder;
// null when there is no product folder or the file does not read.
std::unique_ptr<CLumItunesCategoryXmlData> loadItunesCategoryList();

}  // namespace newsdesk::editor
