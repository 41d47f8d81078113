// The item dialog on its own: defaults, required fields, dates and
// durations, and the media file with its type, length and duration.
#include "EditorTesting.h"
#include "TempDir.h"
#include "TzGuard.h"
#include "editor/CLumRssItemConfigDlg.h"
#include "hostapp/app/CLumFileService.h"
#include "hostapp/app/COptionEngineer.h"
#include "hostapp/urls/UrlUtil.h"
#include "res/ResourceIds.h"
#include "win32/SysTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

using edtest::UiStep;

namespace {

// A mono 8-bit PCM WAV file of the given length at 8000 samples a second.
std::string wavOf(double seconds) {
    auto samples = static_cast<std::uint32_t>(seconds * 8000 + 0.5);
    std::string b;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    auto u16 = [&](std::uint16_t v) {
        b.push_back(static_cast<char>(v & 0xFF));
        b.push_back(static_cast<char>(v >> 8));
    };
    b += "RIFF";
    u32(36 + samples);
    b += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    b += "data";
    u32(samples);
    b.append(samples, static_cast<char>(0x80));
    return b;
}

std::u16string pickerTime(HWND h, int id) {
    SYSTEMTIME st{};
    SendMessageW(edtest::control(h, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    char16_t buf[16];
    std::u16string out;
    for (WORD v : {st.wHour, st.wMinute, st.wSecond}) {
        buf[0] = static_cast<char16_t>(u'0' + v / 10);
        buf[1] = static_cast<char16_t>(u'0' + v % 10);
        out.append(buf, 2);
        out += u':';
    }
    out.pop_back();
    return out;
}

// Runs the dialog with the steps and saves it into a fresh item after OK.
CRSSItem run(CLumRssItemConfigDlg& dlg, std::vector<UiStep> steps, ndtest::TestUiDriver& ui) {
    ui.expectDialog(IDD_RSS_ITEM_CONFIG, std::move(steps));
    CRSSItem item;
    if (dlg.DoModal() == IDOK) {
        dlg.saveToItem(item);
    }
    return item;
}

}  // namespace

TEST(ItemDialog, ANewItemStartsNowWithNoDurationAndRequiredFieldsFollowTheFormat) {
    ndtest::TestUiDriver ui;
    ui.answer(IDS_RSS_ITUNES_ITEM_REQUIRED, IDOK);
    CLumRssItemConfigDlg dlg(nullptr, 2);
    std::int64_t before = CTime::GetCurrentTime().GetTime();
    CRSSItem item = run(dlg,
                        {UiStep::run([](HWND h) {
                             EXPECT_EQ(pickerTime(h, IDC_RSS_ITEM_DURATION), u"00:00:00");
                             EXPECT_FALSE(edtest::checked(h, IDC_RSS_ITEM_PRIVATE));
                             EXPECT_TRUE(edtest::listBoxRows(h, IDC_RSS_ITEM_CATEGORIES).empty());
                             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ITEM_CATEGORIES));
                             EXPECT_TRUE(edtest::enabled(h, IDC_RSS_ITEM_BROWSE_MEDIA));
                         }),
                         UiStep::type(IDC_RSS_ITEM_TITLE, u"Episode"), UiStep::click(IDOK),
                         UiStep::run([](HWND h) { EXPECT_TRUE(IsWindow(h)) << "stays open"; }),
                         UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"About it"), UiStep::click(IDOK)},
                        ui);
    ASSERT_EQ(ui.messageBoxesShown().size(), 1u);
    EXPECT_EQ(ui.messageBoxesShown()[0].stringId, static_cast<UINT>(IDS_RSS_ITUNES_ITEM_REQUIRED));
    EXPECT_EQ(item.m_title, u"Episode");
    EXPECT_EQ(item.m_link, u"") << "a podcast item needs no related URL";
    EXPECT_GE(item.m_pubDate, before - 1);
    EXPECT_LE(item.m_pubDate, CTime::GetCurrentTime().GetTime());
    EXPECT_EQ(item.m_duration, 0);
}

TEST(ItemDialog, RssItemsOfEitherFormatNeedTheirRelatedUrl) {
    for (int format : {0, 1}) {
        SCOPED_TRACE(format == 0 ? "RSS 1.0" : "RSS 2.0");
        ndtest::TestUiDriver ui;
        ui.answer(IDS_RSS_ITEM_REQUIRED, IDOK);
        CLumRssItemConfigDlg dlg(nullptr, format);
        CRSSItem item =
            run(dlg,
                {UiStep::type(IDC_RSS_ITEM_TITLE, u"T"),
                 UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"D"), UiStep::click(IDOK),
                 UiStep::run([](HWND h) { EXPECT_TRUE(IsWindow(h)) << "stays open"; }),
                 UiStep::type(IDC_RSS_ITEM_LINK, u"https://a.example/"), UiStep::click(IDOK)},
                ui);
        EXPECT_EQ(ui.messageBoxesShown().size(), 1u);
        EXPECT_EQ(item.m_link, u"https://a.example/");
    }
}

