#include "TempDir.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/FileErrors.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/HostResourceIds.h"
#include "res/ResourceIds.h"
#include "sitefiles/LinkFollowUp.h"
#include "sitefiles/SiteRssInfo.h"
#include "support/SiteFixture.h"
#include "support/TestUiDriver.h"
#include "win32/Loader.h"
#include "win32/Resources.h"
#include "win32/WaitCursor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace newsdesk;
using nd::win32::UiStep;

namespace {

class FollowUp : public OpenSmallSite {
  protected:
    static void SetUpTestSuite() {
        std::ifstream in(ND_HOST_RES, std::ios::binary);
        std::string res((std::istreambuf_iterator<char>(in)), {});
        ASSERT_TRUE(
            nd::win32::registerModuleResources(GetModuleHandleW(nullptr), res.data(), res.size()));
    }

    bool exists(const std::string& relative) const {
        return std::filesystem::exists(m_dir.native("site/" + relative));
    }
    std::vector<std::string> pagesOf(const CLumSiteDDNode& node) const {
        std::vector<std::string> pages;
        for (POSITION pos = node.m_pLinkList->GetHeadPosition(); pos;) {
            const CLumSiteDDLinkNode& link = node.m_pLinkList->GetNext(pos);
            pages.push_back(m_db->relativePath(link.m_strPath) + " " +
                            std::to_string(link.m_bRevise));
        }
        return pages;
    }
};

}  // namespace

TEST_F(FollowUp, CollectsTheLinkingPagesOfKnownFilesAndPassesOverTheRest) {
    CLumSiteDDList nodes(10);
    nodes.AddTail(CLumSiteDDNode(path("news/feed.xml"), CString()));
    nodes.AddTail(CLumSiteDDNode(path("missing.rss"), CString()));
    CLumSiteDDNode listless(path("rdf.txt"), CString());
    listless.destroyLinkList();
    nodes.AddTail(listless);
    // A list left from before is emptied first.
    nodes.GetHead().m_pLinkList->AddTail({1, CString(u"Z:\\stale.html")});
    collectBackLinks(m_db, nodes);
    POSITION pos = nodes.GetHeadPosition();
    EXPECT_EQ(
        pagesOf(nodes.GetNext(pos)),
        (std::vector<std::string>{"index.html 1", "news/index.html 1", "news/old/archive.htm 1"}));
    EXPECT_TRUE(nodes.GetNext(pos).m_pLinkList->IsEmpty());
    EXPECT_EQ(nodes.GetNext(pos).m_pLinkList, nullptr);
    collectBackLinks(nullptr, nodes);  // no database: nothing happens
}

TEST_F(FollowUp, DeletesAfterTheLinkListAndRevisesOnlyPagesOfFilesThatAreGone) {
    // rdf.txt cannot go: a folder stands in its way after the scan.
    std::filesystem::remove(m_dir.native("site/rdf.txt"));
    std::filesystem::create_directories(m_dir.native("site/rdf.txt"));
    std::string frames = m_dir.read("site/frames.html");
    std::string top = m_dir.read("site/index.html");
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_LUM_SITE_LINK_LIST, {UiStep::click(IDOK)});
    // The file that stayed is said, with the system's reason.
    ui.answerText(u"ファイルを削除できませんでした: " + m_dir.windows("site/rdf.txt") +
                      u"\npermission denied",
                  IDOK);
    lum::takeFailedFileOperations();
    CLumRssFileOp op(nullptr);
    std::vector<bool> cursor;
    nd::win32::setWaitCursorListener([&](bool waiting) { cursor.push_back(waiting); });
    EXPECT_TRUE(deleteFiles(&op, {path("news/feed.xml"), path("rdf.txt")}));
    nd::win32::setWaitCursorListener({});
    EXPECT_EQ(cursor, (std::vector<bool>{true, false})) << "the hourglass while pages are revised";
    EXPECT_FALSE(exists("news/feed.xml"));
    EXPECT_TRUE(exists("rdf.txt"));
    EXPECT_EQ(m_dir.read("site/frames.html"), frames);
    EXPECT_EQ(m_dir.read("site/index.html").find("href=\"news/feed.xml\""), std::string::npos);
    EXPECT_EQ(m_dir.read("site/news/index.html").find("./feed.xml"), std::string::npos);
    EXPECT_NE(top, m_dir.read("site/index.html"));
    EXPECT_EQ(op.m_bDelete, 0);
    EXPECT_TRUE(op.m_strFrom.IsEmpty());
    EXPECT_TRUE(op.m_strTo.IsEmpty());
    auto failed = lum::takeFailedFileOperations();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].message,
              m_dir.native("site/rdf.txt").string() + ": not deleted: permission denied");
}

// The link list asks for consent: a list that could not be shown, or that a
// script did not foresee, is no OK.
TEST_F(FollowUp, NothingIsDeletedWhenTheLinkListDidNotEndWithOk) {
    ndtest::RecordingUiDriver ui;  // foresees nothing
    CLumRssFileOp op(nullptr);
    EXPECT_TRUE(deleteFiles(&op, {path("news/feed.xml")}));
    EXPECT_FALSE(ui.failures.empty());
    EXPECT_TRUE(exists("news/feed.xml"));
}

