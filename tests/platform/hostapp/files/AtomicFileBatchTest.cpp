#include "TempDir.h"
#include "hostapp/files/AtomicFileBatch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

TEST(AtomicFileBatch, CommitReplacesEveryFileKeepingItsMode) {
    TempDir dir;
    dir.write("a.html", "old a");
    dir.write("b.html", "old b");
    ::chmod(dir.native("b.html").c_str(), 0640);
    lum::AtomicFileBatch batch;
    EXPECT_TRUE(batch.add(CString(dir.windows("a.html")), "new a"));
    EXPECT_TRUE(batch.add(CString(dir.windows("b.html")), "new b"));
    // Nothing changes before the commit.
    EXPECT_EQ(dir.read("a.html"), "old a");
    EXPECT_TRUE(batch.commit().empty());
    EXPECT_EQ(dir.read("a.html"), "new a");
    EXPECT_EQ(dir.read("b.html"), "new b");
    struct stat st {};
    ASSERT_EQ(::stat(dir.native("b.html").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"a.html", "b.html"}));
}

TEST(AtomicFileBatch, AReplacedPageKeepsItsOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another user";
    }
    TempDir dir;
    dir.write("a.html", "old a");
    ASSERT_EQ(::chown(dir.native("a.html").c_str(), 33, 33), 0);
    lum::AtomicFileBatch batch;
    EXPECT_TRUE(batch.add(CString(dir.windows("a.html")), "new a"));
    EXPECT_TRUE(batch.commit().empty());
    struct stat st {};
    ASSERT_EQ(::stat(dir.native("a.html").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 33u);
    EXPECT_EQ(st.st_gid, 33u);
}

TEST(AtomicFileBatch, WhatIsNotCommittedOrCannotBeReplacedStaysAsItWas) {
    TempDir dir;
    dir.write("a.html", "old a");
    dir.write("locked.html", "old locked");
    ::chmod(dir.native("locked.html").c_str(), 0444);
    {
        lum::AtomicFileBatch batch;
        EXPECT_TRUE(batch.add(CString(dir.windows("a.html")), "new a"));
        EXPECT_FALSE(batch.add(CString(dir.windows("locked.html")), "new"));
        EXPECT_FALSE(batch.add(CString(dir.windows("missing.html")), "new"));
    }
    EXPECT_EQ(dir.read("a.html"), "old a");
    EXPECT_EQ(dir.read("locked.html"), "old locked");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"a.html", "locked.html"}));

    // A folder that took a page's place between revision and commit: that
    // page is reported, the others are replaced, no temporary file is left.
    dir.write("gone.html", "old");
    lum::AtomicFileBatch batch;
    EXPECT_TRUE(batch.add(CString(dir.windows("gone.html")), "new"));
    EXPECT_TRUE(batch.add(CString(dir.windows("a.html")), "new a"));
    std::filesystem::remove(dir.native("gone.html"));
    std::filesystem::create_directories(dir.native("gone.html/inside"));
    std::vector<CString> failed = batch.commit();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0], CString(dir.windows("gone.html")));
    EXPECT_EQ(dir.read("a.html"), "new a");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"a.html", "gone.html", "locked.html"}));
}
