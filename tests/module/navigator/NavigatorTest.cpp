#include "NavigatorTesting.h"
#include "art/HostArt.h"
#include "host/CLumInstance.h"
#include "host/Entries.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/ui/CLumBegiBtnBG.h"
#include "hostapp/ui/CLumBegiUtil.h"
#include "hostapp/ui/HostArtIds.h"
#include "navigator/CLumRssBeginaviPage.h"
#include "res/CompiledResources.h"
#include "res/ResourceIds.h"
#include "support/TestUiDriver.h"
#include "win32/Gdi.h"
#include "win32/HtmlHelp.h"
#include "win32/Loader.h"
#include "win32/MessageLoop.h"
#include "win32/Resources.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

using nd::win32::UiCheck;
using nd::win32::UiStep;

namespace {

constexpr int kNavigator = 11910;
constexpr int kNew = 32187;
constexpr int kOpen = 32188;
constexpr int kLinkHelp = 32189;
constexpr int kPodcastHelp = 32190;
constexpr int kText = 32194;
constexpr int kFrame = 32184;

const char16_t kHint[] =
    u"ダイアログのいずれかのボタンの上にマウスを置いてください。それぞれの説明が表示されます。";
const char16_t kAboutNew[] = u"RSS ファイルを新規作成します。";
const char16_t kAboutOpen[] = u"RSS ファイルを開いて編集します。";
const char16_t kAboutLink[] = u"RSS リンクの挿入についてのヘルプを表示します。";
const char16_t kAboutPodcast[] =
    u"ポッドキャスト用の RSS ファイルを作成についてのヘルプを表示します。";

UiStep textIs(const char16_t* text) {
    return UiStep::expect(kText, UiCheck::textIs(text));
}

// A point inside the frame but on none of its buttons.
UiStep toEmptyFrameArea() {
    return UiStep::run([](HWND h) {
        RECT frame;
        GetWindowRect(GetDlgItem(h, kFrame), &frame);
        POINT p{frame.right - 4, frame.bottom - 4};
        ScreenToClient(h, &p);
        nd::win32::userMoveMouse(h, p);
    });
}

class Navigator : public ::testing::Test {
  protected:
    void SetUp() override {
        // The cursor starts far from any window, and the clock past the
        // first 10 ms in which mouse moves are not looked at.
        SetCursorPos(-5000, -5000);
        nd::win32::advanceClock(20);
        nd::win32::clearHtmlHelpRequests();
    }
    bool run() { return newsdesk::RssWelcomeEntry(nullptr, &m_dialog, nullptr); }