TEST(ItemDialog, DurationsDropWholeDaysAndDateZeroComesBackAsZero) {
    TzGuard tz("America/New_York");
    CRSSItem stored;
    stored.m_title = u"T";
    stored.m_description = u"D";
    stored.m_duration = 86400 + 3661;
    stored.m_pubDate = 0;
    ndtest::TestUiDriver ui;
    CLumRssItemConfigDlg dlg(nullptr, 2);
    dlg.loadFromItem(stored);
    CRSSItem item = run(dlg,
                        {UiStep::run([](HWND h) {
                             EXPECT_EQ(pickerTime(h, IDC_RSS_ITEM_DURATION), u"01:01:01");
                             EXPECT_EQ(pickerTime(h, IDC_RSS_ITEM_TIME), u"19:00:00");
                         }),
                         UiStep::click(IDOK)},
                        ui);
    EXPECT_EQ(item.m_duration, 3661);
    EXPECT_EQ(item.m_pubDate, 0);
}

TEST(ItemDialog, ADateLeftAsItWasKeepsTheTextOfADateNoReaderCouldParse) {
    TzGuard tz("Asia/Tokyo");
    CRSSItem stored;
    stored.m_pubDateText = u"2024年1月15日";
    CLumRssItemConfigDlg dlg(nullptr, 1);
    dlg.loadFromItem(stored);
    dlg.saveToItem(stored);
    EXPECT_EQ(stored.m_pubDate, 0);
    EXPECT_EQ(stored.getModifiedTimeStr(), u"2024年1月15日");
    // Another date is a change: the text goes.
    CRSSItem dated;
    dated.m_pubDate = 1705307400;
    dlg.loadFromItem(dated);
    dlg.saveToItem(stored);
    EXPECT_EQ(stored.m_pubDate, 1705307400);
    EXPECT_TRUE(stored.m_pubDateText.IsEmpty());
}

TEST(ItemDialog, MediaDurationsRoundUpToTheWholeSecond) {
    TempDir dir;
    dir.write("short.wav", wavOf(59.2));
    dir.write("minute.wav", wavOf(60.0));
    CLumRssItemConfigDlg dlg(nullptr, 2);
    CRSSItem item;
    dlg.readMediaDuration(CString(dir.windows("short.wav")));
    dlg.saveToItem(item);
    EXPECT_EQ(item.m_duration, 60);
    dlg.readMediaDuration(CString(dir.windows("minute.wav")));
    dlg.saveToItem(item);
    EXPECT_EQ(item.m_duration, 60);
    // An unreadable file leaves the duration as it was.
    dir.write("noise.mp3", "not audio at all");
    dlg.readMediaDuration(CString(dir.windows("noise.mp3")));
    dlg.saveToItem(item);
    EXPECT_EQ(item.m_duration, 60);
}

TEST(ItemDialog, ANonPodcastFileIsQuestionedAndNoReopensTheSelection) {
    TempDir dir;
    dir.write("talk.wav", wavOf(2.5));
    COptionEngineer::getInstance()->setFlags(0);
    CLumFileService files;
    ndtest::TestUiDriver ui;
    ui.choosePath(dir.windows("talk.wav"));
    ui.answer(IDS_RSS_NOT_PODCAST_FILE, IDNO);
    ui.choosePath(dir.windows("talk.wav"));
    ui.answer(IDS_RSS_NOT_PODCAST_FILE, IDYES);
    CLumRssItemConfigDlg dlg(&files, 2);
    CRSSItem item =
        run(dlg,
            {UiStep::type(IDC_RSS_ITEM_TITLE, u"T"), UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"D"),
             UiStep::click(IDC_RSS_ITEM_BROWSE_MEDIA), UiStep::click(IDOK)},
            ui);
    ASSERT_EQ(ui.choosersShown().size(), 2u);
    EXPECT_EQ(ui.choosersShown()[0].fileKind, 24);
    EXPECT_EQ(ui.messageBoxesShown()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(item.m_enclosureUrl, cat_file_colon(CString(dir.windows("talk.wav"))));
    EXPECT_EQ(item.m_enclosureType, u"audio/x-wav");
    EXPECT_EQ(item.m_enclosureLength, 44 + 20000);
    EXPECT_EQ(item.m_duration, 3);
    COptionEngineer::getInstance()->setFlags(COptionEngineer::kDefaultFlags);
}

