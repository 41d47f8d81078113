#include "EditorTesting.h"

#include "host/DllMain.h"
#include "hostapp/app/COptionEngineer.h"
#include "win32/WinUser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace {

const int kModuleAnchor = 0;

// The module attached once for the whole program, as the application loads
// it; the product folder is the one shipped with the host program, and the
// user's settings live in a folder of the test's own.
class EditorEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ::setenv("NEWSDESK_PRODUCT_FOLDER", NEWSDESK_PRODUCT_DATA, 1);
        m_config = std::filesystem::temp_directory_path() /
                   ("newsdesk-editor-config-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_config);
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        ASSERT_TRUE(newsdesk::DllMain(module(), DLL_PROCESS_ATTACH, nullptr));
    }
    void TearDown() override {
        newsdesk::DllMain(module(), DLL_PROCESS_DETACH, nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_config, ec);
    }

  private:
    static HINSTANCE module() {
        return reinterpret_cast<HINSTANCE>(const_cast<int*>(&kModuleAnchor));
    }
    std::filesystem::path m_config;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EditorEnvironment);

HWND findBelow(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
        if (HWND found = findBelow(child, id)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

namespace edtest {

HWND control(HWND dialog, int id) {
    return findBelow(dialog, id);
}

std::u16string textOf(HWND dialog, int id) {
    HWND h = control(dialog, id);
    int length = GetWindowTextLengthW(h);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(h, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

bool enabled(HWND dialog, int id) {
    HWND h = control(dialog, id);
    return h != nullptr && IsWindowEnabled(h);
}

bool checked(HWND dialog, int id) {
    return SendMessageW(control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::u16string> listBoxRows(HWND dialog, int id) {
    HWND h = control(dialog, id);
    std::vector<std::u16string> rows;
    int count = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::u16string row(
            static_cast<size_t>(SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1,
            u'\0');
        SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row.data()));
        row.resize(row.size() - 1);
        rows.push_back(row);
    }
    return rows;
}

CRSSCategory category(const char16_t* name, const char16_t* sub) {
    CRSSCategory c;
    c.m_category = name;
    c.m_subCategory = sub;
    return c;
}

void fillChannel(CRSSChannel& channel, int format) {
    channel.m_format = format;
    channel.m_title = u"Radio & Notes";
    channel.m_description = u"Weekly <notes>";
    channel.m_link = u"https://ann.example/";
    channel.m_copyright = u"© Ann";
    channel.m_language = u"ja";
    channel.m_author = u"Ann";
    channel.m_image = u"https://ann.example/logo.png";
    if (format == 2) {
        channel.m_subTitle = u"Notes, spoken";
        channel.m_ownerName = u"Ann Owner";
        channel.m_ownerEmail = u"ann@example.org";
        channel.m_block = true;
        channel.m_categories = {category(u"Arts", u"Books"), category(u"Business")};
    } else if (format == 1) {
        channel.m_categories = {category(u"radio"), category(u"notes")};
    }
    CRSSItem item;
    item.m_title = u"First episode";
    item.m_description = u"It starts";
    item.m_pubDate = 1700000000;
    if (format != 2) {
        item.m_link = u"https://ann.example/1.html";
        item.m_author = u"ann@example.org";
    }
    if (format != 0) {
        item.m_enclosureUrl = u"https://ann.example/1.mp3";
        item.m_enclosureType = u"audio/mpeg";
        item.m_enclosureLength = 12345;
        item.m_comments = u"https://ann.example/1/comments";
    }
    if (format == 1) {
        item.m_categories = {category(u"talk")};
    }
    if (format == 2) {
        item.m_subTitle = u"The first";
        item.m_artist = u"Ann";
        item.m_keywords = u"notes, radio";
        item.m_duration = 3725;
        item.m_block = true;
    }
    channel.m_items = {item};
    CRSSItem second = item;
    second.m_title = u"Second episode";
    second.m_pubDate = 1700086400;
    channel.m_items.push_back(second);
}

}  // namespace edtest
