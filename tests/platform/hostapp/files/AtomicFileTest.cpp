#include "FullDisk.h"
#include "TempDir.h"
#include "hostapp/files/AtomicFile.h"
#include "win32/FileApi.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

TEST(AtomicFile, ReplacesContentAndKeepsTheOldFilesPermissions) {
    TempDir dir;
    dir.write("feed.rss", "old");
    ::chmod(dir.native("feed.rss").c_str(), 0644);
    ASSERT_TRUE(lum::writeFileAtomically(CString(dir.windows("feed.rss")), "new", true));
    EXPECT_EQ(dir.read("feed.rss"), "new");
    struct stat st {};
    ::stat(dir.native("feed.rss").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST(AtomicFile, WithoutReplaceAnExistingFileIsLeftAlone) {
    TempDir dir;
    dir.write("logo.png", "mine");
    EXPECT_FALSE(lum::writeFileAtomically(CString(dir.windows("logo.png")), "png", false));
    EXPECT_EQ(dir.read("logo.png"), "mine");
    EXPECT_TRUE(lum::writeFileAtomically(CString(dir.windows("new.png")), "png", false));
    EXPECT_EQ(dir.read("new.png"), "png");
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST(AtomicFile, AFailureLeavesTheOldFileAndNoTemporaryFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    TempDir dir;
    dir.write("feed.rss", "old");
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(lum::writeFileAtomically(CString(dir.windows("feed.rss")), "new", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(dir.read("feed.rss"), "old");
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    dir.write("feed.rss", "old");
    std::string big(4096, 'x');
    EXPECT_EQ(onFullDisk([&] {
                  return lum::writeFileAtomically(CString(dir.windows("feed.rss")), big, true);
              }),
              0);
    EXPECT_EQ(dir.read("feed.rss"), "old");
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST(AtomicFile, NamesUpToTheLongestAFolderAllowsAreWritten) {
    TempDir dir;
    // 255 bytes each; the second ends in two-byte characters where the
    // temporary name has to be cut.
    for (const std::string& name :
         {std::string(255, 'n'),
          std::string(245, 'a') + "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"}) {
        dir.write(name, "old");
        EXPECT_TRUE(lum::writeFileAtomically(CString(dir.windows(name)), "new", true));
        EXPECT_EQ(dir.read(name), "new");
    }
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST(AtomicFile, PathsThatNameNoFileFail) {
    TempDir dir;
    std::filesystem::create_directory(dir.native("folder"));
    EXPECT_FALSE(lum::writeFileAtomically(CString(dir.windows("folder")), "x", true));
    EXPECT_FALSE(lum::writeFileAtomically(CString(dir.windows("missing/feed.rss")), "x", true));
    EXPECT_FALSE(lum::writeFileAtomically(u"C:\\feed.rss", "x", true));
    EXPECT_TRUE(std::filesystem::is_directory(dir.native("folder")));
}

TEST(AtomicFile, ALargeFileWrittenBackAsItGoesArrivesWhole) {
    TempDir dir;
    std::string piece(1 << 20, 'x');
    std::vector<long long> askedAt;
    ASSERT_TRUE(lum::writeFileAtomically(
        CString(dir.windows("big.xml")),
        [&](int fd) {
            long long written = 0;
            long long end = 0;
            for (int i = 0; i < 20; ++i) {
                piece[0] = static_cast<char>('a' + i);
                if (::write(fd, piece.data(), piece.size()) != static_cast<ssize_t>(piece.size())) {
                    return EIO;
                }
                end += static_cast<long long>(piece.size());
                long long before = written;
                lum::startWritingBack(fd, written, end);
                if (written != before) {
                    askedAt.push_back(written);
                }
            }
            return 0;
        },
        true));
    // Every 8 MiB, not for each piece, and not for the tail the flush takes.
    EXPECT_EQ(askedAt, (std::vector<long long>{8LL << 20, 16LL << 20}));
    std::string content = dir.read("big.xml");
    ASSERT_EQ(content.size(), 20u << 20);
    EXPECT_EQ(content[0], 'a');
    EXPECT_EQ(content[19u << 20], 't');
    EXPECT_EQ(content.back(), 'x');
}
