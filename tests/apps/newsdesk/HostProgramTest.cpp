// The host program as a person runs it: how saves that fail are reported,
// and what is refused before anything is opened or written.
#include "FullDisk.h"
#include "TempDir.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

// The user the program runs as when a test asks for another one.
constexpr uid_t kOtherUser = 33;

// Runs the program in folder with args; fullDisk limits the files it may
// write to 16 bytes. Standard input reads input. asOther runs it as
// kOtherUser (the caller must be the superuser).
Outcome run(const fs::path& folder, std::vector<std::string> args, bool fullDisk = false,
            const std::string& input = "", bool asOther = false) {
    args.insert(args.begin(), NEWSDESK_PROGRAM);
    int out[2];
    int err[2];
    int in[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0 || ::pipe(in) != 0) {
        return {};
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::dup2(in[0], 0);
        ::close(out[0]);
        ::close(err[0]);
        ::close(in[1]);
        if (asOther &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
             ::setresuid(kOtherUser, kOtherUser, kOtherUser) != 0)) {
            ::_exit(125);
        }
        if (asOther) {
            // The superuser's settings are not the other user's to read.
            ::setenv("HOME", folder.c_str(), 1);
            ::unsetenv("XDG_CONFIG_HOME");
        }
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        if (fullDisk) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {
                16, 16
            };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ::close(in[0]);
    if (!input.empty()) {
        [[maybe_unused]] ssize_t written = ::write(in[1], input.data(), input.size());
    }
    ::close(in[1]);
    Outcome result;
    result.out = slurp(out[0]);
    result.err = slurp(err[0]);
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool oneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

const std::string kRecords = NEWSDESK_FIXTURES "/write/";

class HostProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run(m_dir.path(), {"write", kRecords + "record_rss2.json", "feed.xml"}).status,
                  0);
        ASSERT_EQ(
            run(m_dir.path(), {"write", kRecords + "record_podcast.json", "other.xml"}).status, 0);
        m_feed = m_dir.read("feed.xml");
        m_other = m_dir.read("other.xml");
    }
    size_t entries() const { return std::distance(fs::directory_iterator(m_dir.path()), {}); }
    // The changes each command would make: a different format or record.
    std::vector<std::vector<std::string>> saves() const {
        return {{"write", kRecords + "record_rss1.json", "feed.xml"},
                {"convert", "feed.xml", "--to", "podcast"},
                {"convert", "other.xml", "--to", "rss2", "-o", "feed.xml"},
                {"rewrite", "feed.xml"}};
    }

    TempDir m_dir;
    std::string m_feed;
    std::string m_other;
};

}  // namespace

TEST_F(HostProgram, EverySaveOnAFullDiskFailsWithOneLineAndLeavesTheFeed) {
    // rewrite changes the feed only when its content would change.
    m_dir.write("record.json", "{\"format\": 1, \"title\": \"x\"}");
    for (const auto& args : saves()) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        std::vector<std::string> changing = args;
        if (args[0] == "rewrite") {
            // A feed in another layout than ours: its rewrite differs.
            std::string loose = m_feed;
            loose.insert(loose.find("<channel>"), "\n\n");
            m_dir.write("feed.xml", loose);
        }
        std::string before = m_dir.read("feed.xml");
        Outcome r = run(m_dir.path(), changing, true);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(oneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("feed.xml: not saved: the file would be larger"), std::string::npos)
            << r.err;
        EXPECT_EQ(m_dir.read("feed.xml"), before);
        EXPECT_EQ(m_dir.read("other.xml"), m_other);
        EXPECT_EQ(entries(), 3u);
        m_dir.write("feed.xml", m_feed);
    }
}

