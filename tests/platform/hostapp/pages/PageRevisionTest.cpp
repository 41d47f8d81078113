#include "FullDisk.h"
#include "TempDir.h"
#include "hostapp/files/CLumRecycledDB.h"
#include "hostapp/pages/PageRevision.h"
#include "hostapp/pages/PageSource.h"
#include "hostapp/site/CLumFileOperation.h"
#include "hostapp/site/CLumSiteDocBaseCore.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/LumSiteStaff.h"
#include "hostapp/ui/CLumSiteLinkListDlg.h"
#include "hostapp/ui/HostResourceIds.h"
#include "support/SiteFixture.h"
#include "support/TestUiDriver.h"
#include "win32/CommCtrl.h"
#include "win32/Loader.h"
#include "win32/Resources.h"
#include "win32/ShellApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using lum::page::LinkAction;
using lum::page::LinkDecision;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Pages of the small site as they stand before any revision.
class SitePages : public OpenSmallSite {
  protected:
    void SetUp() override {
        OpenSmallSite::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        for (const char* page :
             {"index.html", "news/index.html", "news/old/archive.htm", "frames.html"}) {
            m_before[page] = m_dir.read(std::string("site/") + page);
        }
    }

    // The node of one file with every page linking to it, as the module
    // collects them.
    void addNode(CLumSiteDDList& nodes, const std::string& from, const std::string& to) {
        CLumSiteDDNode node(path(from), to.empty() ? CString() : path(to));
        std::vector<SiteRecCell50>* records = nullptr;
        m_db->GetBackLinks({2, m_db->UrlGetIDPath(path(from), 2)}, &records, 2);
        ASSERT_NE(records, nullptr);
        for (const auto& r : *records) {
            node.m_pLinkList->AddTail({1, r.m_path});
        }
        m_db->DeleteVecRecCell(records);
        nodes.AddTail(node);
    }

    std::map<std::string, std::string> m_before;
};

}  // namespace

TEST_F(SitePages, RenameMovesTheFileAndRevisesEveryLinkInItsOwnFormOnly) {
    CLumSiteDDList nodes;
    addNode(nodes, "news/feed.xml", "news/latest news.xml");
    CLumFileOperation operation;
    EXPECT_EQ(operation.execute(nullptr, m_db, CLumFileOperation::kRename, path("news/feed.xml"),
                                path("news/latest news.xml"), &nodes),
              1);
    EXPECT_FALSE(std::filesystem::exists(m_dir.native("site/news/feed.xml")));
    EXPECT_TRUE(std::filesystem::exists(m_dir.native("site/news/latest news.xml")));

    // Relative links stay relative to their page (or its <base>); nothing
    // else of a page changes, Shift_JIS bytes included.
    EXPECT_EQ(m_dir.read("site/index.html"),
              replaced(m_before["index.html"], "href=\"news/feed.xml\"",
                       "href=\"news/latest%20news.xml\""));
    EXPECT_EQ(
        m_dir.read("site/news/index.html"),
        replaced(m_before["news/index.html"], "href=\"./feed.xml\"", "href=\"latest%20news.xml\""));
    EXPECT_EQ(m_dir.read("site/news/old/archive.htm"),
              replaced(m_before["news/old/archive.htm"], "href=\"feed.xml\"",
                       "href=\"latest%20news.xml\""));
    // A link that only mentions the feed's URL in its query is not a link to it.
    EXPECT_NE(m_dir.read("site/index.html").find("?u=https://ann.example/shop/news/feed.xml"),
              std::string::npos);
}

