#include "PageFakes.h"
#include "hostapp/CKmxCommon.h"
#include "hostapp/CLumUrlString.h"
#include "module/sitefiles/SiteFilesTesting.h"
#include "res/ResourceIds.h"
#include "rsslink/CLumRssInsertLinkDlg.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

namespace {

using nd::win32::UiCheck;
using nd::win32::UiStep;
using rltest::FakePage;

const std::string kPage = "<html><head></head><body><p>x</p></body></html>";

UiStep okIs(bool on) {
    return UiStep::expect(IDOK, UiCheck::enabled(on));
}

UiStep iconFileGroupIs(bool on) {
    return UiStep::run([on](HWND h) {
        for (int id : {IDC_RSS_LINK_ICON_FILE, IDC_RSS_LINK_BROWSE_ICON, IDC_RSS_LINK_SAMPLE_ICON,
                       IDC_RSS_LINK_ICON_FILE_LABEL}) {
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(h, id)) != FALSE, on) << "control " << id;
        }
    });
}

CString defaultIconUrl() {
    return CLumUrlString(CKmxCommon::getProductFolder(54, 0) + u"rss_icon.gif", true).getURL();
}

TEST(InsertLinkDialog, OkNeedsAFeedAPictureForAnIconFromAFileAndATextWhenOneIsWanted) {
    FakePage page(kPage);
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {okIs(false), UiStep::expect(IDC_RSS_LINK_DEFAULT_ICON, UiCheck::enabled(false)),
         iconFileGroupIs(false), UiStep::expect(IDC_RSS_LINK_TEXT, UiCheck::enabled(false)),
         UiStep::expect(IDC_RSS_LINK_TEXT_LABEL, UiCheck::enabled(false)),
         UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, true),
         UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, true), UiStep::type(IDC_RSS_LINK_TEXT, u"feed"),
         okIs(false), UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"), okIs(true),
         UiStep::expect(IDC_RSS_LINK_DEFAULT_ICON,
                        {UiCheck::enabled(true), UiCheck::checked(true)}),
         iconFileGroupIs(false), UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE), iconFileGroupIs(true),
         okIs(false), UiStep::type(IDC_RSS_LINK_ICON_FILE, u"img/i.png"), okIs(true),
         UiStep::type(IDC_RSS_LINK_ICON_FILE, u""), okIs(false),
         UiStep::click(IDC_RSS_LINK_DEFAULT_ICON), iconFileGroupIs(false), okIs(true),
         UiStep::type(IDC_RSS_LINK_TEXT, u""), okIs(false),
         UiStep::check(IDC_RSS_LINK_INCLUDE_TEXT, false),
         UiStep::expect(IDC_RSS_LINK_TEXT, UiCheck::enabled(false)), okIs(true),
         // Leaving out the icon takes the choice of picture with it.
         UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE), okIs(false),
         UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, false), iconFileGroupIs(false),
         UiStep::expect(IDC_RSS_LINK_ICON_FROM_FILE, UiCheck::enabled(false)), okIs(true),
         UiStep::type(IDC_RSS_LINK_FILE, u""), okIs(false), UiStep::click(IDCANCEL)});
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(InsertLinkDialog, TheDefaultIconBecomesTheProductPictureAtOkWhetherShownOrNot) {
    FakePage page(kPage);
    {
        ndtest::TestUiDriver ui;
        ui.expectDialog(IDD_RSS_INSERT_LINK,
                        {UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"),
                         UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, true),
                         UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE),
                         UiStep::type(IDC_RSS_LINK_ICON_FILE, u"img/mine.png"),
                         UiStep::click(IDC_RSS_LINK_DEFAULT_ICON), UiStep::click(IDOK)});
        CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_strIconFile, defaultIconUrl());
        EXPECT_EQ(dialog.m_nDefaultIcon, 1);
        EXPECT_EQ(dialog.m_bIncludeIcon, 1);
    }
    {
        ndtest::TestUiDriver ui;
        ui.expectDialog(IDD_RSS_INSERT_LINK,
                        {UiStep::type(IDC_RSS_LINK_FILE, u"news/a.rss"), UiStep::click(IDOK)});
        CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_strIconFile, defaultIconUrl());
        EXPECT_EQ(dialog.m_bIncludeIcon, 0);
    }
    // A picture of the user's own stays as chosen.
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_RSS_INSERT_LINK, {UiStep::click(IDOK)});
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    dialog.presetForEdit(u"Z:\\site\\a.rss", u"Z:\\site\\img\\i.png", false, u"");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strIconFile, u"Z:\\site\\img\\i.png");
}