TEST_F(HostProgram, EverySaveOverAReadOnlyFileFailsEvenForTheSuperuser) {
    ::chmod(m_dir.native("feed.xml").c_str(), 0444);
    std::string loose = m_feed;
    loose.insert(loose.find("<channel>"), "\n\n");
    ::chmod(m_dir.native("feed.xml").c_str(), 0644);
    m_dir.write("feed.xml", loose);
    ::chmod(m_dir.native("feed.xml").c_str(), 0444);
    for (const auto& args : saves()) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Outcome r = run(m_dir.path(), args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "newsdesk: feed.xml: not saved: the file is read-only\n");
        EXPECT_EQ(m_dir.read("feed.xml"), loose);
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(HostProgram, AReadOnlyFeedStaysAsItWasForAnotherUserOnEverySavePath) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can run the program as another user";
    }
    ::chmod(m_dir.path().c_str(), 0777);
    if (run(m_dir.path(), {"--version"}, false, "", true).status != 0) {
        GTEST_SKIP() << "the other user cannot run the program from this build folder";
    }
    std::string loose = m_feed;
    loose.insert(loose.find("<channel>"), "\n\n");
    m_dir.write("feed.xml", loose);
    ::chmod(m_dir.native("feed.xml").c_str(), 0444);
    for (const auto& args : saves()) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Outcome r = run(m_dir.path(), args, false, "", true);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "newsdesk: feed.xml: not saved: the file is read-only\n");
        EXPECT_EQ(m_dir.read("feed.xml"), loose);
        struct stat st {};
        ::stat(m_dir.native("feed.xml").c_str(), &st);
        EXPECT_EQ(st.st_uid, 0u);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(HostProgram, AnUnchangedReadOnlyFeedIsUnchangedForItsOwnerAndOthers) {
    ::chmod(m_dir.path().c_str(), 0777);
    ::chmod(m_dir.native("feed.xml").c_str(), 0444);
    struct stat before {};
    ::stat(m_dir.native("feed.xml").c_str(), &before);
    std::vector<bool> users = {false};
    if (::geteuid() == 0 && run(m_dir.path(), {"--version"}, false, "", true).status == 0) {
        users.push_back(true);
    }
    for (bool other : users) {
        SCOPED_TRACE(other ? "another user" : "the owner");
        Outcome r = run(m_dir.path(), {"rewrite", "feed.xml"}, false, "", other);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "unchanged\n");
        struct stat after {};
        ::stat(m_dir.native("feed.xml").c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(HostProgram, ASaveKeepsTheFilesOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another user";
    }
    for (const auto& args : saves()) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        std::string loose = m_feed;
        loose.insert(loose.find("<channel>"), "\n\n");
        m_dir.write("feed.xml", loose);
        ::chown(m_dir.native("feed.xml").c_str(), kOtherUser, kOtherUser);
        ::chmod(m_dir.native("feed.xml").c_str(), 0640);
        Outcome r = run(m_dir.path(), args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(m_dir.read("feed.xml"), loose);
        struct stat st {};
        ::stat(m_dir.native("feed.xml").c_str(), &st);
        EXPECT_EQ(st.st_uid, kOtherUser);
        EXPECT_EQ(st.st_gid, kOtherUser);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}

TEST_F(HostProgram, SiteUsageErrorsComeBeforeAnySiteIsOpenedOrMade) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--site", ".", "site", "bogus"}, "newsdesk: usage: newsdesk site "},
        {{"--site", ".", "site", "feds"},
         "newsdesk: site: unknown command 'feds'; did you mean feeds? "},
        {{"--site", "new", "site", "init", "--url", "https://a.example/", "--name", ""},
         "newsdesk: usage: newsdesk site "},
        {{"--site", "new", "site", "init", "--url", ""}, "newsdesk: usage: newsdesk site "},
    };
    for (const auto& [args, start] : cases) {
        SCOPED_TRACE(args[3]);
        Outcome r = run(m_dir.path(), args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(oneLine(r.err)) << r.err;
        EXPECT_EQ(r.err.rfind(start, 0), 0u) << r.err;
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(HostProgram, RewriteSaysWhetherItWroteAndQuietSaysNothing) {
    Outcome same = run(m_dir.path(), {"rewrite", "feed.xml"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "unchanged\n");
    std::string loose = m_feed;
    loose.insert(loose.find("<channel>"), "\n\n");
    m_dir.write("feed.xml", loose);
    Outcome changed = run(m_dir.path(), {"rewrite", "feed.xml"});
    EXPECT_EQ(changed.out, "written\n");
    EXPECT_EQ(m_dir.read("feed.xml"), m_feed);
    m_dir.write("feed.xml", loose);
    Outcome quiet = run(m_dir.path(), {"rewrite", "--quiet", "feed.xml"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(m_dir.read("feed.xml"), m_feed);
}

TEST_F(HostProgram, ANameThatIsNotUtf8IsRefusedBeforeAnythingIsTouched) {
    // The name U+FFFD would stand for, if the bytes were replaced on the way.
    m_dir.write("caf\xef\xbf\xbd.xml", "someone else's");
    for (const auto& name : {std::string("caf\xe9.xml"), std::string("new\xe9.xml")}) {
        Outcome r = run(m_dir.path(), {"convert", "feed.xml", "--to", "podcast", "-o", name});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(oneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("\\xe9.xml: the name is not UTF-8"), std::string::npos) << r.err;
    }
    Outcome read = run(m_dir.path(), {"read", "caf\xe9.xml"});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(m_dir.read("caf\xef\xbf\xbd.xml"), "someone else's");
    EXPECT_EQ(m_dir.read("feed.xml"), m_feed);
    EXPECT_EQ(entries(), 3u);
}

TEST_F(HostProgram, InputsThatAreNotRegularFilesAreRefusedWithoutAWait) {
    ASSERT_EQ(::mkfifo(m_dir.native("pipe").c_str(), 0600), 0);
    fs::create_directory(m_dir.native("folder"));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"write", "pipe", "out.xml"}, 1, "newsdesk: pipe: not a regular file\n"},
        {{"write", "/dev/zero", "out.xml"}, 1, "newsdesk: /dev/zero: not a regular file\n"},
        {{"--ui-script", "/dev/zero", "info"},
         2,
         "newsdesk: ui script /dev/zero: not a regular file\n"},
        {{"--ui-script", "pipe", "info"}, 2, "newsdesk: ui script pipe: not a regular file\n"},
        {{"--ui-script", "folder", "info"}, 2, "newsdesk: ui script folder: is a folder\n"},
        {{"--ui-script=", "info"}, 2, "newsdesk: --ui-script needs a file (try --help)\n"},
        {{"read", "pipe"}, 1, "newsdesk: pipe: not a regular file\n"},
        {{"format", "pipe"}, 1, "newsdesk: pipe: not a regular file\n"},
        {{"format", "folder"}, 1, "newsdesk: folder: is a folder\n"},
        {{"format", "missing.xml"}, 1, "newsdesk: missing.xml: no such file\n"},
        {{"rewrite", "pipe"}, 1, "newsdesk: pipe: not a regular file\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        Outcome r = run(m_dir.path(), c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
    }
    // A script over the bound is refused before it is parsed.
    m_dir.write("huge.json", std::string((4 << 20) + 1, ' '));
    EXPECT_EQ(run(m_dir.path(), {"--ui-script", "huge.json", "info"}).err,
              "newsdesk: ui script huge.json: larger than 4 MB\n");
}

TEST_F(HostProgram, ReadPrintsPathsAsGivenAndReadsStandardInput) {
    Outcome r = run(m_dir.path(), {"read", "./feed.xml"});
    EXPECT_NE(r.out.find("\"filePath\": \"./feed.xml\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Z:"), std::string::npos);
    Outcome piped = run(m_dir.path(), {"read", "-"}, false, m_feed);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_NE(piped.out.find("\"title\": \"AT&T <技術>"), std::string::npos) << piped.out;
    Outcome format = run(m_dir.path(), {"format", "-"}, false, m_other);
    EXPECT_EQ(format.out, "2\n");
    Outcome broken = run(m_dir.path(), {"read", "-"}, false, "<rss>");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err.rfind("newsdesk: -: not well-formed XML: ", 0), 0u) << broken.err;
}

TEST_F(HostProgram, AFileThatIsNoFeedGetsTheReasonWhy) {
    auto repeat = [](const std::string& text, int times) {
        std::string all;
        for (int i = 0; i < times; ++i) {
            all += text;
        }
        return all;
    };
    std::string attributes;
    for (int i = 0; i < 300; ++i) {
        attributes += " a" + std::to_string(i) + "=\"x\"";
    }
    std::string entities = "<!ENTITY a \"" + std::string(1000, 'x') + "\">";
    for (char e = 'b'; e < 'g'; ++e) {
        entities += std::string("<!ENTITY ") + e + " \"" +
                    repeat(std::string("&") + static_cast<char>(e - 1) + ";", 10) + "\">";
    }
    struct Case {
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"<rss version=\"2.0\">\n<channel><title>t</channel>",
         "not well-formed XML: Opening and ending tag mismatch: title line 2 and channel at line "
         "2, column 28"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss><title>caf\xe9</title></rss>",
         "not text in the encoding \"UTF-8\" it declares at line 2, column 16"},
        {repeat("<a>", 300) + repeat("</a>", 300), "refused: nesting deeper than 256 levels"},
        {"<rss" + attributes + "/>", "refused: an element with more than 256 attributes"},
        {"<rss><t>" + std::string((10 << 20) + 16, 'x') + "</t></rss>",
         "refused: a text over 10 MB"},
        {"<!DOCTYPE rss [" + entities + "]><rss><t>&f;</t></rss>",
         "refused: entities that expand to more text than the limit"},
    };
    for (const auto& c : cases) {
        m_dir.write("odd.xml", c.bytes);
        Outcome r = run(m_dir.path(), {"read", "odd.xml"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(oneLine(r.err)) << r.err;
        EXPECT_EQ(r.err.rfind("newsdesk: odd.xml: " + c.reason, 0), 0u) << r.err;
    }
}