TEST_F(FollowUp, NothingIsDeletedOnCancelWithUnsavedPagesOrWithoutPaths) {
    std::string top = m_dir.read("site/index.html");
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_LUM_SITE_LINK_LIST, {UiStep::click(IDCANCEL)});
    CLumRssFileOp op(nullptr);
    EXPECT_TRUE(deleteFiles(&op, {path("news/feed.xml")}));
    EXPECT_TRUE(exists("news/feed.xml"));
    EXPECT_EQ(m_dir.read("site/index.html"), top);

    int page = 0;
    CLumAppEngineer::getInstance()->setDocumentModified(&page, true);
    ui.answer(IDS_RSS_UNSAVED_PAGES, IDOK);
    EXPECT_FALSE(deleteFiles(&op, {path("news/feed.xml")}));
    CLumAppEngineer::getInstance()->setDocumentModified(&page, false);
    EXPECT_TRUE(exists("news/feed.xml"));
    EXPECT_FALSE(deleteFiles(&op, {}));
    EXPECT_FALSE(deleteFiles(nullptr, {path("news/feed.xml")}));
}

TEST_F(FollowUp, AFileNoPageLinksToIsStillShownFirstThenDeleted) {
    ndtest::TestUiDriver ui;
    ui.expectDialog(IDD_LUM_SITE_LINK_LIST, {UiStep::click(IDOK)});
    CLumRssFileOp op(nullptr);
    EXPECT_TRUE(deleteFiles(&op, {path("broken.rss")}));
    EXPECT_FALSE(exists("broken.rss"));
}

TEST_F(FollowUp, RenameHasTheHostMoveTheFileAndFollowTheLinks) {
    renameFollowUp(nullptr, path("news/feed.xml"), path("feed.rss"));
    EXPECT_FALSE(exists("news/feed.xml"));
    EXPECT_TRUE(exists("feed.rss"));
    EXPECT_NE(m_dir.read("site/index.html").find("href=\"feed.rss\""), std::string::npos);
    EXPECT_NE(m_dir.read("site/news/index.html").find("href=\"../feed.rss\""), std::string::npos);
    // A folder that is not there yet is made.
    EXPECT_TRUE(renameFollowUp(nullptr, path("rdf.txt"), path("feeds/2024/rdf.txt")));
    EXPECT_TRUE(exists("feeds/2024/rdf.txt"));
    EXPECT_NE(m_dir.read("site/frames.html").find("src=\"feeds/2024/rdf.txt\""), std::string::npos);
}

// A rename that cannot be done is said with the reason, and leaves the file.
TEST_F(FollowUp, ARenameThatFailsSaysWhyAndLeavesTheFile) {
    ndtest::TestUiDriver ui;
    lum::takeFailedFileOperations();
    struct {
        const char* to;
        std::u16string shown;
        std::string reason;
    } cases[] = {
        {"frames.html", u"something of that name is already there",
         "something of that name is already there"},
        {"broken.rss/feed.rss", u"is a file", "cannot make folder "},
    };
    for (const auto& c : cases) {
        ui.answerText(c.shown, IDOK);
        EXPECT_FALSE(renameFollowUp(nullptr, path("rdf.txt"), path(c.to))) << c.to;
        EXPECT_TRUE(exists("rdf.txt"));
        auto failed = lum::takeFailedFileOperations();
        ASSERT_EQ(failed.size(), 1u);
        EXPECT_NE(failed[0].message.find(": not renamed to "), std::string::npos);
        EXPECT_NE(failed[0].message.find(c.reason), std::string::npos) << failed[0].message;
    }
}

TEST_F(FollowUp, TheSitesOwnFeedUpdatesTheProfileAndThePagesItsItemsBeginWith) {
    int id = m_db->SiteProfGetID(LumSiteMgr::getCurrentSiteName());
    ASSERT_GE(id, 0);
    LPWSTR url = m_db->GetSiteProfUrl(id);
    ASSERT_NE(url, nullptr);
    CString siteUrl(url);
    m_db->DeleteString(url);

    CRSSChannel channel;
    channel.m_title = u"店";
    channel.m_description = u"説明";
    CRSSItem inside;
    inside.m_title = u"ニュース";
    inside.m_link = siteUrl + u"news/index.html";
    inside.m_pubDate = 1700000000;
    CRSSItem mentions;  // names the site's page only in its query
    mentions.m_title = u"外";
    mentions.m_link = CString(u"https://other.example/?u=") + siteUrl + u"frames.html";
    CRSSItem far;
    far.m_title = u"遠い未来";
    far.m_link = siteUrl + u"frames.html";
    far.m_pubDate = 1LL << 40;
    channel.addItem(inside);
    channel.addItem(mentions);

    // Another feed changes nothing.
    channel.m_filePath = path("news/feed.xml");
    updateSiteRssInfo(&channel);
    EXPECT_EQ(m_db->GetSiteProfTitle(id), CString());

    // The profile's feed, named in other letter case.
    channel.m_filePath = path("INDEX.RSS");
    updateSiteRssInfo(&channel);
    EXPECT_EQ(m_db->GetSiteProfTitle(id), CString(u"店"));
    EXPECT_EQ(m_db->GetSiteProfDescription(id), CString(u"説明"));
    lum::site::RssInfo info;
    ASSERT_TRUE(m_db->GetRssInfo({2, m_db->UrlGetIDPath(path("news/index.html"), 2)}, info));
    EXPECT_EQ(info.title, "ニュース");
    EXPECT_EQ(info.pubTime, 1700000000);
    EXPECT_EQ(info.flags, 1);
    EXPECT_FALSE(m_db->GetRssInfo({2, m_db->UrlGetIDPath(path("frames.html"), 2)}, info));

    channel.addItem(far);
    updateSiteRssInfo(&channel);
    ASSERT_TRUE(m_db->GetRssInfo({2, m_db->UrlGetIDPath(path("frames.html"), 2)}, info));
    EXPECT_EQ(info.title, "遠い未来");
    EXPECT_EQ(info.pubTime, 0x7FFFFFFF);
    updateSiteRssInfo(nullptr);
}
