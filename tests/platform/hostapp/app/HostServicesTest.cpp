#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/app/CLumFileService.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/media/CLumMimeUtility.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

#include <memory>

TEST(HostServices, StandardPathFormChangesTheCallersStringAndLeavesConstOnesAlone) {
    CString path = u"file:///Z:/site/x/../b%20c.mp3";
    CString copy = conv_std_path(path);
    EXPECT_EQ(path, u"Z:\\site\\b c.mp3");
    EXPECT_EQ(copy, path);
    const CString fixed = u"Z:/a/./b.rss";
    EXPECT_EQ(conv_std_path(fixed), u"Z:\\a\\b.rss");
    EXPECT_EQ(fixed, u"Z:/a/./b.rss");
}

TEST(HostServices, ExtensionIsTakenFromTheNameOnly) {
    EXPECT_EQ(getBaseExt(u"Z:\\media\\talk.MP3"), u"MP3");
    EXPECT_EQ(getBaseExt(u"Z:\\media\\a.tar.gz"), u"gz");
    EXPECT_EQ(getBaseExt(u"Z:\\media.d\\talk"), u"");
    EXPECT_EQ(getBaseExt(u"Z:/media.d/talk"), u"");
    EXPECT_EQ(getBaseExt(u"Z:\\media\\talk."), u"");
    EXPECT_EQ(getBaseExt(u""), u"");
}

TEST(HostServices, PathToUrlFormsAFileUrlOnlyForPaths) {
    EXPECT_EQ(SIFUtil::PCPathtoURL(u"Z:\\site\\a b\\..\\news.rss"), u"file:///Z:/site/news.rss");
    EXPECT_EQ(SIFUtil::PCPathtoURL(u"file:///Z:/site/news.rss"), u"file:///Z:/site/news.rss");
    EXPECT_EQ(SIFUtil::PCPathtoURL(u"news.rss"), u"");
    EXPECT_EQ(SIFUtil::PCPathtoURL(u"http://example.com/news.rss"), u"");
    EXPECT_EQ(SIFUtil::PCPathtoURL(u"file://server/share/news.rss"), u"");
    EXPECT_EQ(SIFUtil::PCPathtoURL(u""), u"");
}

TEST(HostServices, FileServiceAsksTheChooserForTheKindGiven) {
    std::unique_ptr<CLumFileService> service(CLumAppEngineer::getInstance()->createFileService());
    ASSERT_NE(service, nullptr);
    ndtest::TestUiDriver ui;
    ui.choosePath(u"Z:\\media\\talk.wav");
    ui.cancelChooser();
    EXPECT_EQ(service->GetOpenFile(24, nullptr, CString(), nullptr), u"Z:\\media\\talk.wav");
    EXPECT_EQ(service->GetOpenFile(2, nullptr, u"logo.png", nullptr), u"");
    ASSERT_EQ(ui.choosersShown().size(), 2u);
    EXPECT_EQ(ui.choosersShown()[0].kind, nd::win32::ChooserKind::OpenFile);
    EXPECT_EQ(ui.choosersShown()[0].fileKind, 24);
    EXPECT_EQ(ui.choosersShown()[1].fileKind, 2);
    EXPECT_EQ(ui.choosersShown()[1].initialPath, u"logo.png");
}

TEST(HostServices, MediaTypesComeFromTheSystemTable) {
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u"mp3"), u"audio/mpeg");
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u"M4A"), u"audio/mp4");
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u".mov"), u"video/quicktime");
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u"pdf"), u"application/pdf");
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u"nosuchextension"), u"");
    EXPECT_EQ(CLumMimeUtility::getMimeTypeOfExtension(u""), u"");
}

TEST(HostServices, MimeTableSkipsCommentsAndKeepsTheFirstTypeOfAnExtension) {
    auto table = lum::parseMimeTypes(
        "# comment mp3\n"
        "audio/mpeg\t\tmpga MP3 # trailing comment x\n"
        "not-a-type  foo\n"
        "text/x-sh sh\n"
        "application/x-sh sh\n"
        "image/png\n");
    EXPECT_EQ(table.at("mp3"), "audio/mpeg");
    EXPECT_EQ(table.at("sh"), "text/x-sh");
    EXPECT_EQ(table.count("foo"), 0u);
    EXPECT_EQ(table.count("x"), 0u);
    EXPECT_EQ(table.size(), 3u);
}

TEST(HostServices, FunctionTableKnowsNoUnregisteredNumber) {
    auto* table = CLumDllFunctionEngineer::getInstance();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, CLumDllFunctionEngineer::getInstance());
    EXPECT_EQ(table->GetFunctionAddr(0), nullptr);
    EXPECT_EQ(table->GetFunctionAddr(-40220), nullptr);
}
