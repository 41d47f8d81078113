#include "win32/FileApi.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(FileApi, MoveRefusesToReplaceAnExistingFileUnlessAsked) {
    TempDir dir;
    dir.write("a", "old");
    dir.write("b", "new");
    auto a = dir.windows("a");
    auto b = dir.windows("b");
    EXPECT_FALSE(MoveFileW(b.c_str(), a.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(dir.read("a"), "old");
    EXPECT_TRUE(MoveFileExW(b.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(dir.read("a"), "new");
    EXPECT_EQ(GetFileAttributesW(b.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileApi, FailuresReportAWindowsErrorCode) {
    TempDir dir;
    auto missing = dir.windows("missing");
    EXPECT_FALSE(DeleteFileW(missing.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileW(u"C:\\nowhere.txt"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(DeleteFileW(dir.windows().c_str()));  // a folder is not a file
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(FileApi, CopyKeepsAnExistingTargetWhenToldTo) {
    TempDir dir;
    dir.write("a", "one");
    dir.write("b", "two");
    EXPECT_FALSE(CopyFileW(dir.windows("a").c_str(), dir.windows("b").c_str(), TRUE));
    EXPECT_EQ(dir.read("b"), "two");
    EXPECT_TRUE(CopyFileW(dir.windows("a").c_str(), dir.windows("b").c_str(), FALSE));
    EXPECT_EQ(dir.read("b"), "one");
}

TEST(FileApi, AttributesTellFoldersFromFiles) {
    TempDir dir;
    dir.write("f", "x");
    EXPECT_EQ(GetFileAttributesW(dir.windows().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(dir.windows("f").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(FileApi, AHardLinkIsASecondNameThatOutlivesTheFirst) {
    TempDir dir;
    dir.write("a.rss", "old");
    ASSERT_TRUE(
        CreateHardLinkW(dir.windows("b.rss").c_str(), dir.windows("a.rss").c_str(), nullptr));
    EXPECT_FALSE(
        CreateHardLinkW(dir.windows("b.rss").c_str(), dir.windows("a.rss").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(DeleteFileW(dir.windows("a.rss").c_str()));
    EXPECT_EQ(dir.read("b.rss"), "old");
    EXPECT_FALSE(
        CreateHardLinkW(dir.windows("c.rss").c_str(), dir.windows("a.rss").c_str(), nullptr));
}
