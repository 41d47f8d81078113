#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

namespace {

int insert(HWND list, int at, const char16_t* text, LPARAM data = 0) {
    LVITEMW item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<LPWSTR>(text);
    item.lParam = data;
    return static_cast<int>(
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void setState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item;
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::u16string text(HWND list, int row, int sub) {
    WCHAR buf[64];
    LVITEMW item;
    item.iSubItem = sub;
    item.pszText = buf;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buf;
}

}  // namespace

TEST(ListView, EachStateChangeIsAskedForThenReported) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTVIEW, LVS_REPORT, 50);
    insert(list, 0, u"a", 7);
    h.notes.clear();
    setState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(h.notes, (std::vector<Note>{{WM_NOTIFY, 50, LVN_ITEMCHANGING},
                                          {WM_NOTIFY, 50, LVN_ITEMCHANGED}}));
    h.notes.clear();
    setState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(h.notes.empty()) << "no change, no notification";
    h.onNotify = [](NMHDR* n) -> LRESULT { return n->code == LVN_ITEMCHANGING ? TRUE : 0; };
    setState(list, 0, 0, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1) << "the parent refused";
}

TEST(ListView, ASingleSelectionListDeselectsTheOldRowWhenANewOneIsSelected) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTVIEW, LVS_REPORT | LVS_SINGLESEL, 51);
    insert(list, 0, u"a");
    insert(list, 1, u"b");
    setState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    setState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(nd::win32::userSelectRows(list, {0, 1}), "list view 51 selects one row only");
}

TEST(ListView, RowsKeepTheirOrderTextsAndDataUnlessASortStyleIsSet) {
    ndtest::ControlHarness h;
    HWND plain = h.make(WC_LISTVIEW, LVS_REPORT, 52);
    LVCOLUMNW col;
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<LPWSTR>(u"Name");
    col.cx = 80;
    SendMessageW(plain, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
    SendMessageW(plain, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
    EXPECT_EQ(insert(plain, 0, u"b", 1), 0);
    EXPECT_EQ(insert(plain, 99, u"a", 2), 1) << "past the end appends";
    LVITEMW sub;
    sub.iSubItem = 1;
    sub.pszText = const_cast<LPWSTR>(u"second column");
    SendMessageW(plain, LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&sub));
    EXPECT_EQ(text(plain, 1, 0), u"a");
    EXPECT_EQ(text(plain, 1, 1), u"second column");
    EXPECT_EQ(text(plain, 0, 1), u"") << "an unset column is empty";
    HWND sorted = h.make(WC_LISTVIEW, LVS_REPORT | LVS_SORTASCENDING, 53);
    insert(sorted, 0, u"b");
    EXPECT_EQ(insert(sorted, 0, u"c"), 1);
    EXPECT_EQ(insert(sorted, 5, u"a"), 0);
}

TEST(ListView, DeletingRowsNotifiesAndKeepsTheOthersSelection) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTVIEW, LVS_REPORT, 54);
    for (int i = 0; i < 3; ++i) {
        insert(list, i, u"r", i);
    }
    EXPECT_EQ(nd::win32::userSelectRows(list, {1, 2}), "");
    h.notes.clear();
    SendMessageW(list, LVM_DELETEITEM, 1, 0);
    EXPECT_EQ(h.notes, (std::vector<Note>{{WM_NOTIFY, 54, LVN_DELETEITEM}}));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1)
        << "the last row the user picked has the focus";
    EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 9, 0));
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST(ListView, EnsuringARowIsVisibleAnswersWhetherTheRowExists) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTVIEW, LVS_REPORT, 55);
    EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE)) << "an empty list has no row 0";
    insert(list, 0, u"only");
    EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE));
    EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 1, FALSE));
    EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(-1), FALSE));
}

TEST(ListView, DeletingAllRowsReportsEachRowUnlessTheParentDeclines) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTVIEW, LVS_REPORT, 56);
    for (int i = 0; i < 2; ++i) {
        insert(list, i, u"r", 10 + i);
    }
    std::vector<LPARAM> deleted;
    h.onNotify = [&](NMHDR* header) -> LRESULT {
        if (header->code == LVN_DELETEITEM) {
            deleted.push_back(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
        }
        return 0;
    };
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(deleted, (std::vector<LPARAM>{11, 10})) << "the rows' own data, last row first";
    insert(list, 0, u"again", 20);
    deleted.clear();
    h.onNotify = [&](NMHDR* header) -> LRESULT { return header->code == LVN_DELETEALLITEMS; };
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}
