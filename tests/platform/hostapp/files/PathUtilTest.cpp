#include "hostapp/files/PathUtil.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(PathUtil, BasePathKeepsTheSeparatorAndBaseNameTheRest) {
    EXPECT_EQ(getBasePath(u"Z:\\site\\news.rss"), u"Z:\\site\\");
    EXPECT_EQ(getBaseName(u"Z:\\site\\news.rss"), u"news.rss");
    EXPECT_EQ(getBasePath(u"news.rss"), u"");
    EXPECT_EQ(getBaseName(u"news.rss"), u"news.rss");
    EXPECT_EQ(getBaseName(u"Z:\\site\\"), u"");
}

TEST(PathUtil, AddLastYenMarkAddsOnlyWhenMissing) {
    CString a(u"Z:\\site");
    addLastYenMark(a);
    addLastYenMark(a);
    EXPECT_EQ(a, u"Z:\\site\\");
    CString empty;
    addLastYenMark(empty);
    EXPECT_EQ(empty, u"");
}

TEST(PathUtil, UnderRootComparesWholeComponentsAndNamesExactly) {
    EXPECT_EQ(under_root_p(u"Z:\\site\\a\\news.rss", u"z:\\site"), 1);
    EXPECT_EQ(under_root_p(u"z:/site/a/news.rss", u"Z:\\site\\"), 1);
    EXPECT_EQ(under_root_p(u"Z:\\Site\\a\\news.rss", u"Z:\\site"), 0);
    EXPECT_EQ(under_root_p(u"Z:\\x\\SITE\\news.rss", u"Z:\\x\\site"), 0);
    EXPECT_EQ(under_root_p(u"Y:\\site\\news.rss", u"Z:\\site"), 0);
    EXPECT_EQ(under_root_p(u"Z:\\site", u"Z:\\site\\"), 1);
    EXPECT_EQ(under_root_p(u"Z:\\site2\\news.rss", u"Z:\\site"), 0);
    EXPECT_EQ(under_root_p(u"Z:\\other\\news.rss", u"Z:\\site"), 0);
    EXPECT_EQ(under_root_p(u"Z:\\site\\a.rss", u""), 0);
}

TEST(PathUtil, FileComparisonAndExistence) {
    TempDir dir;
    dir.write("a", std::string(40000, 'x'));
    dir.write("b", std::string(40000, 'x'));
    dir.write("c", std::string(40000, 'x') + "y");
    dir.write("empty1", "");
    dir.write("empty2", "");
    EXPECT_TRUE(cmp_file(dir.windows("a"), dir.windows("b")));
    EXPECT_FALSE(cmp_file(dir.windows("a"), dir.windows("c")));
    EXPECT_TRUE(cmp_file(dir.windows("empty1"), dir.windows("empty2")));
    EXPECT_FALSE(cmp_file(dir.windows("a"), dir.windows("missing")));
    EXPECT_NE(is_file(dir.windows("a")), 0);
    EXPECT_EQ(is_file(dir.windows()), 0);  // a folder is not a file
    EXPECT_EQ(is_file(dir.windows("missing")), 0);
}

TEST(PathUtil, UniquePathAvoidsExistingFiles) {
    TempDir dir;
    CString folder = dir.windows();
    CString first = LumTempFile::makeUniquePath(u"news.rss", folder, 0, u"");
    EXPECT_EQ(first, folder + u"\\news~1.rss");
    dir.write("news~1.rss", "taken");
    EXPECT_EQ(LumTempFile::makeUniquePath(u"news.rss", folder, 0, u""), folder + u"\\news~2.rss");
}

TEST(PathUtil, AUniquePathForANameNearTheLongestStillFitsIntoItsFolder) {
    TempDir dir;
    CString folder(dir.windows());
    CString stem;
    for (int i = 0; i < 82; ++i) {
        stem += u"記";
    }
    stem += u"\U0001F399";  // 250 bytes, 254 with ".xml"
    CString name = stem + u".xml";
    dir.write(name.toUtf8(), "feed");
    // The character outside the Basic Multilingual Plane goes as a whole.
    CString unique = LumTempFile::makeUniquePath(name, folder, 0, u"");
    EXPECT_EQ(unique, folder + u"\\" + stem.Left(82) + u"~1.xml");
    dir.write(unique.Mid(folder.GetLength() + 1).toUtf8(), "taken");
    EXPECT_EQ(LumTempFile::makeUniquePath(name, folder, 0, u""),
              folder + u"\\" + stem.Left(82) + u"~2.xml");
}

TEST(PathUtil, TheFinalPathFollowsSymbolicLinksAndLeavesOtherPathsAlone) {
    TempDir dir;
    std::filesystem::create_directory(dir.native("real"));
    dir.write("real/feed.xml", "x");
    std::filesystem::create_symlink("real/feed.xml", dir.native("link.xml"));
    std::filesystem::create_symlink("gone.xml", dir.native("dangling.xml"));
    EXPECT_EQ(LumGetFinalPathName(CString(dir.windows("link.xml"))),
              CString(dir.windows("real/feed.xml")));
    for (const char* name : {"real/feed.xml", "dangling.xml", "missing.xml"}) {
        EXPECT_EQ(LumGetFinalPathName(CString(dir.windows(name))), CString(dir.windows(name)));
    }
}

TEST(PathUtil, LongPathNameReportsTheSizeNeeded) {
    char16_t small[4];
    EXPECT_EQ(LumGetLongPathName(u"Z:/a/b.rss", small, 4), 11u);
    char16_t buffer[1024];
    EXPECT_EQ(LumGetLongPathName(u"Z:/a/b.rss", buffer, 1024), 10u);
    EXPECT_EQ(CString(buffer), u"Z:\\a\\b.rss");
    EXPECT_EQ(LumGetLongPathName(u"", buffer, 1024), 0u);
}