    ndtest::TestUiDriver ui;
    CLumRssBeginaviPage* m_dialog = nullptr;
};

TEST_F(Navigator, TheExplanationFollowsTheMouseAfterItRests) {
    ui.expectDialog(kNavigator,
                    {textIs(kHint), UiStep::hover(kOpen), UiStep::advance(99), textIs(kHint),
                     UiStep::advance(1), textIs(kAboutOpen), toEmptyFrameArea(),
                     UiStep::advance(100), textIs(kHint), UiStep::hover(kNew), UiStep::advance(100),
                     textIs(kAboutNew), UiStep::hover(kLinkHelp), UiStep::advance(100),
                     textIs(kAboutLink), UiStep::hover(kPodcastHelp), UiStep::advance(100),
                     textIs(kAboutPodcast), UiStep::escape()});
    EXPECT_FALSE(run());
}

TEST_F(Navigator, MovingAcrossTwoButtonsQuicklyShowsOnlyTheSecond) {
    ui.expectDialog(kNavigator, {UiStep::hover(kNew), UiStep::advance(50), UiStep::hover(kOpen),
                                 UiStep::advance(60), textIs(kHint), UiStep::advance(40),
                                 textIs(kAboutOpen), UiStep::escape()});
    run();
}

TEST_F(Navigator, MovesCloserThanTenMillisecondsApartAreNotLookedAt) {
    ui.expectDialog(kNavigator, {UiStep::hover(kNew), UiStep::advance(5), UiStep::hover(kOpen),
                                 UiStep::advance(100), textIs(kAboutNew),
                                 // The periodic look at the cursor puts it right.
                                 UiStep::advance(500), textIs(kAboutOpen), UiStep::escape()});
    run();
}

TEST_F(Navigator, ACursorThatLeftWithoutAMoveIsCaughtByThePeriodicLook) {
    ui.expectDialog(kNavigator, {UiStep::hover(kOpen), UiStep::advance(100), textIs(kAboutOpen),
                                 // The cursor leaves the dialog; no move reaches it.
                                 UiStep::run([](HWND) { SetCursorPos(-5000, -5000); }),
                                 UiStep::advance(600), textIs(kHint), UiStep::escape()});
    run();
}

// The background a navigator button of this size gets for a host picture
// and face colour, as the host draws it.
COLORREF expectedCentre(UINT bitmapId, int colorIndex, int width, int height) {
    CLumBegiBtnBG bg;
    EXPECT_TRUE(bg.create(bitmapId, CLumBegiUtil::getColorRaw(colorIndex, 0), 3, -1, -1, -1, TRUE));
    bg.m_clrBack = CLumBegiUtil::getColor(28, 0);
    EXPECT_TRUE(bg.update(width, height, 0));
    return nd::win32::bitmapData(bg.image())->at(width / 2, height / 2);
}

// The centre pixel of the background the button drew last.
COLORREF drawnCentre(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    for (const auto& r : nd::win32::paintRecords(button)) {
        if (r.kind == nd::win32::DrawKind::Bitmap) {
            const auto* data = nd::win32::bitmapData(r.bitmap);
            if (data != nullptr) {
                return data->at(data->width / 2, data->height / 2);
            }
        }
    }
    ADD_FAILURE() << "button " << id << " drew no background";
    return CLR_NONE;
}

TEST_F(Navigator, ButtonsDrawTheirNormalHotAndPressedLooks) {
    navtest::EditRecorder edits;
    RECT r{};
    COLORREF normal = 0;
    COLORREF hot = 0;
    COLORREF pressed = 0;
    auto size = [&](HWND h) {
        GetClientRect(GetDlgItem(h, kNew), &r);
        normal = expectedCentre(IDB_BEGI_BTN_NORMAL, 12, r.right, r.bottom);
        hot = expectedCentre(IDB_BEGI_BTN_HOT, 18, r.right, r.bottom);
        pressed = expectedCentre(IDB_BEGI_BTN_PRESSED, 16, r.right, r.bottom);
    };
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     size(h);
                                     EXPECT_NE(normal, hot);
                                     EXPECT_NE(hot, pressed);
                                     EXPECT_NE(normal, pressed);
                                     EXPECT_EQ(drawnCentre(h, kNew), normal);
                                 }),
                                 UiStep::hover(kNew), UiStep::run([&](HWND h) {
                                     EXPECT_EQ(drawnCentre(h, kNew), hot);
                                     EXPECT_EQ(drawnCentre(h, kOpen), normal);
                                 }),
                                 UiStep::mouseDown(kNew), UiStep::run([&](HWND h) {
                                     EXPECT_EQ(drawnCentre(h, kNew), pressed);
                                     EXPECT_TRUE(edits.calls().empty())
                                         << "a press alone starts nothing";
                                 }),
                                 UiStep::mouseUp(kNew), UiStep::run([&](HWND h) {
                                     EXPECT_EQ(drawnCentre(h, kNew), hot);
                                     EXPECT_EQ(edits.calls().size(), 1u);
                                 }),
                                 UiStep::hover(kOpen), UiStep::run([&](HWND h) {
                                     EXPECT_EQ(drawnCentre(h, kNew), normal)
                                         << "the hover look goes with the mouse";
                                     EXPECT_EQ(drawnCentre(h, kOpen), hot);
                                 }),
                                 UiStep::escape()});
    run();
}

TEST_F(Navigator, LettingGoOutsideTheButtonStartsNothing) {
    navtest::EditRecorder edits;
    ui.expectDialog(kNavigator,
                    {UiStep::mouseDown(kNew), UiStep::mouseUp(kOpen), UiStep::escape()});
    run();
    EXPECT_TRUE(edits.calls().empty());
}

TEST_F(Navigator, NewAndOpenCallTheApplicationsEditFunction) {
    navtest::EditRecorder edits;
    HWND shown = nullptr;
    ui.cancelChooser();
    ui.chooseFile(23, u"Z:\\site\\news.rss");
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) { shown = h; }), UiStep::click(kNew),
                                 UiStep::click(kOpen), UiStep::click(kOpen), UiStep::escape()});
    run();
    ASSERT_EQ(edits.calls().size(), 2u) << "a cancelled chooser opens nothing";
    EXPECT_EQ(edits.calls()[0].parent, shown);
    EXPECT_TRUE(edits.calls()[0].path.IsEmpty());
    EXPECT_TRUE(edits.calls()[0].report);
    EXPECT_TRUE(edits.calls()[0].dialogSlotGiven);
    EXPECT_EQ(std::u16string(edits.calls()[1].path.GetString()), u"Z:\\site\\news.rss");
    EXPECT_EQ(edits.calls()[1].parent, shown);
}

TEST_F(Navigator, WithoutTheEditFunctionNewAndOpenDoNothing) {
    ui.chooseFile(23, u"Z:\\site\\news.rss");
    ui.expectDialog(kNavigator,
                    {UiStep::click(kNew), UiStep::click(kOpen), textIs(kHint), UiStep::escape()});
    EXPECT_FALSE(run());
}

