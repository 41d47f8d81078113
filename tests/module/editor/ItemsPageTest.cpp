// The items page: buttons by selection, and add, copy, edit and delete on
// the working copy of the items.
#include "EditorTesting.h"
#include "editor/CLumRssFileConfigDlg.h"
#include "res/ResourceIds.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using edtest::UiStep;

namespace {

void expectButtons(HWND h, bool copy, bool edit, bool remove) {
    EXPECT_TRUE(edtest::enabled(h, IDC_RSS_ADD));
    EXPECT_EQ(edtest::enabled(h, IDC_RSS_COPY_ITEM), copy);
    EXPECT_EQ(edtest::enabled(h, IDC_RSS_EDIT_ITEM), edit);
    EXPECT_EQ(edtest::enabled(h, IDC_RSS_DELETE_ITEM), remove);
}

// A channel of four RSS 2.0 items named A to D.
void fourItems(CRSSChannel& channel) {
    edtest::fillChannel(channel, 1);
    CRSSItem item = channel.m_items[0];
    channel.m_items.clear();
    for (const char16_t* title : {u"A", u"B", u"C", u"D"}) {
        item.m_title = title;
        channel.m_items.push_back(item);
    }
}

std::vector<CString> titles(const CRSSChannel& channel) {
    std::vector<CString> out;
    for (const auto& item : channel.m_items) {
        out.push_back(item.m_title);
    }
    return out;
}

}  // namespace

TEST(ItemsPage, ButtonsFollowTheSelectionAndDeleteRemovesTheSelectedItems) {
    CRSSChannel channel;
    fourItems(channel);
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::selectTab(1), UiStep::run([](HWND h) { expectButtons(h, false, false, false); }),
         UiStep::select(IDC_RSS_ITEM_LIST, {1}),
         UiStep::run([](HWND h) { expectButtons(h, true, true, true); }),
         UiStep::select(IDC_RSS_ITEM_LIST, {1, 3}),
         UiStep::run([](HWND h) { expectButtons(h, false, false, true); }),
         UiStep::click(IDC_RSS_DELETE_ITEM),
         UiStep::run([](HWND h) { expectButtons(h, false, false, false); }), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    dlg.applyToChannel(&channel);
    EXPECT_EQ(titles(channel), (std::vector<CString>{u"A", u"C"}));
}

