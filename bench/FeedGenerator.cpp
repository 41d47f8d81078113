#include "FeedGenerator.h"

#include <cstdio>
#include <fstream>

namespace newsdesk::bench {

namespace {

const char* const kTitles[] = {"冬のイルミネーション点灯式のお知らせ",
                               "年末年始のごみ収集について &amp; 注意点", "図書館の臨時休館日",
                               "春の桜まつり &lt;第12回&gt; 開催決定", "防災訓練への参加のお願い"};
const char* const kSentences[] = {
    "駅前広場で点灯式を行います。皆さまのご来場をお待ちしております。",
    "収集日程が変わりますので、カレンダーをご確認ください。",
    "館内設備の点検のため、終日休館いたします。ご不便をおかけします。",
    "屋台や舞台発表など、たくさんの催しを予定しています。"};
const char* const kCategories[] = {"イベント", "くらし", "お知らせ", "防災", "文化"};
const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// An RFC 822 date some minutes before 2026-12-06 16:12:26 +0900.
std::string dateText(std::size_t i) {
    long long t = 1796541146LL - static_cast<long long>(i) * 3607 + 9 * 3600;
    long long days = t / 86400;
    long long secs = t % 86400;
    // Civil date from days since 1970 (Hinnant).
    long long z = days + 719468;
    long long era = z / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    long long y = yoe + era * 400 + (m <= 2);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02lld %s %04lld %02lld:%02lld:%02lld +0900",
                  kDays[(days + 4) % 7], d, kMonths[m - 1], y, secs / 3600, secs / 60 % 60,
                  secs % 60);
    return buf;
}

}  // namespace

void writeFeed(std::ostream& out, FeedKind kind, std::size_t itemCount) {
    const bool podcast = kind == FeedKind::Podcast;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"";
    if (podcast) {
        out << " xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\"";
    }
    out << ">\n<channel>\n<title>さくら町 お知らせ &amp; イベント</title>\n"
           "<link>https://sakura-town.example/</link>\n"
           "<description>さくら町の最新のお知らせとイベント情報です。</description>\n"
           "<language>ja</language>\n<copyright>Copyright 2026 Sakura Town</copyright>\n"
           "<pubDate>Sun, 06 Dec 2026 16:12:26 +0900</pubDate>\n<ttl>60</ttl>\n";
    if (podcast) {
        out << "<itunes:image href=\"https://sakura-town.example/art.jpg\"/>\n"
               "<itunes:summary>町の話題を毎週お届けします。</itunes:summary>\n"
               "<itunes:author>さくら町 広報課</itunes:author>\n"
               "<itunes:subtitle>町のラジオ</itunes:subtitle>\n"
               "<itunes:owner><itunes:name>広報課</itunes:name>"
               "<itunes:email>radio@sakura-town.example</itunes:email></itunes:owner>\n"
               "<itunes:category text=\"News\"><itunes:category text=\"Daily News\"/>"
               "</itunes:category>\n<itunes:category text=\"Society &amp; Culture\"/>\n";
    } else {
        out << "<category>地域</category>\n<category>行政</category>\n"
               "<image><url>https://sakura-town.example/logo.png</url><title>さくら町</title>"
               "<link>https://sakura-town.example/</link></image>\n";
    }
    for (std::size_t i = 0; i < itemCount; ++i) {
        out << "<item>\n<title>" << kTitles[i % 5] << " (" << i << ")</title>\n";
        if (!podcast) {
            out << "<link>https://sakura-town.example/news/" << i << ".html</link>\n";
        }
        out << "<description>" << kSentences[i % 4] << "</description>\n";
        if (podcast) {
            out << "<itunes:summary>" << kSentences[(i + 2) % 4] << "</itunes:summary>\n"
                << "<itunes:author>語り手" << i % 7 << "</itunes:author>\n"
                << "<itunes:subtitle>第" << i << "回</itunes:subtitle>\n"
                << "<itunes:duration>" << i % 3 << ":" << (10 + i % 50) << ":" << (10 + i % 49)
                << "</itunes:duration>\n"
                << "<itunes:keywords>町, ラジオ, " << kCategories[i % 5] << "</itunes:keywords>\n";
        } else {
            out << "<author>info@sakura-town.example (A &amp; B)</author>\n"
                << "<category>" << kCategories[i % 5] << "</category>\n<category>"
                << kCategories[(i + 2) % 5] << "</category>\n";
        }
        out << "<comments>https://sakura-town.example/news/" << i << ".html#c</comments>\n"
            << "<pubDate>" << dateText(i) << "</pubDate>\n"
            << "<enclosure url=\"https://sakura-town.example/media/" << i
            << (podcast ? ".mp3\" type=\"audio/mpeg\"" : ".pdf\" type=\"application/pdf\"")
            << " length=\"" << 100000 + i * 37 << "\"/>\n</item>\n";
    }
    out << "</channel>\n</rss>\n";
}

bool writeFeedFile(const std::string& path, FeedKind kind, std::size_t itemCount) {
    std::ofstream out(path, std::ios::binary);
    if (!out) {
        return false;
    }
    writeFeed(out, kind, itemCount);
    out.close();
    return bool(out);
}

}  // namespace newsdesk::bench