TEST(InsertLinkDialog, PicturesComeFromTheFileChooserOrTheSampleMaterials) {
    FakePage page(kPage);
    page.openFile = u"Z:\\nowhere\\my icon.png";
    page.doc.sampleFile = u"Z:\\app\\samples\\orange.gif";
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, true), UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE),
         UiStep::click(IDC_RSS_LINK_BROWSE_ICON),
         // A picture that does not load is named by the file the user chose.
         UiStep::expect(IDC_RSS_LINK_ICON_FILE,
                        UiCheck::textIs(u"file:///Z:/nowhere/my%20icon.png")),
         UiStep::click(IDC_RSS_LINK_SAMPLE_ICON),
         UiStep::expect(IDC_RSS_LINK_ICON_FILE,
                        UiCheck::textIs(u"file:///Z:/app/samples/orange.gif")),
         UiStep::click(IDC_RSS_LINK_BROWSE_RSS),
         UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(u"file:///Z:/nowhere/my%20icon.png")),
         okIs(true), UiStep::click(IDCANCEL)});
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(page.openFileKinds, (std::vector<int>{2, 23}));
    EXPECT_EQ(page.doc.sampleTypes, std::vector<int>{0});
}

TEST(InsertLinkDialog, ACancelledChooserLeavesTheFields) {
    FakePage page(kPage);
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::type(IDC_RSS_LINK_FILE, u"a.rss"), UiStep::click(IDC_RSS_LINK_BROWSE_RSS),
         UiStep::check(IDC_RSS_LINK_INCLUDE_ICON, true), UiStep::click(IDC_RSS_LINK_ICON_FROM_FILE),
         UiStep::type(IDC_RSS_LINK_ICON_FILE, u"i.png"), UiStep::click(IDC_RSS_LINK_SAMPLE_ICON),
         UiStep::click(IDC_RSS_LINK_BROWSE_ICON),
         UiStep::expect(IDC_RSS_LINK_FILE, UiCheck::textIs(u"a.rss")),
         UiStep::expect(IDC_RSS_LINK_ICON_FILE, UiCheck::textIs(u"i.png")),
         UiStep::click(IDCANCEL)});
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// The site's feeds are listed as b.xml, c.rdf, news/a.rss; the page
// announces news/a.rss by its published URL.
TEST(InsertLinkDialog, PickingASiteFeedTellsWhetherThePageAnnouncesItBrowsingDoesNot) {
    TempDir dir;
    sftest::writeFeedSite(dir);
    sftest::OpenSite site(dir);
    FakePage page(
        "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" "
        "href=\"news/a.rss\"></head><body><p>x</p></body></html>",
        dir.windows("site/index.html"), dir.windows("site/"));
    page.openFile = dir.windows("site/c.rdf");
    ndtest::TestUiDriver ui;
    ui.expectDialog(
        IDD_RSS_INSERT_LINK,
        {UiStep::click(IDC_RSS_LINK_PICK_SITE_RSS),
         UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(true)),
         UiStep::expect(
             IDC_RSS_LINK_FILE,
             UiCheck::textIs(
                 CLumUrlString(dir.windows("site/news/a.rss"), true).getURL().GetString())),
         UiStep::click(IDC_RSS_LINK_BROWSE_RSS),
         UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(true)),
         UiStep::click(IDC_RSS_LINK_PICK_SITE_RSS),
         UiStep::expect(IDC_RSS_LINK_AUTO_DISCOVERY, UiCheck::checked(false)),
         UiStep::click(IDC_RSS_LINK_PICK_SITE_RSS), okIs(true), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {2}), UiStep::click(IDOK)});
    ui.expectDialog(IDD_RSS_FILE_LIST,
                    {UiStep::select(IDC_RSS_FILE_LIST, {1}), UiStep::click(IDOK)});
    // A cancelled list leaves the feed and the check box.
    ui.expectDialog(IDD_RSS_FILE_LIST, {UiStep::click(IDCANCEL)});
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strRssFile, CLumUrlString(dir.windows("site/c.rdf"), true).getURL());
    EXPECT_EQ(dialog.m_bAutoDiscovery, 0);
}

TEST(InsertLinkDialog, PresetForEditingFillsTheDialogFromTheLink) {
    FakePage page(
        "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" href=\"a.rss\">"
        "</head><body></body></html>");
    CLumRssInsertLinkDlg dialog(&page, &page.doc, nullptr);
    dialog.presetForEdit(u"Z:\\site\\a.rss", u"Z:\\site\\i.png", true, u"");
    EXPECT_EQ(dialog.m_bAutoDiscovery, 1);
    EXPECT_EQ(dialog.m_bIncludeIcon, 1);
    EXPECT_EQ(dialog.m_nDefaultIcon, 1);
    EXPECT_EQ(dialog.m_strIconFile, u"");
    EXPECT_EQ(dialog.m_bIncludeText, 0);

    CLumRssInsertLinkDlg other(&page, &page.doc, nullptr);
    other.presetForEdit(u"Z:\\site\\b.rss", u"Z:\\site\\i.png", false, u"B");
    EXPECT_EQ(other.m_bAutoDiscovery, 0);
    EXPECT_EQ(other.m_nDefaultIcon, 0);
    EXPECT_EQ(other.m_strIconFile, u"Z:\\site\\i.png");
    EXPECT_EQ(other.m_bIncludeText, 1);
    EXPECT_EQ(other.m_strLinkText, u"B");
}

}  // namespace