TEST(ItemsPage, DeletingNeighbouringRowsRemovesExactlyThoseItems) {
    const std::pair<std::vector<int>, std::vector<CString>> cases[] = {
        {{0, 1}, {u"C", u"D"}},
        {{2, 3}, {u"A", u"B"}},
        {{0, 3}, {u"B", u"C"}},
    };
    for (const auto& [rows, left] : cases) {
        SCOPED_TRACE(::testing::PrintToString(rows));
        CRSSChannel channel;
        fourItems(channel);
        ndtest::TestUiDriver ui;
        ui.expectDialog(IDD_RSS_FILE_CONFIG,
                        {UiStep::selectTab(1), UiStep::select(IDC_RSS_ITEM_LIST, rows),
                         UiStep::click(IDC_RSS_DELETE_ITEM), UiStep::click(IDOK)});
        CLumRssFileConfigDlg dlg(&channel, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        dlg.applyToChannel(&channel);
        EXPECT_EQ(titles(channel), left);
    }
}

TEST(ItemsPage, ADoubleClickedRowIsEditedInPlace) {
    CRSSChannel channel;
    fourItems(channel);
    ndtest::TestUiDriver ui;
    auto doubleClick = [](int row) {
        return UiStep::run([row](HWND h) {
            EXPECT_EQ(nd::win32::userDoubleClickRow(edtest::control(h, IDC_RSS_ITEM_LIST), row),
                      "");
        });
    };
    // Row 2, not the last: the dialog opens on C. A row that is not there
    // opens nothing.
    ui.expectDialog(
        IDD_RSS_FILE_CONFIG,
        {UiStep::selectTab(1), doubleClick(2), UiStep::run([](HWND h) {
             EXPECT_NE(nd::win32::userDoubleClickRow(edtest::control(h, IDC_RSS_ITEM_LIST), 7), "");
         }),
         UiStep::click(IDOK)});
    ui.expectDialog(
        IDD_RSS_ITEM_CONFIG,
        {UiStep::run([](HWND h) { EXPECT_EQ(edtest::textOf(h, IDC_RSS_ITEM_TITLE), u"C"); }),
         UiStep::type(IDC_RSS_ITEM_TITLE, u"C2"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    dlg.applyToChannel(&channel);
    EXPECT_EQ(titles(channel), (std::vector<CString>{u"A", u"B", u"C2", u"D"}));
    EXPECT_TRUE(ui.unmetExpectations().empty());
}

TEST(ItemsPage, CopyAppendsAnEditedCopyAndEditChangesTheItemInPlace) {
    CRSSChannel channel;
    fourItems(channel);
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::selectTab(1), UiStep::select(IDC_RSS_ITEM_LIST, {1}),
                     UiStep::click(IDC_RSS_COPY_ITEM), UiStep::select(IDC_RSS_ITEM_LIST, {3}),
                     UiStep::click(IDC_RSS_EDIT_ITEM), UiStep::select(IDC_RSS_ITEM_LIST, {2}),
                     UiStep::click(IDC_RSS_EDIT_ITEM), UiStep::click(IDOK)});
    // The copy opens with the source's fields.
    ui.expectDialog(
        IDD_RSS_ITEM_CONFIG,
        {UiStep::run([](HWND h) { EXPECT_EQ(edtest::textOf(h, IDC_RSS_ITEM_TITLE), u"B"); }),
         UiStep::type(IDC_RSS_ITEM_TITLE, u"B2"), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG,
                    {UiStep::type(IDC_RSS_ITEM_TITLE, u"never"), UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG,
                    {UiStep::type(IDC_RSS_ITEM_TITLE, u"C!"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    dlg.applyToChannel(&channel);
    EXPECT_EQ(titles(channel), (std::vector<CString>{u"A", u"B", u"C!", u"D", u"B2"}));
    EXPECT_EQ(channel.m_items[4].m_enclosureUrl, channel.m_items[1].m_enclosureUrl);
}

TEST(ItemsPage, AFormatChangeReachesItemDialogsOpenedAfterIt) {
    CRSSChannel channel;
    edtest::fillChannel(channel, 1);
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::click(IDC_RSS_FORMAT_ITUNES), UiStep::selectTab(1),
                     UiStep::click(IDC_RSS_ADD), UiStep::click(IDCANCEL)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG, {UiStep::run([](HWND h) {
                                              EXPECT_TRUE(edtest::enabled(h, IDC_RSS_ITEM_ARTIST));
                                              EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ITEM_LINK));
                                          }),
                                          UiStep::click(IDCANCEL)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(ItemsPage, EditedItemsAndCopiesCarryWhatTheFeedKeptButACopyGetsNoGuid) {
    CRSSChannel channel;
    fourItems(channel);
    channel.m_kept.addElementXml("<generator>g</generator>", lum::KeptPlace::Host, 1);
    for (CRSSItem& item : channel.m_items) {
        item.m_kept.addElementXml("<guid>id-" + item.m_title.toUtf8() + "</guid>",
                                  lum::KeptPlace::Host, 1);
        item.m_kept.addElementXml("<dc:x xmlns:dc=\"http://purl.org/dc/elements/1.1/\">v</dc:x>",
                                  lum::KeptPlace::Host, 1);
    }
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_FILE_CONFIG,
                    {UiStep::type(IDC_RSS_CHANNEL_TITLE, u"Changed"), UiStep::selectTab(1),
                     UiStep::select(IDC_RSS_ITEM_LIST, {0}), UiStep::click(IDC_RSS_COPY_ITEM),
                     UiStep::select(IDC_RSS_ITEM_LIST, {1}), UiStep::click(IDC_RSS_EDIT_ITEM),
                     UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG,
                    {UiStep::type(IDC_RSS_ITEM_TITLE, u"A2"), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_ITEM_CONFIG,
                    {UiStep::type(IDC_RSS_ITEM_TITLE, u"B!"), UiStep::click(IDOK)});
    CLumRssFileConfigDlg dlg(&channel, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    dlg.applyToChannel(&channel);
    auto kept = [](const lum::KeptMarkup& markup) {
        std::string out;
        for (const auto& e : markup.elements()) {
            out += lum::KeptMarkup::toXml(e.node);
        }
        return out;
    };
    EXPECT_EQ(kept(channel.m_kept), "<generator>g</generator>");
    const char* dc = "<dc:x xmlns:dc=\"http://purl.org/dc/elements/1.1/\">v</dc:x>";
    EXPECT_EQ(kept(channel.m_items[1].m_kept), std::string("<guid>id-B</guid>") + dc);
    EXPECT_EQ(channel.m_items[4].m_title, u"A2");
    EXPECT_EQ(kept(channel.m_items[4].m_kept), dc);
    EXPECT_EQ(kept(channel.m_items[0].m_kept), std::string("<guid>id-A</guid>") + dc);
}