// What would leave a page naming a file that is gone refuses the rename
// before the file or any page changes, and names the page in the way.
TEST_F(SitePages, ARenameThatCannotReviseEveryPageChangesNothing) {
    struct Case {
        const char* name;
        bool fullDisk;
        const char* readOnly;  // a page marked read-only, or nullptr
    };
    for (const Case& c : {Case{"a read-only linking page", false, "news/index.html"},
                          Case{"a full disk", true, nullptr}}) {
        SCOPED_TRACE(c.name);
        if (c.readOnly) {
            std::filesystem::permissions(
                m_dir.native(std::string("site/") + c.readOnly),
                std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        }
        auto count = [&] {
            size_t files = 0;
            for (const auto& entry :
                 std::filesystem::recursive_directory_iterator(m_dir.native("site"))) {
                files += entry.is_regular_file() ? 1 : 0;
            }
            return files;
        };
        const size_t filesBefore = count();
        // 0 when the rename was refused with the pages in the way named (a
        // full disk refuses it sooner, when the plan cannot be recorded).
        auto rename = [&] {
            CLumSiteDDList nodes;
            addNode(nodes, "news/feed.xml", "news/latest.xml");
            CLumFileOperation operation;
            int renamed = operation.execute(nullptr, m_db, CLumFileOperation::kRename,
                                            path("news/feed.xml"), path("news/latest.xml"), &nodes);
            return renamed != 0 || (c.readOnly && operation.obstacles().empty()) ? 1 : 0;
        };
        EXPECT_EQ(c.fullDisk ? onFullDisk(rename) : rename(), 0);
        EXPECT_TRUE(std::filesystem::exists(m_dir.native("site/news/feed.xml")));
        EXPECT_FALSE(std::filesystem::exists(m_dir.native("site/news/latest.xml")));
        for (const auto& [page, bytes] : m_before) {
            EXPECT_EQ(m_dir.read("site/" + page), bytes) << page;
        }
        // No revised page is left waiting beside its page.
        EXPECT_EQ(count(), filesBefore);
        if (c.readOnly) {
            std::filesystem::permissions(m_dir.native(std::string("site/") + c.readOnly),
                                         std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        }
    }
}

TEST_F(SitePages, ADeletedFeedTakesAutoDiscoveryLinksAndLeavesAnchorContent) {
    std::filesystem::remove(m_dir.native("site/news/feed.xml"));
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    ASSERT_NE(docBase, nullptr);
    docBase->AddFile(path("news/feed.xml"), CString());
    for (const char* page : {"index.html", "news/index.html", "news/old/archive.htm"}) {
        EXPECT_TRUE(docBase->ReviseLinkedFile(path(page), 0)) << docBase->lastError();
    }
    EXPECT_FALSE(docBase->ReviseLinkedFile(CString(m_dir.windows("elsewhere.html")), 0));
    docBase->destroy();
    EXPECT_EQ(m_dir.read("site/index.html"),
              replaced(m_before["index.html"],
                       "<link rel=\"alternate\" type=\"application/rss+xml\" "
                       "href=\"news/feed.xml\">",
                       ""));
    EXPECT_EQ(
        m_dir.read("site/news/index.html"),
        replaced(m_before["news/index.html"], "<a href=\"./feed.xml\">\x83\x6A</a>", "\x83\x6A"));
    EXPECT_EQ(m_dir.read("site/news/old/archive.htm"),
              replaced(m_before["news/old/archive.htm"], "<a href=\"feed.xml\">f</a>", "f"));
}

TEST(PageRevision, RemovedLinesGoWholeAndNewValuesAreEscapedAndEncoded) {
    std::string page =
        "<html><head>\n  <link rel=alternate href=a.rss>\n<title>t</title></head>\n"
        "<body><img src='a.rss' alt=x><a href=b.rss>b</a></body></html>";
    std::string error;
    auto revised = lum::page::revisePageLinks(
        page,
        [](std::string_view element, std::string_view, std::string_view url) -> LinkDecision {
            if (url == "a.rss") {
                return {LinkAction::Remove, {}};
            }
            return {LinkAction::Replace, std::string(element) + "?x=1&y=\"2\""};
        },
        error);
    ASSERT_TRUE(revised) << error;
    EXPECT_EQ(revised->changes, 3u);
    EXPECT_EQ(revised->bytes,
              "<html><head>\n<title>t</title></head>\n"
              "<body><img alt=x><a href=\"a?x=1&amp;y=&quot;2&quot;\">b</a></body></html>");

    // A page nesting past the parser's limits is refused, not parsed for hours.
    std::string deep;
    for (int i = 0; i < 3000; ++i) {
        deep += "<div>";
    }
    EXPECT_FALSE(lum::page::revisePageLinks(deep + "<a href=a.rss>x</a>", {}, error));
    EXPECT_NE(error.find("too deeply nested"), std::string::npos);

    // Shift_JIS holds the kana; the rest becomes references.
    std::optional<lum::page::PageSource> sjis =
        lum::page::PageSource::read("<meta charset=Shift_JIS><p>\x83\x6A</p>", error);
    ASSERT_TRUE(sjis) << error;
    EXPECT_EQ(sjis->encoding(), "Shift_JIS");
    EXPECT_EQ(sjis->text(), "<meta charset=Shift_JIS><p>ニ</p>");
    EXPECT_EQ(sjis->byteOffset(sjis->text().find("</p>")), 29u);
    EXPECT_EQ(sjis->encode("ニ€😀"), "\x83\x6A&#x20AC;&#x1F600;");
}

// Every reference a move must follow, beside the link attributes: the URL
// changes where it is written and no other byte of the page does; a URL
// among others is not taken out.
TEST(PageRevision, FormsSrcsetsPostersRefreshesAndStylesFollowAMove) {
    auto moved = [](std::string_view, std::string_view, std::string_view url) -> LinkDecision {
        if (url == "gone.png") {
            return {LinkAction::Remove, {}};
        }
        if (url.substr(0, 3) == "old") {
            return {LinkAction::Replace, "new dir" + std::string(url.substr(3))};
        }
        return {};
    };
    struct {
        std::string page, expected;
    } cases[] = {
        {"<form action=\"old/search.html\" method=get>",
         "<form action=\"new dir/search.html\" method=get>"},
        {"<form action='gone.png'>", "<form>"},
        {"<video poster=old/p.jpg src=v.mp4>", "<video poster=\"new dir/p.jpg\" src=v.mp4>"},
        {"<img srcset=\"a.png 1x, old/b.png 2x,gone.png 3x\" src=a.png>",
         "<img srcset=\"a.png 1x, new dir/b.png 2x,gone.png 3x\" src=a.png>"},
        {"<picture><source srcset='old/s.webp'></picture>",
         "<picture><source srcset='new dir/s.webp'></picture>"},
        {"<meta http-equiv=Refresh content=\"0; URL='old/next.html'\">",
         "<meta http-equiv=Refresh content=\"0; URL='new dir/next.html'\">"},
        {"<meta http-equiv=refresh content=\"5;old/next.html\">",
         "<meta http-equiv=refresh content=\"5;new dir/next.html\">"},
        {"<meta name=refresh content=\"5;old/next.html\">",
         "<meta name=refresh content=\"5;old/next.html\">"},
        {"<p style=\"background: url(old/bg.png) , url( 'old/x\\'y.png' )\">",
         "<p style=\"background: url(new\\ dir/bg.png) , url( 'new dir/x\\'y.png' )\">"},
        {"<style>@import \"old/a.css\"; /* url(old/no.png) */ b{background:url(old/b.png)}</style>",
         "<style>@import \"new dir/a.css\"; /* url(old/no.png) */ b{background:url(new\\ "
         "dir/b.png)}</style>"},
    };
    for (const auto& c : cases) {
        std::string error;
        auto revised = lum::page::revisePageLinks(c.page, moved, error);
        ASSERT_TRUE(revised) << error;
        EXPECT_EQ(revised->bytes, c.expected);
    }
}

// A stylesheet is revised byte for byte like a page; what is not a URL (a
// comment, a string that is no @import) stays whatever it says.
TEST(PageRevision, StylesheetsKeepEveryByteButTheirUrls) {
    std::string css =
        "@charset \"utf-8\";\n@import url(\"old/print.css\") print;\n@IMPORT 'old/more.css';\n"
        "/* url(old/comment.png) */ .a::before { content: \"url(old/text.png)\" }\n"
        ".b { background: URL( old/\\28 b\\29.png ) no-repeat }\n.c{mask:url(写真/c.svg#m)}";
    std::vector<std::string> offered;
    std::string error;
    auto revised = lum::page::reviseStylesheetLinks(
        css,
        [&](std::string_view element, std::string_view base, std::string_view url) -> LinkDecision {
            offered.push_back(std::string(element) + " " + std::string(url) + std::string(base));
            if (url.substr(0, 3) == "old") {
                return {LinkAction::Replace, "../" + std::string(url)};
            }
            return {LinkAction::Replace, "ニュース/c.svg#m"};
        },
        error);
    ASSERT_TRUE(revised) << error;
    EXPECT_EQ(offered, (std::vector<std::string>{"@import old/print.css", "@import old/more.css",
                                                 "url old/(b).png", "url 写真/c.svg#m"}));
    EXPECT_EQ(revised->bytes,
              "@charset \"utf-8\";\n@import url(\"../old/print.css\") print;\n"
              "@IMPORT '../old/more.css';\n"
              "/* url(old/comment.png) */ .a::before { content: \"url(old/text.png)\" }\n"
              ".b { background: URL( ../old/\\(b\\).png ) no-repeat }\n"
              ".c{mask:url(%E3%83%8B%E3%83%A5%E3%83%BC%E3%82%B9/c.svg#m)}");
    EXPECT_EQ(revised->links.size(), 4u);
}

TEST(ShellFileOperation, DeletesEveryListedFileAndSaysWhenOneCouldNotBe) {
    TempDir dir;
    dir.write("a.rss", "a");
    dir.write("b.rss", "b");
    std::filesystem::create_directories(dir.native("c.rss"));
    std::u16string list = dir.windows("a.rss") + u'\0' + dir.windows("b.rss") + u'\0' + u'\0';
    SHFILEOPSTRUCTW asks;
    asks.wFunc = FO_DELETE;
    asks.pFrom = list.c_str();
    // Nobody could be asked to confirm: nothing is deleted.
    EXPECT_NE(SHFileOperationW(&asks), 0);
    EXPECT_TRUE(asks.fAnyOperationsAborted);
    EXPECT_TRUE(std::filesystem::exists(dir.native("a.rss")));

    SHFILEOPSTRUCTW op = asks;
    op.fFlags = FOF_NOCONFIRMATION;
    EXPECT_EQ(SHFileOperationW(&op), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.native("a.rss")));
    EXPECT_FALSE(std::filesystem::exists(dir.native("b.rss")));

    std::u16string folder = dir.windows("c.rss") + u'\0' + u'\0';
    op.pFrom = folder.c_str();
    EXPECT_NE(SHFileOperationW(&op), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.native("c.rss")));
    std::u16string empty(2, u'\0');
    op.pFrom = empty.c_str();
    EXPECT_NE(SHFileOperationW(&op), 0);
}

