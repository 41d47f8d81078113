#include "mfc/CString.h"

#include <gtest/gtest.h>

TEST(CString, CompareNoCaseFoldsFullwidthAndAccentedLetters) {
    EXPECT_EQ(CString(u"ＲＳＳ").CompareNoCase(u"ｒｓｓ"), 0);
    EXPECT_EQ(CString(u"ÉTÉ").CompareNoCase(u"été"), 0);
    EXPECT_EQ(CString(u"Straße").CompareNoCase(u"STRASSE"), 0);  // full folding
    EXPECT_LT(CString(u"a").CompareNoCase(u"B"), 0);
    EXPECT_EQ(CString(u"x").CompareNoCase(nullptr), 1);
}

TEST(CString, CaseMappingMayChangeTheLength) {
    CString s(u"straße");
    s.MakeUpper();
    EXPECT_EQ(s, u"STRASSE");
    s.MakeLower();
    EXPECT_EQ(s, u"strasse");
}

TEST(CString, FormatHandlesTextsNumbersAndWidths) {
    CString s;
    s.Format(u"%s=%d [%5s] [%-4d] %02d:%02d %x %%", CString(u"件数"), -42, u"ab", 7, 3, 9, 255u);
    EXPECT_EQ(s, u"件数=-42 [   ab] [7   ] 03:09 ff %");
    s.Format(u"%I64d %lld %ld", static_cast<long long>(1) << 40, -1LL, 12L);
    EXPECT_EQ(s, u"1099511627776 -1 12");
    s.Format(u"%d %s");  // missing arguments print nothing rather than reading garbage
    EXPECT_EQ(s, u" ");
    s.Format(u"%.2s|%c", u"𠮷x", u'あ');  // precision counts UTF-16 units
    EXPECT_EQ(s, u"𠮷|あ");
}

TEST(CString, ExtractionClampsOutOfRangeArguments) {
    CString s(u"abcdef");
    EXPECT_EQ(s.Mid(4, 100), u"ef");
    EXPECT_EQ(s.Mid(10), u"");
    EXPECT_EQ(s.Mid(-3, 2), u"ab");
    EXPECT_EQ(s.Left(-1), u"");
    EXPECT_EQ(s.Right(100), u"abcdef");
    EXPECT_EQ(s.GetAt(6), u'\0');
    EXPECT_EQ(s.Find(u'a', 6), -1);
    EXPECT_EQ(s.Find(u"", 6), 6);
}

TEST(CString, ReplaceCountsAndDoesNotRescanReplacedText) {
    CString s(u"&amp;&amp;");
    EXPECT_EQ(s.Replace(u"&", u"&amp;"), 2);
    EXPECT_EQ(s, u"&amp;amp;&amp;amp;");
    EXPECT_EQ(s.Replace(u"", u"x"), 0);
    CString t(u"a\\b\\c");
    EXPECT_EQ(t.Replace(u'\\', u'/'), 2);
    EXPECT_EQ(t, u"a/b/c");
}

TEST(CString, TrimRemovesUnicodeSpaceIncludingIdeographic) {
    CString s(u"\u3000 \t題名\r\n ");
    s.Trim();
    EXPECT_EQ(s, u"題名");
    CString t(u"xxaxx");
    t.Trim(u'x');
    EXPECT_EQ(t, u"a");
}

TEST(CString, Utf8EdgesSubstituteIllFormedInput) {
    EXPECT_EQ(CString::fromUtf8("caf\xc3\xa9 \xf0\xa0\xae\xb7"), u"café 𠮷");
    EXPECT_EQ(CString::fromUtf8("a\xff"
                                "b"),
              u"a\uFFFDb");
    // More replacements than characters begun, a sequence cut short, CJK
    // beside ASCII: each text comes out whole.
    EXPECT_EQ(CString::fromUtf8("\xe3\x81\x82\x80\x80\xbfz"), u"あ\uFFFD\uFFFD\uFFFDz");
    EXPECT_EQ(CString::fromUtf8("\xe6\x97\xa5\xf0\xa0"), u"日\uFFFD");
    EXPECT_EQ(CString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac ok"), u"日本 ok");
    EXPECT_EQ(CString(u"𠮷").toUtf8(), "\xf0\xa0\xae\xb7");
}

TEST(CString, BufferAccessCutsAtTheTerminator) {
    CString s;
    char16_t* p = s.GetBuffer(10);
    p[0] = u'o';
    p[1] = u'k';
    p[2] = u'\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 2);
    EXPECT_EQ(s, u"ok");
}
