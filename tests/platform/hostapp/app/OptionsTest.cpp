#include "TempDir.h"
#include "hostapp/app/COptionEngineer.h"
#include "hostapp/files/UserSettings.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <cstdlib>

namespace {

std::string settingsIn(const TempDir& dir) {
    return (dir.path() / "newsdesk" / "options.json").string();
}

}  // namespace

TEST(Options, WithoutAFileTheDefaultsHoldAndASaveCreatesTheFolder) {
    TempDir dir;
    COptionEngineer options(settingsIn(dir));
    EXPECT_EQ(options.getFlags(), lum::kOptionPodcastConversion);
    std::string error;
    ASSERT_TRUE(options.storeFlags(lum::kOptionSiteFormInAutoDiscovery, error)) << error;
    COptionEngineer again(settingsIn(dir));
    EXPECT_EQ(again.getFlags(), lum::kOptionSiteFormInAutoDiscovery);
    auto saved = nlohmann::json::parse(dir.read("newsdesk/options.json"));
    EXPECT_EQ(saved["options"]["podcast-conversion"], false);
    EXPECT_EQ(saved["options"]["autodiscovery-site-url"], true);
}

TEST(Options, OtherSectionsAndUnnamedBitsSurviveASave) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "newsdesk");
    dir.write(
        "newsdesk/options.json",
        R"({"placements": {"RssFileListDlg": [1, 2, 3, 4]}, "options": {"other-flags": 16}})");
    COptionEngineer options(settingsIn(dir));
    EXPECT_EQ(options.getFlags(), lum::kOptionPodcastConversion | 16u);
    std::string error;
    ASSERT_TRUE(options.storeFlags(16u | lum::kOptionSiteFormInAutoDiscovery, error)) << error;
    auto saved = nlohmann::json::parse(dir.read("newsdesk/options.json"));
    EXPECT_EQ(saved["placements"]["RssFileListDlg"], nlohmann::json({1, 2, 3, 4}));
    EXPECT_EQ(COptionEngineer(settingsIn(dir)).getFlags(),
              16u | lum::kOptionSiteFormInAutoDiscovery);
}

TEST(Options, ASaveKeepsASectionAnotherRunWroteMeanwhile) {
    TempDir dir;
    COptionEngineer options(settingsIn(dir));
    EXPECT_EQ(options.getFlags(), COptionEngineer::kDefaultFlags);
    std::filesystem::create_directories(dir.path() / "newsdesk");
    dir.write("newsdesk/options.json", R"({"placements": {"RssFileListDlg": [5, 6]}})");
    std::string error;
    ASSERT_TRUE(options.storeFlags(0, error)) << error;
    auto saved = nlohmann::json::parse(dir.read("newsdesk/options.json"));
    EXPECT_EQ(saved["placements"]["RssFileListDlg"], nlohmann::json({5, 6}));
    EXPECT_EQ(saved["options"]["podcast-conversion"], false);
}

TEST(Options, ADamagedFileGivesTheDefaultsOnceAndIsNeverOverwritten) {
    const std::pair<const char*, const char*> damaged[] = {
        {"not json", "{\"options\": "},
        {"not an object", "[1, 2]"},
        {"section of the wrong type", "{\"options\": 5}"},
        {"flag of the wrong type", "{\"options\": {\"podcast-conversion\": \"yes\"}}"},
        {"flag word too wide", "{\"options\": {\"other-flags\": 99999999999}}"},
    };
    for (const auto& [what, bytes] : damaged) {
        SCOPED_TRACE(what);
        TempDir dir;
        std::filesystem::create_directories(dir.path() / "newsdesk");
        dir.write("newsdesk/options.json", bytes);
        COptionEngineer options(settingsIn(dir));
        testing::internal::CaptureStderr();
        EXPECT_EQ(options.getFlags(), COptionEngineer::kDefaultFlags);
        EXPECT_EQ(options.getFlags(), COptionEngineer::kDefaultFlags);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find("options.json"), std::string::npos) << said;
        std::string error;
        EXPECT_FALSE(options.storeFlags(0, error));
        EXPECT_NE(error.find("left as it is"), std::string::npos) << error;
        EXPECT_EQ(dir.read("newsdesk/options.json"), bytes);
    }
}

TEST(Options, AFolderOrFifoInPlaceOfTheFileIsRefusedWithoutBlocking) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "newsdesk" / "options.json");
    COptionEngineer folder(settingsIn(dir));
    testing::internal::CaptureStderr();
    EXPECT_EQ(folder.getFlags(), COptionEngineer::kDefaultFlags);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a regular file"), std::string::npos);

    TempDir other;
    std::filesystem::create_directories(other.path() / "newsdesk");
    ASSERT_EQ(::mkfifo(settingsIn(other).c_str(), 0600), 0);
    COptionEngineer fifo(settingsIn(other));
    testing::internal::CaptureStderr();
    EXPECT_EQ(fifo.getFlags(), COptionEngineer::kDefaultFlags);
    testing::internal::GetCapturedStderr();
    std::string error;
    EXPECT_FALSE(fifo.storeFlags(0, error));
}

TEST(Options, SettingsPathFollowsTheConfigurationFolderOfTheUser) {
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedXdg = oldXdg ? oldXdg : "";
    std::string savedHome = oldHome ? oldHome : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(lum::defaultSettingsPath(), "/tmp/cfg/newsdesk/options.json");
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(lum::defaultSettingsPath(), "/home/ann/.config/newsdesk/options.json");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(lum::defaultSettingsPath(), "");
    std::string error;
    EXPECT_FALSE(lum::UserSettings("").storeSection("options", nlohmann::json::object(), error));
    oldXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    oldHome ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}