TEST(RecycledDB, KeepsAttributesByTheFirstPathOfAList) {
    TempDir dir;
    CLumRecycledDB recycled(dir.native("options.json").string());
    CString list(u"Z:\\s\\a.rss");
    list.AppendChar(u'\0');
    list += u"Z:\\s\\b.rss";
    list.AppendChar(u'\0');
    EXPECT_FALSE(recycled.HasRecycleData(list));
    ASSERT_TRUE(recycled.Remember(CString(u"Z:\\s\\a.rss"), 0x20, 7));
    DWORD attributes = 0;
    DWORD reserved = 0;
    ASSERT_TRUE(recycled.GetFileAttr(list, attributes, reserved));
    EXPECT_EQ(attributes, 0x20u);
    EXPECT_EQ(reserved, 7u);
    EXPECT_FALSE(recycled.DeleteSrc(list, 0x21, 7));
    EXPECT_TRUE(recycled.DeleteSrc(list, 0x20, 7));
    EXPECT_FALSE(recycled.HasRecycleData(list));
}

TEST_F(SitePages, TheLinkListShowsEachLinkingPageOnceAndCancelKeepsEverything) {
    std::ifstream in(ND_HOST_RES, std::ios::binary);
    std::string res((std::istreambuf_iterator<char>(in)), {});
    ASSERT_TRUE(
        nd::win32::registerModuleResources(GetModuleHandleW(nullptr), res.data(), res.size()));
    CLumSiteDDList nodes;
    addNode(nodes, "news/feed.xml", "");
    addNode(nodes, "rdf.txt", "");
    addNode(nodes, "sitemap.xml", "");  // no page links to it
    std::vector<std::u16string> shown;
    ndtest::TestUiDriver ui;
    auto readList = nd::win32::UiStep::run([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_LINK_LIST_PAGES);
        auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::u16string row(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), u' ');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
            shown.push_back(row);
        }
    });
    ui.expectDialog(IDD_LUM_SITE_LINK_LIST, {readList, nd::win32::UiStep::click(IDCANCEL)});
    CLumSiteLinkListDlg dialog(nullptr, 1);
    dialog.SetList(&nodes);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown,
              (std::vector<std::u16string>{
                  m_dir.windows("site/index.html"), m_dir.windows("site/news/index.html"),
                  m_dir.windows("site/news/old/archive.htm"), m_dir.windows("site/frames.html")}));
}
