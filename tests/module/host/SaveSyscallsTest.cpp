// Saves watched at the system-call boundary: this program puts its own
// linkat, fsync and rename in front of the C library's, so it can see the
// order of what reaches the disk and make hard links impossible, as on a
// file system without them.
#include "TempDir.h"
#include "TzGuard.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "win32/FileApi.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool g_noLinks = false;
// ("fsync", inode) and ("rename", inode of the file renamed).
std::vector<std::pair<std::string, ino_t>> g_calls;

template <typename Fn>
Fn next(const char* name) {
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (g_noLinks) {
        errno = EPERM;
        return -1;
    }
    static auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return real(fromDir, from, toDir, to, flags);
}

extern "C" int fsync(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        g_calls.emplace_back("fsync", st.st_ino);
    }
    static auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    struct stat st {};
    if (::lstat(from, &st) == 0) {
        g_calls.emplace_back("rename", st.st_ino);
    }
    static auto real = next<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}

namespace {

class SaveSyscalls : public ::testing::Test {
  protected:
    void SetUp() override {
        m_channel.m_format = 1;
        m_channel.m_title = u"News";
        m_channel.m_pubDate = CTime(1700000000);
        ASSERT_EQ(newsdesk::writeRssFile(m_path, &m_channel), 1);
        fs::last_write_time(m_dir.native("feed.xml"), m_past);
        m_stored = m_dir.read("feed.xml");
        g_calls.clear();
    }
    void TearDown() override { g_noLinks = false; }
    size_t entries() const { return std::distance(fs::directory_iterator(m_dir.path()), {}); }

    TzGuard m_tz{"UTC"};
    TempDir m_dir;
    CString m_path = CString(m_dir.windows("feed.xml"));
    CRSSChannel m_channel;
    std::string m_stored;
    fs::file_time_type m_past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
};

}  // namespace

TEST_F(SaveSyscalls, EveryFileIsSyncedBeforeItTakesItsName) {
    m_channel.m_title = u"Changed";
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    int renames = 0;
    for (size_t i = 0; i < g_calls.size(); ++i) {
        if (g_calls[i].first != "rename") {
            continue;
        }
        ++renames;
        bool synced = false;
        for (size_t j = 0; j < i; ++j) {
            synced =
                synced || (g_calls[j].first == "fsync" && g_calls[j].second == g_calls[i].second);
        }
        EXPECT_TRUE(synced) << "rename " << renames << " of a file never synced";
    }
    // Compared first, a changed feed is written once, straight in its place.
    EXPECT_EQ(renames, 1);
}

TEST_F(SaveSyscalls, WithoutLinksAnUnchangedFeedKeepsItsBytesAndTime) {
    g_noLinks = true;
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(m_dir.read("feed.xml"), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native("feed.xml")), m_past);
    EXPECT_EQ(entries(), 1u);
    // Compared, never moved aside nor written.
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SaveSyscalls, WithoutLinksAFailedSavePutsTheStoredFeedBack) {
    g_noLinks = true;
    m_channel.m_title = u"Changed";
    m_channel.m_format = 7;
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(m_dir.read("feed.xml"), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native("feed.xml")), m_past);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SaveSyscalls, WithoutLinksAChangedFeedIsWrittenAndNothingIsLeft) {
    g_noLinks = true;
    m_channel.m_title = u"Changed";
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_NE(m_dir.read("feed.xml").find("Changed"), std::string::npos);
    EXPECT_EQ(entries(), 1u);
}