TEST(ItemDialog, AnUpperCaseMovAsksNothingAndUnreadableFilesKeepTheDuration) {
    TempDir dir;
    dir.write("noise.mp3", "not audio at all");
    CLumFileService files;
    ndtest::TestUiDriver ui;
    ui.choosePath(dir.windows("GONE.MOV"));
    ui.choosePath(dir.windows("noise.mp3"));
    CLumRssItemConfigDlg dlg(&files, 2);
    CRSSItem stored;
    stored.m_duration = 42;
    stored.m_enclosureLength = 99;
    dlg.loadFromItem(stored);
    std::vector<CRSSItem> seen(2);
    auto browse = [&](size_t n) {
        return UiStep::run([&, n](HWND h) {
            SendMessageW(edtest::control(h, IDC_RSS_ITEM_BROWSE_MEDIA), BM_CLICK, 0, 0);
            dlg.saveToItem(seen[n]);
        });
    };
    run(dlg, {browse(0), browse(1), UiStep::click(IDCANCEL)}, ui);
    EXPECT_TRUE(ui.messageBoxesShown().empty()) << "a podcast extension asks nothing";
    // A file that vanished after it was chosen has no length to give.
    EXPECT_EQ(seen[0].m_enclosureType, u"video/quicktime");
    EXPECT_EQ(seen[0].m_enclosureLength, 0);
    EXPECT_EQ(seen[0].m_duration, 42);
    // A file TagLib cannot read still has its size.
    EXPECT_EQ(seen[1].m_enclosureType, u"audio/mpeg");
    EXPECT_EQ(seen[1].m_enclosureLength, 16);
    EXPECT_EQ(seen[1].m_duration, 42);
}

TEST(ItemDialog, Rss10HasNoMediaFileAndRss20KeepsItemCategories) {
    ndtest::TestUiDriver ui;
    CLumRssItemConfigDlg rss1(nullptr, 0);
    run(rss1,
        {UiStep::run([](HWND h) {
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ITEM_BROWSE_MEDIA));
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ITEM_MEDIA_FILE));
             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ADD));
             EXPECT_TRUE(edtest::enabled(h, IDC_RSS_ITEM_LINK));
         }),
         UiStep::click(IDCANCEL)},
        ui);

    CRSSItem stored;
    stored.m_categories = {edtest::category(u"b"), edtest::category(u"a"), edtest::category(u"c")};
    CLumRssItemConfigDlg rss2(nullptr, 1);
    rss2.loadFromItem(stored);
    ui.expectDialog(IDD_RSS_CATEGORY,
                    {UiStep::type(IDC_RSS_CATEGORY_NAME, u"d"), UiStep::click(IDOK)});
    CRSSItem item = run(rss2,
                        {UiStep::select(IDC_RSS_ITEM_CATEGORIES, {0, 2}),
                         UiStep::click(IDC_RSS_ITEM_DELETE_CATEGORY), UiStep::run([](HWND h) {
                             EXPECT_FALSE(edtest::enabled(h, IDC_RSS_ITEM_DELETE_CATEGORY));
                         }),
                         UiStep::click(IDC_RSS_ADD), UiStep::type(IDC_RSS_ITEM_TITLE, u"T"),
                         UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"D"),
                         UiStep::type(IDC_RSS_ITEM_LINK, u"L"), UiStep::click(IDOK)},
                        ui);
    ASSERT_EQ(item.m_categories.size(), 2u);
    EXPECT_EQ(item.m_categories[0].m_category, u"b");
    EXPECT_EQ(item.m_categories[1].m_category, u"d");
}

TEST(ItemDialog, AConvertedFileTakesThePlaceOfTheChosenOne) {
    TempDir dir;
    dir.write("talk.wav", wavOf(2.5));
    COptionEngineer::getInstance()->setFlags(COptionEngineer::kDefaultFlags);
    CLumFileService files;
    ndtest::TestUiDriver ui;
    ui.choosePath(dir.windows("talk.wav"));
    ui.answer(IDS_RSS_NOT_PODCAST_FILE, IDYES);
    ui.answer(IDS_RSS_CONFIRM_CONVERT, IDYES);
    CLumRssItemConfigDlg dlg(&files, 2);
    CRSSItem item =
        run(dlg,
            {UiStep::type(IDC_RSS_ITEM_TITLE, u"T"), UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"D"),
             UiStep::click(IDC_RSS_ITEM_BROWSE_MEDIA), UiStep::click(IDOK)},
            ui);
    ASSERT_TRUE(std::filesystem::exists(dir.native("talk.mp3")));
    EXPECT_EQ(item.m_enclosureUrl, cat_file_colon(CString(dir.windows("talk.mp3"))));
    EXPECT_EQ(item.m_enclosureType, u"audio/mpeg");
    EXPECT_EQ(item.m_enclosureLength,
              static_cast<std::int64_t>(std::filesystem::file_size(dir.native("talk.mp3"))));
    EXPECT_EQ(item.m_duration, 3) << "the converter's whole seconds, rounded up";
}