TEST_F(Navigator, HelpButtonsShowTheirTopicThenTheContents) {
    ui.expectDialog(kNavigator,
                    {UiStep::click(kLinkHelp), UiStep::click(kPodcastHelp), UiStep::escape()});
    run();
    const auto& asked = nd::win32::htmlHelpRequests();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].command, HH_DISPLAY_TOPIC);
    EXPECT_EQ(asked[0].topic, u"lumpage/prc/proc_top_dia_insert_rss_link.htm");
    EXPECT_EQ(asked[1].command, HH_DISPLAY_TOC);
    EXPECT_EQ(asked[2].topic, u"lumpage/prc/proc_create_podcast.htm");
    EXPECT_EQ(asked[3].command, HH_DISPLAY_TOC);
    EXPECT_EQ(asked[0].file, asked[2].file);
    EXPECT_FALSE(asked[0].file.empty());
    EXPECT_EQ(asked[0].caller, nullptr);
}

TEST_F(Navigator, F1ShowsNoHelp) {
    ui.expectDialog(kNavigator, {UiStep::press(VK_F1), UiStep::escape()});
    run();
    EXPECT_TRUE(nd::win32::htmlHelpRequests().empty());
}

const std::u16string& instanceName() {
    static const std::u16string name = CLumInstance().makeInstanceName(u"Rss").GetString();
    return name;
}

TEST(Instance, TheNameCarriesTheVersionAndTheFeatureWord) {
    EXPECT_EQ(instanceName(), u"Hoshizora Works Luminea 15 LumRss Editor Mutex");
}

TEST_F(Navigator, TheWindowIsMarkedWhileOpenAndUnmarkedOnClose) {
    HWND shown = nullptr;
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     shown = h;
                                     EXPECT_EQ(GetPropW(h, instanceName().c_str()),
                                               reinterpret_cast<HANDLE>(1));
                                     EXPECT_EQ(m_dialog->GetSafeHwnd(), h);
                                 }),
                                 UiStep::escape()});
    run();
    EXPECT_EQ(m_dialog, nullptr) << "the address is not left behind";
    EXPECT_FALSE(IsWindow(shown));
}

TEST_F(Navigator, EnterEndsWithOkAndUnmarksToo) {
    HANDLE mark = reinterpret_cast<HANDLE>(1);
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                        // Closing goes through OnOK; look just before the end.
                        m_dialog->SendMessage(WM_COMMAND, IDOK, 0);
                        mark = GetPropW(h, instanceName().c_str());
                    })});
    EXPECT_TRUE(run());
    EXPECT_EQ(mark, nullptr);
}

TEST_F(Navigator, ASecondNavigatorWhileOneIsOpenRunsOnItsOwn) {
    CLumRssBeginaviPage* second = nullptr;
    HWND first = nullptr;
    ui.expectDialog(kNavigator,
                    {UiStep::run([&](HWND h) {
                         first = h;
                         EXPECT_FALSE(newsdesk::RssWelcomeEntry(nullptr, &second, nullptr));
                     }),
                     UiStep::run([&](HWND h) {
                         EXPECT_EQ(GetPropW(h, instanceName().c_str()), reinterpret_cast<HANDLE>(1))
                             << "closing the second leaves the first marked";
                     }),
                     UiStep::escape()});
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     EXPECT_NE(h, first);
                                     EXPECT_EQ(second->GetSafeHwnd(), h);
                                     EXPECT_EQ(GetPropW(h, instanceName().c_str()),
                                               reinterpret_cast<HANDLE>(1));
                                 }),
                                 UiStep::hover(kPodcastHelp), UiStep::advance(100),
                                 textIs(kAboutPodcast), UiStep::escape()});
    run();
    EXPECT_EQ(second, nullptr);
}

TEST_F(Navigator, WithoutAnIconTheApplicationsIconIsSet) {
    HICON app = CLumAppEngineer::getInstance()->getAppIcon();
    ASSERT_NE(app, nullptr);
    const auto* pixels = nd::win32::iconBitmap(app);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->width, 32);
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     EXPECT_EQ(SendMessageW(h, WM_GETICON, ICON_BIG, 0),
                                               reinterpret_cast<LRESULT>(app));
                                 }),
                                 UiStep::escape()});
    run();
}

TEST_F(Navigator, AGivenIconIsSetAsTheBigIcon) {
    HICON given = reinterpret_cast<HICON>(CreateBitmap(16, 16, 1, 32, nullptr));
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     EXPECT_EQ(SendMessageW(h, WM_GETICON, ICON_BIG, 0),
                                               reinterpret_cast<LRESULT>(given));
                                 }),
                                 UiStep::escape()});
    newsdesk::RssWelcomeEntry(nullptr, nullptr, given);
    DeleteObject(reinterpret_cast<HGDIOBJ>(given));
}

