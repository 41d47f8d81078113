// The two category dialogs: what they append, what they refuse and how the
// iTunes lists follow the category list file.
#include "EditorTesting.h"
#include "editor/CLumRssCategoryDlg.h"
#include "editor/CLumRssItunesCategoryDlg.h"
#include "res/ResourceIds.h"

#include <gtest/gtest.h>

using edtest::category;
using edtest::UiStep;

TEST(PlainCategoryDialog, OkFollowsTheNameAndOnlyAnEqualNameIsRefused) {
    std::vector<CRSSCategory> categories = {category(u"News", u"Local")};
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_CATEGORY,
                    {UiStep::run([](HWND h) { EXPECT_FALSE(edtest::enabled(h, IDOK)); }),
                     UiStep::type(IDC_RSS_CATEGORY_NAME, u"News"),
                     UiStep::run([](HWND h) { EXPECT_TRUE(edtest::enabled(h, IDOK)); }),
                     // Refused although the stored one has a second text.
                     UiStep::click(IDOK), UiStep::run([](HWND h) {
                         EXPECT_TRUE(IsWindow(h));
                         EXPECT_EQ(edtest::textOf(h, IDC_RSS_CATEGORY_NAME), u"News");
                     }),
                     UiStep::type(IDC_RSS_CATEGORY_NAME, u""),
                     UiStep::run([](HWND h) { EXPECT_FALSE(edtest::enabled(h, IDOK)); }),
                     UiStep::type(IDC_RSS_CATEGORY_NAME, u"news "), UiStep::click(IDOK)});
    ui.answer(IDS_RSS_CATEGORY_EXISTS, IDOK);
    CLumRssCategoryDlg dlg(categories, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // The host's box shows the module's own string for the id.
    EXPECT_EQ(ui.messageBoxesShown().at(0).text, u"すでにそのカテゴリ名は指定されています。");
    ASSERT_EQ(categories.size(), 2u);
    // Another letter case is another name, and nothing is trimmed.
    EXPECT_EQ(categories[1].m_category, u"news ");
    EXPECT_EQ(categories[1].m_subCategory, u"");
}

TEST(PlainCategoryDialog, CancelLeavesTheVectorAsItWas) {
    std::vector<CRSSCategory> categories = {category(u"News")};
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_CATEGORY,
                    {UiStep::type(IDC_RSS_CATEGORY_NAME, u"Sport"), UiStep::click(IDCANCEL)});
    CLumRssCategoryDlg dlg(categories, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(categories.size(), 1u);
}

TEST(ItunesCategoryDialog, ListsFollowTheFileAndPairsDecideDuplicates) {
    std::vector<CRSSCategory> categories = {category(u"Arts", u"Books")};
    ndtest::TestUiDriver ui;
    auto comboText = [](HWND h, int id) {
        HWND combo = edtest::control(h, id);
        int row = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        if (row < 0) {
            return std::u16string();
        }
        std::u16string text(
            static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0)) +
                1,
            u'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.size() - 1);
        return text;
    };
    // The first category and its first subcategory are what the file lists
    // first; the pair is there already.
    ui.expectDialog(
        IDD_RSS_ITUNES_CATEGORY,
        {UiStep::run([&](HWND h) {
             EXPECT_EQ(comboText(h, IDC_RSS_ITUNES_CATEGORY), u"アート");
             EXPECT_EQ(comboText(h, IDC_RSS_ITUNES_SUBCATEGORY), u"本");
         }),
         UiStep::click(IDOK), UiStep::selectText(IDC_RSS_ITUNES_SUBCATEGORY, u"デザイン"),
         UiStep::click(IDOK)});
    ui.answer(IDS_RSS_ITUNES_CATEGORY_EXISTS, IDOK);
    {
        CLumRssItunesCategoryDlg dlg(categories, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[1].m_category, u"Arts");
    EXPECT_EQ(categories[1].m_subCategory, u"Design");
    EXPECT_EQ(ui.messageBoxesShown().at(0).style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    // Another category replaces the subcategory rows and selects the first.
    ui.expectDialog(
        IDD_RSS_ITUNES_CATEGORY,
        {UiStep::selectText(IDC_RSS_ITUNES_CATEGORY, u"ビジネス"), UiStep::run([&](HWND h) {
             EXPECT_EQ(comboText(h, IDC_RSS_ITUNES_SUBCATEGORY), u"キャリア");
         }),
         UiStep::click(IDOK)});
    {
        CLumRssItunesCategoryDlg dlg(categories, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    ASSERT_EQ(categories.size(), 3u);
    EXPECT_EQ(categories[2].m_category, u"Business");
    EXPECT_EQ(categories[2].m_subCategory, u"Careers");
}