TEST(ItemDialog, ADeclinedOrFailedConversionKeepsTheMediaFileAsItWas) {
    TempDir dir;
    dir.write("talk.wav", wavOf(2.5));
    dir.write("broken.wav", "RIFF but nothing more");
    COptionEngineer::getInstance()->setFlags(COptionEngineer::kDefaultFlags);
    CLumFileService files;
    CRSSItem stored;
    stored.m_title = u"T";
    stored.m_description = u"D";
    stored.m_enclosureUrl = u"https://a.example/old.mp3";
    stored.m_enclosureType = u"audio/mpeg";
    stored.m_enclosureLength = 7;
    stored.m_duration = 9;
    ndtest::TestUiDriver ui;
    ui.choosePath(dir.windows("talk.wav"));
    ui.answer(IDS_RSS_NOT_PODCAST_FILE, IDYES);
    ui.answer(IDS_RSS_CONFIRM_CONVERT, IDNO);
    ui.choosePath(dir.windows("broken.wav"));
    ui.answer(IDS_RSS_NOT_PODCAST_FILE, IDYES);
    ui.answer(IDS_RSS_CONFIRM_CONVERT, IDYES);
    ui.answer(IDS_RSS_CONVERT_FAILED, IDOK);
    CLumRssItemConfigDlg dlg(&files, 2);
    dlg.loadFromItem(stored);
    CRSSItem item = run(dlg,
                        {UiStep::click(IDC_RSS_ITEM_BROWSE_MEDIA),
                         UiStep::click(IDC_RSS_ITEM_BROWSE_MEDIA), UiStep::click(IDOK)},
                        ui);
    EXPECT_EQ(ui.messageBoxesShown().back().style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(item.m_enclosureUrl, stored.m_enclosureUrl);
    EXPECT_EQ(item.m_enclosureLength, 7);
    EXPECT_EQ(item.m_duration, 9);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"broken.wav", "talk.wav"}))
        << "nothing left behind";
}

TEST(ItemDialog, AFileOver2GiBChosenWithBrowseKeepsItsWholeLength) {
    if constexpr (sizeof(CRSSItem::m_enclosureLength) < 8) {
        GTEST_SKIP() << "the record holds no length this large";
    }
    TempDir dir;
    dir.write("film.mov", "");
    // Sparse: the length without the disk space.
    std::filesystem::resize_file(dir.native("film.mov"), 3ULL << 30);
    CLumFileService files;
    ndtest::TestUiDriver ui;
    ui.choosePath(dir.windows("film.mov"));
    CLumRssItemConfigDlg dlg(&files, 2);
    CRSSItem item =
        run(dlg,
            {UiStep::type(IDC_RSS_ITEM_TITLE, u"T"), UiStep::type(IDC_RSS_ITEM_DESCRIPTION, u"D"),
             UiStep::click(IDC_RSS_ITEM_BROWSE_MEDIA), UiStep::click(IDOK)},
            ui);
    EXPECT_EQ(item.m_enclosureLength, 3221225472);
}

TEST(ItemDialog, LengthsOver2GiBAndDatesAfter2038KeepWhatTheRecordCanHold) {
    TzGuard tz("UTC");
    CLumRssItemConfigDlg dlg(nullptr, 2);
    dlg.m_nLength = 3LL << 30;
    dlg.m_date = CTime(2040, 1, 2, 0, 0, 0);
    dlg.m_time = CTime(2040, 1, 2, 3, 4, 5);
    CRSSItem item;
    dlg.saveToItem(item);
    const std::int64_t when = 2209086245;  // 2040-01-02 03:04:05 UTC
    if constexpr (sizeof(item.m_enclosureLength) == 8) {
        EXPECT_EQ(item.m_enclosureLength, 3LL << 30);
        EXPECT_EQ(item.m_pubDate, when);
    } else {
        // A 32-bit record keeps the largest length it can, never a wrapped one,
        // and marks a date it cannot hold with -1.
        EXPECT_EQ(item.m_enclosureLength, 0x7FFFFFFF);
        EXPECT_EQ(item.m_pubDate, -1);
    }
}