TEST_F(Navigator, TextsInsideTheFrameSitOnItsFillTheOthersOnTheBackground) {
    ui.expectDialog(kNavigator,
                    {UiStep::run([&](HWND h) {
                         const auto& colors = m_dialog->colors();
                         HDC dc = GetDC(h);
                         auto brushFor = [&](HWND child) {
                             return nd::win32::brushColor(reinterpret_cast<HBRUSH>(
                                 SendMessageW(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(child))));
                         };
                         HWND prompt = nullptr;
                         for (HWND c = GetTopWindow(h); c; c = GetWindow(c, GW_HWNDNEXT)) {
                             if (nd::win32::windowText(c) == u"該当する項目を選択してください。") {
                                 prompt = c;
                             }
                         }
                         ASSERT_NE(prompt, nullptr);
                         EXPECT_EQ(brushFor(prompt), colors.m_frameFill);
                         EXPECT_EQ(brushFor(GetDlgItem(h, kText)), colors.m_background);
                         EXPECT_EQ(GetTextColor(dc), colors.m_text);
                         ReleaseDC(h, dc);
                         EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, kFrame)))
                             << "the frame is painted instead";
                     }),
                     UiStep::run([&](HWND h) {
                         InvalidateRect(h, nullptr, TRUE);
                         UpdateWindow(h);
                         bool rounded = false;
                         for (const auto& r : nd::win32::paintRecords(h)) {
                             if (r.kind == nd::win32::DrawKind::RoundRect) {
                                 rounded = true;
                                 EXPECT_EQ(r.cornerWidth, 6);
                                 EXPECT_EQ(r.brushColor, m_dialog->colors().m_frameFill);
                                 EXPECT_EQ(r.penColor, m_dialog->colors().m_frameLine);
                             }
                         }
                         EXPECT_TRUE(rounded);
                     }),
                     UiStep::escape()});
    run();
}

TEST_F(Navigator, TimersStopWithTheDialog) {
    HWND shown = nullptr;
    ui.expectDialog(kNavigator, {UiStep::run([&](HWND h) {
                                     shown = h;
                                     EXPECT_TRUE(nd::win32::hasTimer(h, 3407));
                                 }),
                                 UiStep::hover(kNew), UiStep::run([&](HWND h) {
                                     EXPECT_TRUE(nd::win32::hasTimer(h, 3406));
                                 }),
                                 UiStep::advance(100), UiStep::run([&](HWND h) {
                                     EXPECT_FALSE(nd::win32::hasTimer(h, 3406)) << "single shot";
                                 }),
                                 UiStep::escape()});
    run();
    EXPECT_FALSE(nd::win32::hasTimer(shown, 3407));
}

}  // namespace

namespace {

TEST(HostArt, ThePicturesStayWhenTheProgramRegistersItsOwnResourceFile) {
    HMODULE program = GetModuleHandleW(nullptr);
    // Any resource file stands in for the one the program registers.
    auto other = newsdesk::res::compiledResources();
    ASSERT_TRUE(nd::win32::registerModuleResources(program, other.data(), other.size()));
    HICON icon = LoadIconW(program, MAKEINTRESOURCEW(IDI_LUM_APP));
    EXPECT_NE(icon, nullptr);
    EXPECT_NE(LoadBitmapW(program, MAKEINTRESOURCEW(IDB_BEGI_BTN_HOT)), nullptr);
    WCHAR text[8];
    EXPECT_GT(LoadStringW(program, IDS_RSS_NAVI_HINT, text, 8), 0) << "both files are searched";
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    nd::win32::unregisterModuleResources(program);
    EXPECT_EQ(LoadIconW(program, MAKEINTRESOURCEW(IDI_LUM_APP)), nullptr);
    ASSERT_TRUE(newsdesk::app::registerHostArt());
    ASSERT_TRUE(newsdesk::app::registerHostArt()) << "adding the same pictures again is harmless";
    EXPECT_EQ(LoadIconW(program, MAKEINTRESOURCEW(IDB_BEGI_BTN_HOT)), nullptr)
        << "a bitmap is no icon";
}

TEST_F(Navigator, AMarkedButtonDrawsItsMarkedLookOverAnyOther) {
    ui.expectDialog(kNavigator,
                    {UiStep::hover(kOpen), UiStep::run([&](HWND h) {
                         RECT r;
                         GetClientRect(GetDlgItem(h, kOpen), &r);
                         m_dialog->button(1)->setMarked(true);
                         UpdateWindow(GetDlgItem(h, kOpen));
                         EXPECT_EQ(drawnCentre(h, kOpen),
                                   expectedCentre(IDB_BEGI_BTN_MARKED, 20, r.right, r.bottom));
                     }),
                     UiStep::escape()});
    run();
}

}  // namespace
