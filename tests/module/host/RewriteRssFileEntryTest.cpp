#include "FullDisk.h"
#include "TempDir.h"
#include "TzGuard.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "win32/FileApi.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Rewrite : public ::testing::Test {
  protected:
    void SetUp() override {
        m_channel.m_format = 1;
        m_channel.m_title = u"ニュース";
        m_channel.m_pubDate = CTime(1700000000);
        CRSSItem item;
        item.m_title = u"one";
        item.m_pubDate = 1690000000;
        m_channel.addItem(item);
    }
    // Writes the channel as the stored feed, dated in the past.
    void store() {
        ASSERT_EQ(newsdesk::writeRssFile(CString(m_dir.windows("stored")), &m_channel), 1);
        fs::rename(m_dir.native("stored"), m_dir.native(m_name));
        fs::last_write_time(m_dir.native(m_name), m_past);
        m_stored = m_dir.read(m_name);
    }
    size_t entries() const { return std::distance(fs::directory_iterator(m_dir.path()), {}); }

    TzGuard m_tz{"UTC"};
    TempDir m_dir;
    std::string m_name = "feed.xml";
    CString m_path = CString(m_dir.windows(m_name));
    CRSSChannel m_channel;
    std::string m_stored;
    fs::file_time_type m_past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
};

}  // namespace

TEST_F(Rewrite, AFeedWhoseContentWouldNotChangeKeepsItsBytesAndTime) {
    store();
    CRSSChannel reread;
    ASSERT_EQ(newsdesk::readRssFile(m_path, &reread), 1);
    // The application sets the date to now before it saves; the stored date wins.
    reread.m_pubDate = CTime(1800000000);
    newsdesk::RewriteRssFileEntry(m_path, &reread);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);
    EXPECT_EQ(reread.m_keptTime.GetTime(), 1700000000);
    EXPECT_TRUE(reread.m_useKeptTime);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, AnUnchangedFeedWhoseNameIsNearTheLongestKeepsItsTimeToo) {
    m_name.clear();
    for (int i = 0; i < 83; ++i) {
        m_name += "記";
    }
    m_name += "a.xml";  // 254 bytes
    m_path = CString(m_dir.windows(m_name));
    store();
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, AFeedReachedThroughASymbolicLinkStaysLinked) {
    store();
    fs::create_symlink(m_name, m_dir.native("link.xml"));
    CString link(m_dir.windows("link.xml"));
    newsdesk::RewriteRssFileEntry(link, &m_channel);
    EXPECT_TRUE(fs::is_symlink(m_dir.native("link.xml")));
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);

    m_channel.m_title = u"changed";
    newsdesk::RewriteRssFileEntry(link, &m_channel);
    EXPECT_TRUE(fs::is_symlink(m_dir.native("link.xml")));
    CRSSChannel written;
    ASSERT_EQ(newsdesk::readRssFile(CString(m_dir.windows(m_name)), &written), 1);
    EXPECT_EQ(written.m_title, u"changed");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(Rewrite, AChangedFeedIsWrittenWithTheRecordsOwnDate) {
    store();
    m_channel.m_title = u"新しいニュース";
    m_channel.m_pubDate = CTime(1800000000);
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    CRSSChannel written;
    ASSERT_EQ(newsdesk::readRssFile(m_path, &written), 1);
    EXPECT_EQ(written.m_title, u"新しいニュース");
    EXPECT_EQ(written.m_pubDate.GetTime(), 1800000000);
    EXPECT_EQ(m_channel.m_keptTime.GetTime(), 1700000000);
    EXPECT_FALSE(m_channel.m_useKeptTime);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, APathWithNoFileGetsTheFeedInOneWrite) {
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    CRSSChannel written;
    ASSERT_EQ(newsdesk::readRssFile(m_path, &written), 1);
    EXPECT_EQ(written.m_pubDate.GetTime(), 1700000000);
    EXPECT_FALSE(m_channel.m_useKeptTime);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, WhenNothingNewIsWrittenTheStoredFeedIsNeverDeleted) {
    store();
    m_channel.m_title = u"changed";
    m_channel.m_format = 5;
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, AFailedSaveLeavesTheStoredFeedWhereItWas) {
    store();
    m_channel.m_title = u"changed";
    m_channel.m_format = 2;
    EXPECT_EQ(onFullDisk([&] {
                  newsdesk::RewriteRssFileEntry(m_path, &m_channel);
                  return 7;
              }),
              7);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, ANullChannelTouchesNothing) {
    store();
    newsdesk::RewriteRssFileEntry(m_path, nullptr);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
}

// What a killed save leaves beside the feed is settled by the next save.
TEST_F(Rewrite, AKeptCopyThatIsTheOnlyGoodVersionIsPutBack) {
    store();
    fs::rename(m_dir.native(m_name), m_dir.native("." + m_name + ".ndkept"));
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, AKeptCopyOfTheSameBytesGivesTheFeedItsOldTimeBack) {
    store();
    // Killed after the trial copy of an unchanged feed took the name.
    fs::copy_file(m_dir.native(m_name), m_dir.native("." + m_name + ".ndkept"));
    fs::last_write_time(m_dir.native("." + m_name + ".ndkept"), m_past);
    fs::last_write_time(m_dir.native(m_name), fs::file_time_type::clock::now());
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    EXPECT_EQ(fs::last_write_time(m_dir.native(m_name)), m_past);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Rewrite, LeftoversOfKilledSavesGoButOtherFilesStay) {
    store();
    m_dir.write("." + m_name + ".ndkept", "an older feed");
    m_dir.write("." + m_name + ".a1B2c3.ndsave", "<rss><chan");
    m_dir.write("feed~1.xml", "mine");
    m_dir.write("." + m_name + ".a1B2c3", "mine too");
    m_dir.write(".other.xml.a1B2c3.ndsave", "another feed's");
    // A save in progress elsewhere holds its temporary file locked.
    m_dir.write("." + m_name + ".zZ9yY8.ndsave", "busy");
    int busy = ::open(m_dir.native("." + m_name + ".zZ9yY8.ndsave").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    m_channel.m_title = u"changed";
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    ::close(busy);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_NE(m_dir.read(m_name), m_stored);
    EXPECT_FALSE(fs::exists(m_dir.native("." + m_name + ".ndkept")));
    EXPECT_FALSE(fs::exists(m_dir.native("." + m_name + ".a1B2c3.ndsave")));
    EXPECT_EQ(m_dir.read("feed~1.xml"), "mine");
    EXPECT_EQ(m_dir.read("." + m_name + ".a1B2c3"), "mine too");
    EXPECT_EQ(m_dir.read(".other.xml.a1B2c3.ndsave"), "another feed's");
    EXPECT_EQ(m_dir.read("." + m_name + ".zZ9yY8.ndsave"), "busy");
    EXPECT_EQ(entries(), 5u);
}

TEST_F(Rewrite, TheOutcomeIsLeftInTheLastError) {
    store();
    m_channel.m_title = u"changed";
    EXPECT_EQ(onFullDisk([&] {
                  newsdesk::RewriteRssFileEntry(m_path, &m_channel);
                  return static_cast<int>(GetLastError());
              }),
              static_cast<int>(ERROR_FILE_TOO_LARGE));
    m_channel.m_format = 9;
    SetLastError(ERROR_SUCCESS);
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(m_dir.read(m_name), m_stored);
    m_channel.m_format = 1;
    SetLastError(ERROR_ACCESS_DENIED);
    newsdesk::RewriteRssFileEntry(m_path, &m_channel);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}
