#include "win32/PathMapping.h"

#include <gtest/gtest.h>

using nd::win32::toNativePath;
using nd::win32::toWindowsPath;

TEST(PathMapping, DriveZIsTheRootInEitherLetterCase) {
    EXPECT_EQ(toNativePath(u"Z:\\home\\ann\\site\\news.rss"), "/home/ann/site/news.rss");
    EXPECT_EQ(toNativePath(u"z:\\home\\ann"), "/home/ann");
    EXPECT_EQ(toNativePath(u"Z:\\"), "/");
    EXPECT_EQ(toNativePath(u"Z:"), "/");
}

TEST(PathMapping, SeparatorsOfBothKindsCollapseAndATrailingOneIsKept) {
    EXPECT_EQ(toNativePath(u"Z:/home//ann\\\\site\\"), "/home/ann/site/");
    EXPECT_EQ(toWindowsPath("/home/ann/site/"), u"Z:\\home\\ann\\site\\");
    EXPECT_EQ(toWindowsPath("//home///ann"), u"Z:\\home\\ann");
}

TEST(PathMapping, PathsOffDriveZMapToNothing) {
    EXPECT_EQ(toNativePath(u"C:\\Windows\\win.ini"), std::nullopt);
    EXPECT_EQ(toNativePath(u"\\\\server\\share\\a.rss"), std::nullopt);
    EXPECT_EQ(toNativePath(u"relative\\a.rss"), std::nullopt);
    EXPECT_EQ(toNativePath(u"Z:relative"), std::nullopt);
    EXPECT_EQ(toNativePath(u""), std::nullopt);
}

TEST(PathMapping, JapaneseNamesRoundTrip) {
    const std::string native = "/home/ann/サイト/ニュース 𠮷.rss";
    auto windows = toWindowsPath(native);
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(*windows, u"Z:\\home\\ann\\サイト\\ニュース 𠮷.rss");
    EXPECT_EQ(toNativePath(*windows), native);
}

TEST(PathMapping, RelativeNativePathsAreMadeAbsolute) {
    auto windows = toWindowsPath("a/b.rss");
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(windows->substr(0, 3), u"Z:\\");
    EXPECT_EQ(windows->substr(windows->size() - 6), u"\\b.rss");
}

TEST(PathMapping, NativeNamesWithABackslashHaveNoWindowsForm) {
    EXPECT_EQ(toWindowsPath("/tmp/odd\\name"), std::nullopt);
    EXPECT_EQ(toWindowsPath(""), std::nullopt);
}
